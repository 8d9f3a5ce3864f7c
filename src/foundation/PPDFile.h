#pragma once
// The PPD file of a document: a platform file located by volume, directory and
// name, by an FSSpec, by a file URL or by a path.

#include "cf/CFURL.h"
#include "foundation/FileMac.h"

class PPDFile : public FileMac {
 public:
  PPDFile(short vRefNum, long dirID, ConstStr255Param name) : FileMac(vRefNum, dirID, name) {}
  explicit PPDFile(const FSSpec& location) : FileMac(location) {}
  explicit PPDFile(const char* path) : FileMac(path) {}
  // A URL that names no existing file gives a location that opens as a
  // missing file.
  explicit PPDFile(CFURLRef url);
};
