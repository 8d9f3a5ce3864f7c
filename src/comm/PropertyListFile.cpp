#include "comm/PropertyListFile.h"

#include <string>

#include "carbon/MacErrors.h"
#include "carbon/TextCommon.h"
#include "paths/PlatformPaths.h"

PropertyListFile::PropertyListFile(CFURLRef url, Boolean flag, CFOptionFlags mutability)
    : mURL(CFURLCopyAbsoluteURL(url)), mFlag(flag) {
  ReadIfLocated(mutability);
  mValid = true;
}

PropertyListFile::PropertyListFile(CFURLRef folder, CFStringRef fileName, Boolean flag,
                                   CFOptionFlags mutability)
    : mFlag(flag) {
  if (folder != nullptr && fileName != nullptr)
    mURL.reset(CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, folder, fileName, false));
  mValid = ReadIfLocated(mutability);
}

PropertyListFile::PropertyListFile(const char* path, Boolean flag, CFOptionFlags mutability)
    : mURL(CreateURLBelowHome(path, false)), mFlag(flag) {
  ReadIfLocated(mutability);
  mValid = true;
}

PropertyListFile::~PropertyListFile() = default;

CFURLRef PropertyListFile::CreateURLBelowHome(const char* path, Boolean isDirectory) {
  if (path == nullptr) return nullptr;
  // Never the path on its own: without a home folder nothing is read or written.
  std::string full = PlatformPaths::Below(PlatformPaths::kHomeFolder, path);
  if (full.empty()) return nullptr;
  CFRef<CFStringRef> text(CFStringCreateWithCString(
      kCFAllocatorDefault, full.c_str(), CFStringEncoding(GetApplicationTextEncoding())));
  if (!text) return nullptr;
  return CFURLCreateWithFileSystemPath(kCFAllocatorDefault, text.get(), kCFURLPOSIXPathStyle,
                                       isDirectory);
}

bool PropertyListFile::ReadIfLocated(CFOptionFlags mutability) {
  if (!mURL) return false;
  CreatePropertyListFromFile(mURL.get(), mutability);
  return true;
}

Boolean PropertyListFile::CreatePropertyListFromFile(CFURLRef url, CFOptionFlags mutability) {
  CFDataRef bytes = nullptr;
  SInt32 error = 0;
  Boolean read = CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, url, &bytes, nullptr,
                                                          nullptr, &error);
  CFRef<CFDataRef> data(bytes);
  mLastError = error;
  mPropertyList.reset();
  if (!read) return false;
  CFStringRef fault = nullptr;
  mPropertyList.reset(
      CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data.get(), mutability, &fault));
  CFRef<CFStringRef> releasedFault(fault);
  return true;
}

Boolean PropertyListFile::Save(CFPropertyListRef list) {
  mLastError = 0;
  CFRef<CFDataRef> xml(CFPropertyListCreateXMLData(kCFAllocatorDefault, list));
  if (!xml) {
    mLastError = memFullErr;
    return false;
  }
  return CFURLWriteDataAndPropertiesToResource(mURL.get(), xml.get(), nullptr, &mLastError);
}
