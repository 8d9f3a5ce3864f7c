#pragma once
// One property-list file: read once when the object is made, written whole by
// Save. The file may be XML or binary; it is always written as XML.

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

class PropertyListFile {
 public:
  // The file at the absolute form of `url`.
  PropertyListFile(CFURLRef url, Boolean flag, CFOptionFlags mutability);
  // The file `fileName` in the folder `folder`.
  PropertyListFile(CFURLRef folder, CFStringRef fileName, Boolean flag, CFOptionFlags mutability);
  // The file at `path` below the home folder; valid even when nothing could be
  // read, so that the caller starts an empty list that Save then creates.
  PropertyListFile(const char* path, Boolean flag, CFOptionFlags mutability);
  PropertyListFile(const PropertyListFile&) = delete;
  PropertyListFile& operator=(const PropertyListFile&) = delete;
  virtual ~PropertyListFile();

  // Reads the file's bytes and parses them; answers whether the bytes were read
  // (a file that is not a property list is read but leaves no list). The
  // platform's error code of the read is kept as the last error.
  Boolean CreatePropertyListFromFile(CFURLRef url, CFOptionFlags mutability);
  // Writes `list` as XML over the file; -108 as the last error when it cannot
  // be turned into XML, else the platform's error code of the write.
  Boolean Save(CFPropertyListRef list);

  CFURLRef GetURL() const { return mURL.get(); }
  // Null when the file was missing, unreadable or no property list.
  CFPropertyListRef GetPropertyList() const { return mPropertyList.get(); }
  bool IsValid() const { return mValid; }
  SInt32 GetLastError() const { return mLastError; }
  Boolean GetFlag() const { return mFlag; }

 protected:
  // The URL of `path` below the home folder; null when there is no home folder.
  static CFURLRef CreateURLBelowHome(const char* path, Boolean isDirectory);
  // Reads the file when there is a URL; answers whether there was one.
  bool ReadIfLocated(CFOptionFlags mutability);

  CFRef<CFURLRef> mURL;
  CFRef<CFPropertyListRef> mPropertyList;
  bool mValid = false;
  SInt32 mLastError = 0;
  // Kept for the caller; it changes nothing here.
  Boolean mFlag;
};
