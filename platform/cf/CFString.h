#pragma once
// Platform strings: immutable and mutable texts of UTF-16 code units, created
// from and converted to the platform's text encodings.

#include "cf/CFBase.h"
#include "cf/CFData.h"

typedef const struct __CFDictionary* CFDictionaryRef;

typedef UInt32 CFStringEncoding;

enum : CFStringEncoding {
  kCFStringEncodingMacRoman = 0,
  kCFStringEncodingMacJapanese = 1,
  kCFStringEncodingUnicode = 0x0100,
  kCFStringEncodingISOLatin1 = 0x0201,
  kCFStringEncodingISOLatin2 = 0x0202,
  kCFStringEncodingISOLatin5 = 0x0209,
  kCFStringEncodingWindowsLatin1 = 0x0500,
  kCFStringEncodingWindowsLatin2 = 0x0501,
  kCFStringEncodingASCII = 0x0600,
  kCFStringEncodingShiftJIS = 0x0A01,
  kCFStringEncodingNextStepLatin = 0x0B01,
  kCFStringEncodingNonLossyASCII = 0x0BFF,
  kCFStringEncodingUTF8 = 0x08000100,
  kCFStringEncodingUTF16 = 0x0100,
  kCFStringEncodingUTF16BE = 0x10000100,
  kCFStringEncodingUTF16LE = 0x14000100,
  kCFStringEncodingUTF32 = 0x0c000100,
  kCFStringEncodingUTF32BE = 0x18000100,
  kCFStringEncodingUTF32LE = 0x1c000100,
  kCFStringEncodingMacCentralEurRoman = 29,
  kCFStringEncodingMacTurkish = 35,
  kCFStringEncodingInvalidId = 0xffffffffU,
};

typedef CFOptionFlags CFStringCompareFlags;
enum : CFStringCompareFlags {
  kCFCompareCaseInsensitive = 1,
  kCFCompareBackwards = 4,
  kCFCompareAnchored = 8,
  kCFCompareNonliteral = 16,
  kCFCompareLocalized = 32,
  kCFCompareNumerically = 64,
};

// A constant string that is never freed; the same text gives the same object.
CFStringRef __CFStringMakeConstantString(const char* text);
#define CFSTR(text)                                                            \
  ([]() -> CFStringRef {                                                       \
    static const CFStringRef constant = __CFStringMakeConstantString("" text); \
    return constant;                                                           \
  }())

CFTypeID CFStringGetTypeID();

// Creation. Bytes that are not valid in the encoding give NULL.
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                      CFStringEncoding encoding);
CFStringRef CFStringCreateWithBytes(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
CFStringRef CFStringCreateWithCharacters(CFAllocatorRef allocator, const UniChar* characters,
                                         CFIndex length);
CFStringRef CFStringCreateWithSubstring(CFAllocatorRef allocator, CFStringRef text, CFRange range);
CFStringRef CFStringCreateCopy(CFAllocatorRef allocator, CFStringRef text);
CFStringRef CFStringCreateWithFormat(CFAllocatorRef allocator, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...);
CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef allocator,
                                                 CFDictionaryRef formatOptions, CFStringRef format,
                                                 va_list arguments);
CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef allocator, CFIndex maxLength,
                                             CFStringRef text);

// Access. Lengths and indexes count UTF-16 code units.
CFIndex CFStringGetLength(CFStringRef text);
UniChar CFStringGetCharacterAtIndex(CFStringRef text, CFIndex index);
Boolean CFStringGetCString(CFStringRef text, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
CFIndex CFStringGetBytes(CFStringRef text, CFRange range, CFStringEncoding encoding, UInt8 lossByte,
                         Boolean isExternalRepresentation, UInt8* buffer, CFIndex maxBufferLength,
                         CFIndex* usedBufferLength);
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);
SInt32 CFStringGetIntValue(CFStringRef text);
double CFStringGetDoubleValue(CFStringRef text);

// Comparison and search.
CFComparisonResult CFStringCompare(CFStringRef text1, CFStringRef text2,
                                   CFStringCompareFlags options);
CFComparisonResult CFStringCompareWithOptions(CFStringRef text1, CFStringRef text2,
                                              CFRange rangeToCompare, CFStringCompareFlags options);
CFRange CFStringFind(CFStringRef text, CFStringRef toFind, CFStringCompareFlags options);
Boolean CFStringFindWithOptions(CFStringRef text, CFStringRef toFind, CFRange rangeToSearch,
                                CFStringCompareFlags options, CFRange* result);

// Mutation of mutable strings.
void CFStringAppend(CFMutableStringRef text, CFStringRef appended);

// External representations: the bytes of a text in an encoding, with a
// byte-order mark for the Unicode encodings.
CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef allocator, CFStringRef text,
                                               CFStringEncoding encoding, UInt8 lossByte);
CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef allocator, CFDataRef data,
                                                     CFStringEncoding encoding);

// Encodings.
CFStringEncoding CFStringGetSystemEncoding();
CFStringEncoding CFStringGetMostCompatibleMacStringEncoding(CFStringEncoding encoding);
