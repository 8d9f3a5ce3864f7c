#pragma once
// Localized strings of the plug-in's bundle, from its default string table or
// a named one, as platform strings or as bytes in a caller's buffer. The
// bundle used when a call names none is the default that InitBundle set.

#include "cf/CoreFoundation.h"

class PDEBundle {
 public:
  // Keeps (retains) the bundle as the default, in place of an earlier one.
  static void InitBundle(CFBundleRef bundle);
  static bool Initialized() { return sInitialized; }

  // The string of the key in the default table; the key itself when the table
  // lacks it. Null without a bundle. The caller releases the result.
  static CFStringRef CopyLocalizedCFString(CFStringRef key, CFBundleRef bundle = nullptr);
  // The same from the named table.
  static CFStringRef CopyLocalizedCFStringFromFile(CFStringRef key, CFStringRef table,
                                                   CFBundleRef bundle = nullptr);
  // The localized string in the application's text encoding, NUL-terminated in
  // `size` bytes and cut after the last whole character that fits; its length
  // in bytes, 0 when there is no string.
  static long GetLocalizedString(CFStringRef key, char* buffer, long size,
                                 CFBundleRef bundle = nullptr);
  // The string's bytes in the encoding, NUL-terminated and cut as above. False,
  // with the system beep, when the string cannot be written in the encoding.
  static bool ConvertCFString(CFStringRef string, char* buffer, long size,
                              CFStringEncoding encoding);

 private:
  static CFBundleRef BundleOrDefault(CFBundleRef bundle);

  static CFBundleRef sDefaultBundle;
  static bool sInitialized;
};
