#pragma once
// The plug-in's identity and its bundle: the identity strings, the one-entry
// bundle cache, the bundle's Contents folder and fresh file names.

#include "cf/CoreFoundation.h"

// The bundle identifier, a constant string (not to be released).
CFStringRef GetBundleID();
// The plug-in's bundle, found by its identifier (not retained), or null.
CFBundleRef GetBundleRef();
void GetCreatorID(OSType& creator);
// New strings; the caller releases them.
CFStringRef CreateNIBFileName();
// "ZPX.PSData." and the bundle identifier: the ticket key of the job's PostScript.
CFStringRef CreatePostscriptDataFileKey();
// The bundle identifier followed by the suffix (none: the identifier alone).
CFStringRef CreateClientIdentifier(CFStringRef suffix);
// The Contents folder of the plug-in's bundle (the bundle that `key` names
// when it is cached or an identifier, else the plug-in's own); null without a
// bundle. The caller releases it.
CFURLRef CreatePDEContentsURL(CFStringRef key);

// The printer settings key under which the dialog keeps a printer's choices:
// the bundle identifier with "." and the make and model inserted before each
// ".PInf", spaces turned into "_". A new string.
CFStringRef CreatePrinterSettingsKey(CFStringRef bundleID, CFStringRef makeAndModel);

// A one-entry cache of the plug-in's bundle. While it is empty, Get looks the
// identifier up and keeps (retains) what it finds; afterwards it answers the
// kept bundle whatever identifier it is given. Free empties it.
CFBundleRef MyGetBundle(CFStringRef identifier);
void MyFreeBundle(CFStringRef identifier);

enum { kRandomFileNameSize = 256 };
// A new string of a fresh UUID after the prefix (none: the UUID alone). With a
// buffer (kRandomFileNameSize bytes), its UTF-8 form is also written there,
// cut after the last whole character that fits. Null when no UUID can be made.
CFStringRef CreateRandomFileName(CFStringRef prefix, char* buffer);
