#pragma once
// Who the plug-in is: the identity texts that the print system, the tickets and
// the bundle's Info.plist share. Info.plist repeats the identifier; keep the two
// the same.

#include "carbon/MacTypes.h"

namespace pde {

constexpr const char* kBundleIdentifier =
    "com.zpx.print.pde.75AC611E-CD1B-451C-9411-8C3507A74FDD.PInf";
constexpr OSType kCreator = FourCC("ZPX2");
constexpr const char* kNIBFileName = "PDEProject";
constexpr const char* kPostscriptDataKeyPrefix = "ZPX.PSData.";
// The bundle folder under which the bundle's files lie.
constexpr const char* kContentsFolder = "Contents";

}  // namespace pde
