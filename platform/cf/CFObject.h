#pragma once
// The header common to every platform object: its type and its reference count.
// The system uses its objects from one thread, so the count is a plain integer.
// Objects made by the constant makers (CFSTR, booleans, constant UUIDs) are
// never freed, whatever their callers retain or release.

#include <cstdint>
#include <string>

#include "cf/CFBase.h"

enum : CFTypeID {
  kCFObjectTypeString = 7,
  kCFObjectTypeDictionary = 18,
  kCFObjectTypeArray = 19,
  kCFObjectTypeData = 20,
  kCFObjectTypeBoolean = 21,
  kCFObjectTypeNumber = 22,
  kCFObjectTypeURL = 29,
  kCFObjectTypeBundle = 31,
  kCFObjectTypeUUID = 34,
  kCFObjectTypeMessagePort = 37,
  kCFObjectTypeRunLoop = 43,
  kCFObjectTypeRunLoopSource = 44,
  kCFObjectTypeNetService = 61,
  kCFObjectTypeNetServiceBrowser = 62,
  kCFObjectTypeDataProvider = 70,
  kCFObjectTypeImage = 71,
};

class CFObject {
 public:
  explicit constexpr CFObject(CFTypeID typeID, bool constant = false)
      : typeID_(static_cast<uint32_t>(typeID)), constant_(constant) {}
  virtual ~CFObject() = default;
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;

  CFTypeID typeID() const { return typeID_; }
  void retain() const;
  // Drops one reference; true when that was the last one and the object must go.
  bool release() const;
  void makeConstant() { constant_ = true; }

  // Called only with an object of the same type id.
  virtual bool equals(const CFObject& other) const = 0;
  virtual CFHashCode hash() const = 0;
  // The text that descriptions and "%@" show.
  virtual std::u16string description() const = 0;

  static const CFObject* from(CFTypeRef object) { return static_cast<const CFObject*>(object); }

 private:
  // Every document holds thousands of small objects: the header packs into 16 bytes
  // after the table pointer.
  mutable CFIndex retainCount_ = 1;
  uint32_t typeID_;
  bool constant_ = false;
};

// Hash of a run of bytes or code units (FNV-1a), shared by the value types.
CFHashCode CFObjectHashBytes(const void* bytes, size_t length);
