#pragma once
// Platform URLs: file URLs built from and turned into POSIX paths, and reading
// and writing the data of a file URL.

#include "cf/CFBase.h"
#include "cf/CFData.h"
#include "cf/CFString.h"

typedef const struct __CFURL* CFURLRef;
typedef const struct __CFArray* CFArrayRef;

typedef CFIndex CFURLPathStyle;
enum : CFURLPathStyle {
  kCFURLPOSIXPathStyle = 0,
  kCFURLHFSPathStyle = 1,
  kCFURLWindowsPathStyle = 2,
};

enum : SInt32 {
  kCFURLUnknownError = -10,
  kCFURLUnknownSchemeError = -11,
  kCFURLResourceNotFoundError = -12,
  kCFURLResourceAccessViolationError = -13,
  kCFURLImproperArgumentsError = -15,
};

// Only the POSIX path style exists on this port; other styles give NULL. A
// relative path gives a URL relative to the current directory.
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory);
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8* buffer,
                                                 CFIndex bufferLength, Boolean isDirectory);
CFURLRef CFURLCopyAbsoluteURL(CFURLRef url);
// Any URL text, kept as written (device URIs such as "usb://maker/model");
// NULL for an empty text or one with spaces or control characters.
CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString, CFURLRef baseURL);

// The URL's text relative to its base (borrowed).
CFStringRef CFURLGetString(CFURLRef url);
CFStringRef CFURLCopyScheme(CFURLRef url);
CFStringRef CFURLCopyHostName(CFURLRef url);
CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle);
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer,
                                         CFIndex maxBufferLength);

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef allocator, CFURLRef url,
                                               CFStringRef pathComponent, Boolean isDirectory);

// File URLs only. No properties are read or written: *properties becomes NULL.
Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef allocator, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties,
                                                 CFArrayRef desiredProperties, SInt32* errorCode);
// Replaces the file's contents whole: the data is written to a new file in the
// same folder and renamed over the old one, so a crash or a full disk leaves the
// old contents, never a part of the new. A symbolic link in the file's place is
// refused. A directory URL (ending in "/") creates that folder instead, once:
// an existing folder is an error.
Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite,
                                              CFDictionaryRef propertiesToWrite, SInt32* errorCode);
