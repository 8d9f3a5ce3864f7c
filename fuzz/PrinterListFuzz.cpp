// The bundle's list of supported PPD names is a file anyone could replace:
// any bytes give a list that is either invalid or an array of names.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "comm/PrinterListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile scratch("Contents/PrinterList.plist");
  scratch.Write(std::string(reinterpret_cast<const char*>(bytes), size));
  std::string contents = scratch.Directory() + "/Contents";
  CFRef<CFURLRef> folder(CreateFileURL(contents, true));
  PrinterListFile list(folder.get(), kCFPropertyListImmutable);
  CFArrayRef names = list.GetFileNames();
  FUZZ_CHECK(list.IsValid() == (names != nullptr));
  if (names != nullptr) {
    FUZZ_CHECK(CFGetTypeID(names) == CFArrayGetTypeID());
    CFArrayContainsValue(names, CFRangeMake(0, CFArrayGetCount(names)), CFSTR("ZPXSMPL.PPD"));
  }
  return 0;
}
