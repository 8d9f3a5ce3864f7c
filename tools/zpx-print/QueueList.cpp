#include "QueueList.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/ZPXPPD.h"
#include "RunFolder.h"
#include "cf/CFRef.h"
#include "comm/PrinterListFile.h"
#include "paths/PlatformPaths.h"
#include "plugin/TextBuffer.h"
#include "print/PrintQueues.h"

namespace {

std::string Text(CFStringRef text) { return text != nullptr ? EncodedText(text, kCFStringEncodingUTF8) : ""; }

std::string URIText(PMPrinter printer) {
  CFURLRef uri = nullptr;
  if (PMPrinterCopyDeviceURI(printer, &uri) != kPMNoError) return "";
  CFRef<CFURLRef> held(uri);
  return Text(CFURLGetString(uri));
}

bool IsServed(PMPrinter printer, CFArrayRef servedNames) {
  CFURLRef ppd = nullptr;
  if (servedNames == nullptr || PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &ppd) != kPMNoError)
    return false;
  CFRef<CFURLRef> held(ppd);
  return ZPXPPD::ValidateFileName(ppd, servedNames, nullptr);
}

std::unique_ptr<PrinterListFile> BundlePrinterList() {
  std::string contents = PlatformPaths::Get(PlatformPaths::kBundleFolder) + "/Contents";
  CFRef<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(contents.c_str()), CFIndex(contents.size()), true));
  return std::unique_ptr<PrinterListFile>(url ? new PrinterListFile(url.get(), kCFPropertyListImmutable)
                                              : nullptr);
}

}  // namespace

PrintFailure QueueList::Show() {
  RunFolder folder;
  if (!folder.IsValid()) return PrintFailure::NoJob("cannot make a private folder");
  PrintServer server;
  std::vector<std::string> names;
  if (!PrintQueues::Names(server, names)) return PrintFailure::PrintSystem(server.Failure());
  std::unique_ptr<PrinterListFile> list = BundlePrinterList();
  CFArrayRef servedNames = list ? list->GetFileNames() : nullptr;
  for (const std::string& name : names) {
    PMPrinter printer = nullptr;
    const OSStatus status = PrintQueues::CreatePrinter(server, name, folder.Path(), &printer);
    if (status == kPMGeneralError) return PrintFailure::PrintSystem(server.Failure());
    if (status == ioErr) return PrintFailure::NoJob("cannot write the PPD of " + name + " into " + folder.Path());
    // A queue gone since the list was made, or one whose name no file may carry.
    if (status != kPMNoError) continue;
    CFStringRef makeAndModel = nullptr;
    PMPrinterGetMakeAndModelName(printer, &makeAndModel);
    std::printf("%s\t%s\t%s\t%s\n", name.c_str(), Text(makeAndModel).c_str(), URIText(printer).c_str(),
                IsServed(printer, servedNames) ? "served" : "not served");
    PMRelease(printer);
  }
  return PrintFailure::None();
}
