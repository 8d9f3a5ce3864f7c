#pragma once
// The PPD file of a document: a platform file located by volume, directory and
// name, by a file specification, or by a path.

#include "foundation/FileMac.h"

class PPDFile : public FileMac {
 public:
  PPDFile(short vRefNum, long dirID, ConstStr255Param name) : FileMac(vRefNum, dirID, name) {}
  explicit PPDFile(const FSSpec& spec) : FileMac(spec) {}
  explicit PPDFile(const char* path) : FileMac(path) {}
};
