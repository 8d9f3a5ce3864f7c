#pragma once
// Bundles: a folder "<name>/Contents/" with an information dictionary
// (Info.plist), the executable in MacOS/ and resources in Resources/, among
// them the localized string tables Resources/<language>.lproj/<table>.strings.
// The language is the bundle's development region ("en" when it names none).
// Bundles made in this process are found again by URL and by identifier.

#include "cf/CFArray.h"
#include "cf/CFBase.h"
#include "cf/CFString.h"
#include "cf/CFURL.h"

typedef struct __CFBundle* CFBundleRef;

#define kCFBundleIdentifierKey CFSTR("CFBundleIdentifier")
#define kCFBundleExecutableKey CFSTR("CFBundleExecutable")
#define kCFBundleDevelopmentRegionKey CFSTR("CFBundleDevelopmentRegion")

CFTypeID CFBundleGetTypeID();

// The bundle of the folder; the one already made for it when it is still
// alive (retained for the caller). NULL when the folder does not exist or its
// Info.plist is present but not a dictionary.
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef bundleURL);
// A live bundle of this process with that identifier (not retained), or NULL.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
// Not retained; NULL when Info.plist names none.
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
// Contents/MacOS/<CFBundleExecutable>; NULL when Info.plist names none.
CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);
// Contents/Resources/[<subDirName>/]<resourceName>.<resourceType> when that file
// exists; NULL otherwise, and for names that would leave Resources/.
CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName);
// Not retained; NULL when the dictionary has no such key.
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
// The string of the key in the table (NULL: "Localizable"). A key that the
// table lacks, or a table that is missing or malformed, gives `value`, or the
// key when `value` is NULL or empty. The caller releases the result.
CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName);

// The bundles alive in this process (the array and the bundles are not retained;
// the array is remade by the next call).
CFArrayRef CFBundleGetAllBundles();

// Loads Contents/MacOS/<CFBundleExecutable> once (dlopen, every symbol bound
// now, none made global); it stays loaded until the bundle's last release.
// False when the bundle names no executable or it cannot be loaded.
Boolean CFBundleLoadExecutable(CFBundleRef bundle);
Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
// The function the executable exports under the name, loading it first; NULL
// when it cannot be loaded or has no such function.
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName);
