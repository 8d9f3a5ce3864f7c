// The printer preferences file is written by whatever else the user runs.
// Any bytes must give a store that answers every question within the array,
// and whose records can still be added to, changed and found again.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "cf/CFRef.h"
#include "comm/ZPXMelvanePrinterPList.h"
#include "paths/PlatformPaths.h"

namespace {

// Every question the store answers, asked of one name.
void AskAbout(const ZPXMelvanePrinterPList& store, CFStringRef name) {
  bool found = false;
  CFIndex record = store.Exists(name, found);
  FUZZ_CHECK(!found || (record >= 0 && record < CFArrayGetCount(store.GetArray())));
  FUZZ_CHECK(store.Find(name) != nullptr);
  store.getIPEnabled(name);
  CFRef<CFMutableArrayRef> lines(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  for (int blob = -1; blob <= 11; ++blob) store.GetDataBlob(name, blob, lines.get());
}

void ChangeRecordOf(ZPXMelvanePrinterPList& store, CFStringRef name) {
  static const char kLines[2][ZPXMelvanePrinterPList::kBlobLineSize] = {"first", "second"};
  store.AddDataBlob(name, 2, 1, kLines);
  FUZZ_CHECK(store.Add(name, CFSTR("10.0.0.9"), true));
  FUZZ_CHECK(CFStringCompare(store.Find(name), CFSTR("10.0.0.9"), 0) == kCFCompareEqualTo);
  FUZZ_CHECK(store.getIPEnabled(name));
  CFRef<CFMutableArrayRef> lines(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  if (store.AddDataBlob(name, 2, 1, kLines)) {
    FUZZ_CHECK(store.GetDataBlob(name, 1, lines.get()));
    FUZZ_CHECK(CFArrayGetCount(lines.get()) == 2);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile scratch("Library/Preferences/ZPX.MelvanePrinterV2.plist");
  scratch.Write(std::string(reinterpret_cast<const char*>(bytes), size));
  PlatformPaths::Redirect(PlatformPaths::kHomeFolder, scratch.Directory());
  ZPXMelvanePrinterPList store;
  PlatformPaths::Reset(PlatformPaths::kHomeFolder);
  FUZZ_CHECK(store.IsValid());
  CFArrayRef array = store.GetArray();
  for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
    CFTypeRef element = CFArrayGetValueAtIndex(array, i);
    if (CFGetTypeID(element) == CFStringGetTypeID())
      AskAbout(store, static_cast<CFStringRef>(element));
  }
  CFTypeRef first = CFArrayGetCount(array) > 0 ? CFArrayGetValueAtIndex(array, 0) : nullptr;
  if (first != nullptr && CFGetTypeID(first) == CFStringGetTypeID()) {
    CFRef<CFStringRef> name = CFRef<CFStringRef>::Retain(static_cast<CFStringRef>(first));
    ChangeRecordOf(store, name.get());
  }
  ChangeRecordOf(store, CFSTR("Fuzz Printer"));
  return 0;
}
