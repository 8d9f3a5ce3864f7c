#pragma once
// A fresh folder below /tmp, removed with everything in it when the object goes.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    char folder[] = "/tmp/zpx-folder-XXXXXX";
    if (mkdtemp(folder) != nullptr) mPath = folder;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return mPath; }
  // Writes the bytes to `relative` below the folder, making the folders on the way.
  std::string Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path file = std::filesystem::path(mPath) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

 private:
  std::string mPath;
};
