#include "host/PrintQueues.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"

namespace {

// CUPS refuses these in queue names; "." and ".." would leave the folder.
bool IsQueueName(const std::string& name) {
  return !name.empty() && name.size() <= 127 && name != "." && name != ".." &&
         name.find_first_of("/\\#?' \t\"") == std::string::npos;
}

CFURLRef CreateURL(const char* text) {
  CFRef<CFStringRef> string(text != nullptr ? CreateText(text) : nullptr);
  return string ? CFURLCreateWithString(kCFAllocatorDefault, string.get(), nullptr) : nullptr;
}

// The queue's PPD written to `path`: kPMNoError, kPMNoSuchEntry when the
// server has none, kPMGeneralError when the server failed, ioErr when the file
// could not be written.
OSStatus WritePPD(PrintServer& server, const std::string& queue, const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd == -1) return ioErr;
  const std::string resource = "/printers/" + queue + ".ppd";
  const http_status_t fetched = cupsGetFd(server.Exchange(), resource.c_str(), fd);
  OSStatus status = fetched == HTTP_STATUS_OK          ? kPMNoError
                    : fetched == HTTP_STATUS_NOT_FOUND ? kPMNoSuchEntry
                                                       : kPMGeneralError;
  if (close(fd) != 0 && status == kPMNoError) status = ioErr;
  if (status != kPMNoError) unlink(path.c_str());
  return status;
}

}  // namespace

bool PrintQueues::Names(PrintServer& server, std::vector<std::string>& names) {
  if (!server.IsReached()) return false;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(server.Exchange(), &dests);
  if (count == 0 && !server.Succeeded(cupsLastError())) return false;
  for (int index = 0; index < count; ++index)
    if (dests[index].instance == nullptr) names.emplace_back(dests[index].name);
  cupsFreeDests(count, dests);
  std::sort(names.begin(), names.end());
  return true;
}

OSStatus PrintQueues::CreatePrinter(PrintServer& server, const std::string& queue,
                                    const std::string& folder, PMPrinter* printer) {
  if (printer == nullptr) return kPMInvalidParameter;
  *printer = nullptr;
  if (!IsQueueName(queue)) return kPMInvalidParameter;
  if (!server.IsReached()) return kPMGeneralError;
  cups_dest_t* dest = cupsGetNamedDest(server.Exchange(), queue.c_str(), nullptr);
  if (dest == nullptr) return server.Answered() ? kPMInvalidPrinter : kPMGeneralError;
  CFRef<CFStringRef> name(CreateText(queue.c_str()));
  CFRef<CFStringRef> makeAndModel(
      CreateText(cupsGetOption("printer-make-and-model", dest->num_options, dest->options)));
  CFRef<CFURLRef> deviceURI(
      CreateURL(cupsGetOption("device-uri", dest->num_options, dest->options)));
  cupsFreeDests(1, dest);
  const std::string ppdPath = folder + "/" + queue + ".ppd";
  const OSStatus fetched = WritePPD(server, queue, ppdPath);
  if (fetched != kPMNoError && fetched != kPMNoSuchEntry) return fetched;
  CFRef<CFURLRef> ppdURL(fetched == kPMNoError ? CreateFileURL(ppdPath) : nullptr);
  return PMPrinterCreate(name.get(), makeAndModel.get(), ppdURL.get(), deviceURI.get(), printer);
}

std::string PrintQueues::PPDPath(PMPrinter printer) {
  CFURLRef url = nullptr;
  if (PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &url) != kPMNoError) return "";
  CFRef<CFURLRef> held(url);
  UInt8 path[4096];
  if (!CFURLGetFileSystemRepresentation(url, true, path, sizeof path)) return "";
  return reinterpret_cast<const char*>(path);
}

std::string PrintQueues::FetchPPD(PrintServer& server, const std::string& queue,
                                  const std::string& folder, std::string& path) {
  path.clear();
  PMPrinter printer = nullptr;
  const OSStatus status = CreatePrinter(server, queue, folder, &printer);
  if (status == kPMInvalidParameter) return "no queue " + queue + ": not a name a queue may have";
  if (status == kPMInvalidPrinter || status == kPMGeneralError)
    return "cannot use the queue " + queue + ": " + server.Failure();
  if (status != kPMNoError) return "cannot keep the PPD of " + queue + " in " + folder;
  path = PPDPath(printer);
  PMRelease(printer);
  if (path.empty()) return "queue " + queue + " has no PPD on the print server";
  return "";
}
