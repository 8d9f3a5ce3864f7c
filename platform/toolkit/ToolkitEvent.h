#pragma once
// The object behind EventRef: class, kind, time and typed parameters.

#include <map>
#include <vector>

#include "toolkit/CarbonEvents.h"

struct OpaqueEventRef {
  OpaqueEventRef(UInt32 eventClass, UInt32 kind, EventTime when)
      : mClass(eventClass), mKind(kind), mTime(when) {}

  void Set(EventParamName name, EventParamType type, ByteCount size, const void* data);
  OSStatus Get(EventParamName name, EventParamType desiredType, EventParamType* outActualType,
               ByteCount bufferSize, ByteCount* outActualSize, void* outData) const;
  // A parameter of the exact type and size, or false.
  template <class T>
  bool Read(EventParamName name, EventParamType type, T* out) const {
    ByteCount size = 0;
    return Get(name, type, nullptr, sizeof(T), &size, out) == noErr && size == sizeof(T);
  }

  UInt32 mClass;
  UInt32 mKind;
  EventTime mTime;
  int mRetainCount = 1;
  bool mPosted = false;

 private:
  struct Parameter {
    EventParamType type;
    std::vector<UInt8> bytes;
  };
  std::map<EventParamName, Parameter> mParameters;
};
