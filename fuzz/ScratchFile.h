#pragma once
// One scratch file for the whole run of a target that reads its input from a
// file, removed at exit.

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "FuzzCheck.h"

class ScratchFile {
 public:
  ScratchFile() {
    char directory[] = "/tmp/zpx-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(directory) != nullptr);
    mDirectory = directory;
    mPath = mDirectory + "/fuzz.ppd";
  }
  ~ScratchFile() {
    unlink(mPath.c_str());
    rmdir(mDirectory.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const char* Write(const std::string& bytes) {
    std::ofstream(mPath, std::ios::binary | std::ios::trunc) << bytes;
    return mPath.c_str();
  }
  const char* Path() const { return mPath.c_str(); }

 private:
  std::string mDirectory;
  std::string mPath;
};
