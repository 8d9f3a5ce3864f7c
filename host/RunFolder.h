#pragma once
// A private folder for one run (mode 0700 below the temporary folder), made
// the temporary folder of the platform paths while it lives so that the
// plug-in's temporary files land in it; removed with everything in it at the end,
// or when a signal ends the program first (see ScratchFolders).

#include <string>

class RunFolder {
 public:
  RunFolder();
  ~RunFolder();
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  bool IsValid() const { return !mPath.empty(); }
  const std::string& Path() const { return mPath; }

 private:
  std::string mPath;
};
