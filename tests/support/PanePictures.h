#pragma once
// The pictures beside the pane's rows, decoded as the pane decodes them.

#include <string>
#include <vector>

#include "cf/CFRef.h"
#include "support/FileURL.h"
#include "toolkit/CGObjects.h"
#include "ui/LoadAnImageRef.h"

// The picture of the bundle's resources folder at `relative` (as the icon
// table names it); null when it does not load.
inline CGImageRef LoadBundlePicture(const std::string& relative) {
  CFRef<CFURLRef> url(CreateFileURL(ZPX_BUNDLE "/Resources/" + relative));
  return LoadAnImageRef(url.get());
}

// The picture's pixels, RGBA row by row.
inline const std::vector<UInt8>& PixelsOf(CGImageRef image) { return image->mPixels; }
