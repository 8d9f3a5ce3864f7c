#include "QueueList.h"

#include <cstdio>
#include <string>
#include <vector>

#include "comm/ServedPrinters.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "host/PrintQueues.h"
#include "host/RunFolder.h"
#include "paths/PlatformPaths.h"
#include "plugin/TextBuffer.h"

namespace {

std::string URIText(PMPrinter printer) {
  CFURLRef uri = nullptr;
  if (PMPrinterCopyDeviceURI(printer, &uri) != kPMNoError) return "";
  CFRef<CFURLRef> held(uri);
  return UTF8Text(CFURLGetString(uri));
}

bool IsServed(PMPrinter printer, const ServedPrinters& served) {
  CFURLRef ppd = nullptr;
  if (PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &ppd) != kPMNoError) return false;
  CFRef<CFURLRef> held(ppd);
  return served.Serves(ppd);
}

CFURLRef CreateBundleFolder() {
  return CreateFileURL(PlatformPaths::Get(PlatformPaths::kBundleFolder), true);
}

}  // namespace

PrintFailure QueueList::Show() {
  RunFolder folder;
  if (!folder.IsValid()) return PrintFailure::NoJob("cannot make a private folder");
  PrintServer server;
  std::vector<std::string> names;
  if (!PrintQueues::Names(server, names)) return PrintFailure::PrintSystem(server.Failure());
  const ServedPrinters served(CFRef<CFURLRef>(CreateBundleFolder()).get());
  for (const std::string& name : names) {
    PMPrinter printer = nullptr;
    const OSStatus status = PrintQueues::CreatePrinter(server, name, folder.Path(), &printer);
    if (status == kPMGeneralError) return PrintFailure::PrintSystem(server.Failure());
    if (status == ioErr)
      return PrintFailure::NoJob("cannot write the PPD of " + name + " into " + folder.Path());
    // A queue gone since the list was made, or one whose name no file may carry.
    if (status != kPMNoError) continue;
    CFStringRef makeAndModel = nullptr;
    PMPrinterGetMakeAndModelName(printer, &makeAndModel);
    std::printf("%s\t%s\t%s\t%s\n", name.c_str(), UTF8Text(makeAndModel).c_str(),
                URIText(printer).c_str(), IsServed(printer, served) ? "served" : "not served");
    PMRelease(printer);
  }
  return PrintFailure::None();
}
