#pragma once
// Bundles the process takes for the plug-in's own: the assembled one, or a
// folder whose Info.plist carries the plug-in's identifier and executable.
// Only one may be open at a time, since the identifier finds the first.

#include <string>

#include "cf/CFRef.h"
#include "plugin/BundleFunctions.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

// The folder `relative` below `folder` made into a plug-in bundle; its path.
inline std::string WritePluginBundle(const TempFolder& folder, const std::string& relative) {
  folder.Write(relative + "/Contents/Info.plist",
               "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" +
                   TextOf(GetBundleID()) +
                   "</string><key>CFBundleExecutable</key><string>libzpxpde.so</string>"
                   "</dict></plist>");
  return folder.Path() + "/" + relative;
}
