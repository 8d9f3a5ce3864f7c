#include "RunFolder.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "paths/PlatformPaths.h"

RunFolder::RunFolder() {
  std::string pattern = PlatformPaths::Below(PlatformPaths::kTemporaryFolder, "zpx-print-XXXXXX");
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkdtemp makes the folder 0700.
  if (pattern.empty() || mkdtemp(name.data()) == nullptr) return;
  mPath = name.data();
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mPath);
}

RunFolder::~RunFolder() {
  if (mPath.empty()) return;
  PlatformPaths::Reset(PlatformPaths::kTemporaryFolder);
  std::error_code ignored;
  std::filesystem::remove_all(mPath, ignored);
}
