// The file of a job's blocks is written by another program. Whatever it holds,
// reading it ends with a result; a refused file adds nothing, and a file that
// is read gives each entry a place.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "host/InjectionDataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile file("blocks.plist");
  const char* path = file.Write(std::string(reinterpret_cast<const char*>(bytes), size));
  JobInjections injections;
  InjectionDataFile::Result result = InjectionDataFile::Read(path, injections);
  const size_t entries = injections.mHeaderComments.size() + injections.mSetupBlocks.size() +
                         injections.mSuppressedFeatures.size() + injections.mCopyPaths.size();
  FUZZ_CHECK(result == InjectionDataFile::kRead || entries == 0);
  FUZZ_CHECK(InjectionDataFile::Describe(result) != nullptr);
  return 0;
}
