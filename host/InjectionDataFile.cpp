#include "host/InjectionDataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "print/PostScriptInjectionSite.h"

namespace {

class OpenFile {
 public:
  explicit OpenFile(const std::string& path)
      : mFd(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)) {}
  ~OpenFile() {
    if (mFd != -1) close(mFd);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Fd() const { return mFd; }

 private:
  int mFd;
};

bool IsOwnFile(const struct stat& status) {
  return S_ISREG(status.st_mode) && status.st_uid == geteuid() && (status.st_mode & S_IWOTH) == 0;
}

bool ReadAll(int fd, size_t size, std::vector<UInt8>& bytes) {
  bytes.resize(size);
  size_t done = 0;
  while (done < size) {
    ssize_t got = read(fd, bytes.data() + done, size - done);
    if (got <= 0) return false;
    done += size_t(got);
  }
  return true;
}

bool SiteOf(CFTypeRef value, int32_t& site) {
  if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID()) return false;
  return CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &site);
}

// The block without the NULs a writer may leave at its end.
std::string BytesOf(CFDataRef data) {
  std::string bytes(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                    size_t(CFDataGetLength(data)));
  while (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  return bytes;
}

// The keyword a suppression entry names: the text without the NULs and
// white space a writer may leave around it.
std::string KeywordOf(const std::string& text) {
  const char* kPadding = " \t\r\n";
  size_t end = text.find('\0');
  std::string keyword = text.substr(0, end);
  size_t first = keyword.find_first_not_of(kPadding);
  if (first == std::string::npos) return std::string();
  return keyword.substr(first, keyword.find_last_not_of(kPadding) - first + 1);
}

InjectionDataFile::Result Sort(CFArrayRef entries, JobInjections& injections) {
  CFIndex count = CFArrayGetCount(entries);
  if (count % 2 != 0) return InjectionDataFile::kMalformed;
  JobInjections sorted;
  std::vector<std::string> jobNoteComments;
  for (CFIndex index = 0; index < count; index += 2) {
    int32_t site = 0;
    CFTypeRef data = CFArrayGetValueAtIndex(entries, index + 1);
    if (!SiteOf(CFArrayGetValueAtIndex(entries, index), site) ||
        CFGetTypeID(data) != CFDataGetTypeID())
      return InjectionDataFile::kMalformed;
    std::string bytes = BytesOf(static_cast<CFDataRef>(data));
    switch (site) {
      case kPSInjectionSiteHeaderComments:
        sorted.mHeaderComments.push_back(bytes);
        break;
      case kPSInjectionSiteJobNoteComments:
        jobNoteComments.push_back(bytes);
        break;
      case kPSInjectionSiteFeatureCode:
        sorted.mSetupBlocks.push_back(bytes);
        break;
      case kPSInjectionSiteSuppressedFeature:
        sorted.mSuppressedFeatures.push_back(KeywordOf(bytes));
        break;
      case kPSInjectionSiteFileDestination:
        sorted.mCopyPaths.push_back(bytes.substr(0, bytes.find('\0')));
        break;
      default:
        return InjectionDataFile::kUnknownSite;
    }
  }
  auto append = [](std::vector<std::string>& to, const std::vector<std::string>& from) {
    to.insert(to.end(), from.begin(), from.end());
  };
  append(sorted.mHeaderComments, jobNoteComments);
  append(injections.mHeaderComments, sorted.mHeaderComments);
  append(injections.mSetupBlocks, sorted.mSetupBlocks);
  append(injections.mSuppressedFeatures, sorted.mSuppressedFeatures);
  append(injections.mCopyPaths, sorted.mCopyPaths);
  return InjectionDataFile::kRead;
}

}  // namespace

InjectionDataFile::Result InjectionDataFile::Read(const std::string& path,
                                                  JobInjections& injections) {
  OpenFile file(path);
  struct stat status;
  if (file.Fd() == -1 || fstat(file.Fd(), &status) != 0) return kCannotOpen;
  if (!IsOwnFile(status)) return kNotOwnFile;
  if (status.st_size > kMaximumSize) return kTooLarge;
  std::vector<UInt8> bytes;
  if (!ReadAll(file.Fd(), size_t(status.st_size), bytes)) return kCannotOpen;
  CFRef<CFDataRef> data(CFDataCreate(kCFAllocatorDefault, bytes.data(), CFIndex(bytes.size())));
  CFRef<CFPropertyListRef> list(
      data ? CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data.get(),
                                             kCFPropertyListImmutable, nullptr)
           : nullptr);
  if (!list || CFGetTypeID(list.get()) != CFArrayGetTypeID()) return kMalformed;
  return Sort(static_cast<CFArrayRef>(list.get()), injections);
}

const char* InjectionDataFile::Describe(Result result) {
  switch (result) {
    case kRead:
      return "read";
    case kCannotOpen:
      return "cannot open the PostScript data file (missing, a link or unreadable)";
    case kNotOwnFile:
      return "the PostScript data file is not a regular file of this user, "
             "or others may write it";
    case kTooLarge:
      return "the PostScript data file is larger than 64 MiB";
    case kMalformed:
      return "the PostScript data file is not an even list of sites and data";
    case kUnknownSite:
      return "the PostScript data file names an unknown injection site";
  }
  return "unknown result";
}
