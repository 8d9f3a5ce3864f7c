#include "comm/ServedPrinters.h"

#include "PPDX/ZPXPPD.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "plugin/PDEIdentity.h"

namespace {

CFURLRef CreateContentsFolder(CFURLRef bundleFolder) {
  CFRef<CFStringRef> name(
      CFStringCreateWithCString(kCFAllocatorDefault, pde::kContentsFolder, kCFStringEncodingASCII));
  return bundleFolder != nullptr && name ? CFURLCreateCopyAppendingPathComponent(
                                               kCFAllocatorDefault, bundleFolder, name.get(), true)
                                         : nullptr;
}

}  // namespace

ServedPrinters::ServedPrinters(CFURLRef bundleFolder)
    : mList(CFRef<CFURLRef>(CreateContentsFolder(bundleFolder)).get(), kCFPropertyListImmutable) {}

bool ServedPrinters::Serves(CFURLRef ppd) const {
  CFArrayRef names = mList.GetFileNames();
  return ppd != nullptr && names != nullptr && ZPXPPD::ValidateFileName(ppd, names, nullptr);
}

bool ServedPrinters::Serves(const std::string& ppdPath) const {
  CFRef<CFURLRef> ppd(CreateFileURL(ppdPath));
  return Serves(ppd.get());
}
