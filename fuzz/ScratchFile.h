#pragma once
// One scratch file for the whole run of a target that reads its input from a
// file, removed at exit with the folder made for it. The file may lie in
// sub-folders of that folder, given by its relative path.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzCheck.h"

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& relativePath = "fuzz.ppd") {
    char directory[] = "/tmp/zpx-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(directory) != nullptr);
    mDirectory = directory;
    mPath = mDirectory + "/" + relativePath;
    std::filesystem::create_directories(std::filesystem::path(mPath).parent_path());
  }
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove_all(mDirectory, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const char* Write(const std::string& bytes) {
    std::ofstream(mPath, std::ios::binary | std::ios::trunc) << bytes;
    return mPath.c_str();
  }
  const char* Path() const { return mPath.c_str(); }
  const std::string& Directory() const { return mDirectory; }

 private:
  std::string mDirectory;
  std::string mPath;
};
