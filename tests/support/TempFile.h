#pragma once
// A file holding given bytes in a fresh temporary directory; both are removed
// when the object goes.

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

class TempFile {
 public:
  explicit TempFile(const std::string& bytes, const std::string& name = "test.ppd") {
    char directory[] = "/tmp/zpx-test-XXXXXX";
    if (mkdtemp(directory) != nullptr) mDirectory = directory;
    mPath = mDirectory + "/" + name;
    std::ofstream(mPath, std::ios::binary) << bytes;
  }
  ~TempFile() {
    unlink(mPath.c_str());
    rmdir(mDirectory.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const char* Path() const { return mPath.c_str(); }
  const std::string& Directory() const { return mDirectory; }

 private:
  std::string mDirectory;
  std::string mPath;
};
