#pragma once
// Basic types of the platform's C interfaces, as the system's code names them.

#include <cstdint>

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;

typedef unsigned char Boolean;
typedef int16_t OSErr;
typedef int32_t OSStatus;
typedef long Size;
typedef char* Ptr;
typedef Ptr* Handle;

typedef uint32_t FourCharCode;
typedef FourCharCode OSType;
typedef FourCharCode ResType;

typedef uint16_t UniChar;
typedef uint32_t UniCharCount;
typedef uint32_t ByteCount;
typedef uint32_t ItemCount;
typedef uint32_t TextEncoding;
typedef int16_t ScriptCode;
typedef int16_t LangCode;
typedef int16_t RegionCode;

typedef unsigned char Str255[256];
typedef unsigned char Str63[64];
typedef unsigned char Str31[32];
typedef unsigned char* StringPtr;
typedef const unsigned char* ConstStringPtr;
typedef const unsigned char* ConstStr255Param;
typedef const unsigned char* ConstStr63Param;

enum { noErr = 0 };

// The 32-bit value of a four-character code: the first character is the most
// significant byte, whatever the byte order of the machine.
constexpr FourCharCode FourCC(const char (&code)[5]) {
  return (FourCharCode(static_cast<unsigned char>(code[0])) << 24) |
         (FourCharCode(static_cast<unsigned char>(code[1])) << 16) |
         (FourCharCode(static_cast<unsigned char>(code[2])) << 8) |
         FourCharCode(static_cast<unsigned char>(code[3]));
}
