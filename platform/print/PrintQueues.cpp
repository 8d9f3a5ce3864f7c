#include "print/PrintQueues.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "cf/CFRef.h"

namespace {

// CUPS refuses these in queue names; "." and ".." would leave the folder.
bool IsQueueName(const std::string& name) {
  return !name.empty() && name.size() <= 127 && name != "." && name != ".." &&
         name.find_first_of("/\\#?' \t\"") == std::string::npos;
}

CFStringRef CreateText(const char* text) {
  return text != nullptr ? CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8)
                         : nullptr;
}

CFURLRef CreateURL(const char* text) {
  CFRef<CFStringRef> string(CreateText(text));
  return string ? CFURLCreateWithString(kCFAllocatorDefault, string.get(), nullptr) : nullptr;
}

CFURLRef CreateFileURL(const std::string& path) {
  return CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path.c_str()), CFIndex(path.size()), false);
}

// The queue's PPD written to `path`; false when the server has none.
bool FetchPPD(const PrintServer& server, const std::string& queue, const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd == -1) return false;
  const std::string resource = "/printers/" + queue + ".ppd";
  bool fetched = cupsGetFd(server.Connection(), resource.c_str(), fd) == HTTP_STATUS_OK;
  if (close(fd) != 0) fetched = false;
  if (!fetched) unlink(path.c_str());
  return fetched;
}

}  // namespace

bool PrintQueues::Names(const PrintServer& server, std::vector<std::string>& names) {
  if (server.Connection() == nullptr) return false;
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(server.Connection(), &dests);
  if (count == 0 && cupsLastError() > IPP_STATUS_OK_CONFLICTING) return false;
  for (int index = 0; index < count; ++index)
    if (dests[index].instance == nullptr) names.emplace_back(dests[index].name);
  cupsFreeDests(count, dests);
  std::sort(names.begin(), names.end());
  return true;
}

OSStatus PrintQueues::CreatePrinter(const PrintServer& server, const std::string& queue,
                                    const std::string& folder, PMPrinter* printer) {
  if (printer == nullptr) return kPMInvalidParameter;
  *printer = nullptr;
  if (server.Connection() == nullptr || !IsQueueName(queue)) return kPMInvalidPrinter;
  cups_dest_t* dest = cupsGetNamedDest(server.Connection(), queue.c_str(), nullptr);
  if (dest == nullptr) return kPMInvalidPrinter;
  CFRef<CFStringRef> name(CreateText(queue.c_str()));
  CFRef<CFStringRef> makeAndModel(
      CreateText(cupsGetOption("printer-make-and-model", dest->num_options, dest->options)));
  CFRef<CFURLRef> deviceURI(CreateURL(cupsGetOption("device-uri", dest->num_options, dest->options)));
  cupsFreeDests(1, dest);
  const std::string ppdPath = folder + "/" + queue + ".ppd";
  CFRef<CFURLRef> ppdURL(FetchPPD(server, queue, ppdPath) ? CreateFileURL(ppdPath) : nullptr);
  return PMPrinterCreate(name.get(), makeAndModel.get(), ppdURL.get(), deviceURI.get(), printer);
}
