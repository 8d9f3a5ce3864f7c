#include "host/RunFolder.h"

#include "host/ScratchFolders.h"
#include "paths/PlatformPaths.h"

RunFolder::RunFolder() {
  std::string pattern = PlatformPaths::Below(PlatformPaths::kTemporaryFolder, "zpx-print-XXXXXX");
  if (pattern.empty()) return;
  mPath = ScratchFolders::Make(pattern);
  if (!mPath.empty()) PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mPath);
}

RunFolder::~RunFolder() {
  if (mPath.empty()) return;
  PlatformPaths::Reset(PlatformPaths::kTemporaryFolder);
  ScratchFolders::Remove(mPath);
}
