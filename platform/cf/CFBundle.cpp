#include "cf/CFBundle.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cf/CFFileURL.h"
#include "cf/CFObject.h"
#include "cf/CFPropertyList.h"
#include "cf/CFRef.h"
#include "cf/CFStringObject.h"
#include "cf/CFStringsTable.h"

namespace {

std::string FolderPath(CFURLRef url) {
  UInt8 path[4096];
  if (!CFURLGetFileSystemRepresentation(url, true, path, sizeof path)) return std::string();
  return reinterpret_cast<const char*>(path);
}

bool IsFolder(const std::string& path) {
  struct stat status;
  return !path.empty() && stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The file's bytes, or none when it cannot be read or is larger than `limit`.
bool ReadFile(const std::string& path, size_t limit, CFRef<CFDataRef>& data) {
  CFRef<CFURLRef> url(CreateFileURL(path));
  CFDataRef bytes = nullptr;
  if (!url || !CFURLCreateDataAndPropertiesFromResource(kCFAllocatorDefault, url.get(), &bytes,
                                                        nullptr, nullptr, nullptr))
    return false;
  data.reset(bytes);
  return size_t(CFDataGetLength(bytes)) <= limit;
}

constexpr size_t kMaximumInfoSize = 1 << 20;

}  // namespace

struct __CFBundle : CFObject {
  __CFBundle(std::string folder, CFDictionaryRef info)
      : CFObject(kCFObjectTypeBundle), folder(std::move(folder)), info(info), made(++sMade) {
    Registry()[this->folder] = this;
  }
  // The code goes with the last release of its bundle, never earlier: objects
  // that the code made may live as long as the bundle.
  ~__CFBundle() override {
    Registry().erase(folder);
    if (mExecutable != nullptr) dlclose(mExecutable);
  }

  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFObjectHashBytes(folder.data(), folder.size()); }
  std::u16string description() const override {
    std::u16string text = u"CFBundle ";
    for (char c : folder) text += char16_t(static_cast<unsigned char>(c));
    return text;
  }

  // Bundles alive in this process, by folder path.
  static std::map<std::string, __CFBundle*>& Registry() {
    static auto* bundles = new std::map<std::string, __CFBundle*>;  // outlives static holders
    return *bundles;
  }

  CFStringRef InfoString(CFStringRef key) const {
    CFTypeRef value = CFDictionaryGetValue(info.get(), key);
    return value != nullptr && CFGetTypeID(value) == CFStringGetTypeID()
               ? static_cast<CFStringRef>(value)
               : nullptr;
  }

  std::string Language() const {
    CFStringRef region = InfoString(kCFBundleDevelopmentRegionKey);
    std::string language = region != nullptr ? __CFString::utf8Of(region) : std::string();
    bool plain = !language.empty() && language.find('/') == std::string::npos && language != "..";
    return plain ? language : "en";
  }

  // The table, read once; an unreadable one reads as empty.
  const CFStringsTable& Table(const std::string& name) {
    std::unique_ptr<CFStringsTable>& table = tables[name];
    if (table) return *table;
    table.reset(new CFStringsTable);
    CFRef<CFDataRef> data;
    std::string path = folder + "/Contents/Resources/" + Language() + ".lproj/" + name + ".strings";
    if (name.find('/') == std::string::npos && ReadFile(path, CFStringsTable::kMaximumSize, data))
      table->Parse(CFDataGetBytePtr(data.get()), size_t(CFDataGetLength(data.get())));
    return *table;
  }

  const std::string folder;
  CFRef<CFDictionaryRef> info;
  const unsigned long made;  // the order bundles were made in
  static inline unsigned long sMade = 0;
  std::map<std::string, std::unique_ptr<CFStringsTable>> tables;
  void* mExecutable = nullptr;
};

namespace {

// The information dictionary of the folder: empty without Info.plist, null
// when the file is there but no dictionary.
CFDictionaryRef ReadInfo(const std::string& folder) {
  std::string path = folder + "/Contents/Info.plist";
  struct stat status;
  if (stat(path.c_str(), &status) != 0)
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
  CFRef<CFDataRef> data;
  if (!ReadFile(path, kMaximumInfoSize, data)) return nullptr;
  CFRef<CFPropertyListRef> list(CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data.get(),
                                                                kCFPropertyListImmutable, nullptr));
  if (!list || CFGetTypeID(list.get()) != CFDictionaryGetTypeID()) return nullptr;
  return static_cast<CFDictionaryRef>(list.release());
}

}  // namespace

CFTypeID CFBundleGetTypeID() { return kCFObjectTypeBundle; }

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef bundleURL) {
  if (bundleURL == nullptr) return nullptr;
  std::string folder = FolderPath(bundleURL);
  if (!IsFolder(folder)) return nullptr;
  auto known = __CFBundle::Registry().find(folder);
  if (known != __CFBundle::Registry().end())
    return static_cast<CFBundleRef>(const_cast<void*>(CFRetain(known->second)));
  CFDictionaryRef info = ReadInfo(folder);
  return info != nullptr ? new __CFBundle(folder, info) : nullptr;
}

// Of several live bundles with the identifier, the one made first answers,
// wherever the bundles lie.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID) {
  if (bundleID == nullptr) return nullptr;
  __CFBundle* first = nullptr;
  for (const auto& entry : __CFBundle::Registry())
    if (CFEqual(entry.second->InfoString(kCFBundleIdentifierKey), bundleID) &&
        (first == nullptr || entry.second->made < first->made))
      first = entry.second;
  return first;
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
  return bundle != nullptr ? bundle->InfoString(kCFBundleIdentifierKey) : nullptr;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
  return bundle != nullptr ? CreateFileURL(bundle->folder, true) : nullptr;
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle) {
  CFStringRef executable = bundle != nullptr ? bundle->InfoString(kCFBundleExecutableKey) : nullptr;
  if (executable == nullptr) return nullptr;
  std::string name = __CFString::utf8Of(executable);
  if (name.empty() || name.find('/') != std::string::npos) return nullptr;
  return CreateFileURL(bundle->folder + "/Contents/MacOS/" + name);
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef resourceName,
                                 CFStringRef resourceType, CFStringRef subDirName) {
  if (bundle == nullptr || resourceName == nullptr) return nullptr;
  std::string name = __CFString::utf8Of(resourceName);
  if (resourceType != nullptr) name += "." + __CFString::utf8Of(resourceType);
  std::string folder = subDirName != nullptr ? __CFString::utf8Of(subDirName) : std::string();
  bool inside = name.find('/') == std::string::npos && name != "." && name != ".." &&
                folder.find('/') == std::string::npos && folder != "..";
  if (!inside) return nullptr;
  std::string path =
      bundle->folder + "/Contents/Resources/" + (folder.empty() ? "" : folder + "/") + name;
  struct stat status;
  if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return nullptr;
  return CreateFileURL(path);
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
  if (bundle == nullptr || key == nullptr) return nullptr;
  return CFDictionaryGetValue(bundle->info.get(), key);
}

CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName) {
  if (key == nullptr) return nullptr;
  CFStringRef found = nullptr;
  if (bundle != nullptr)
    found = bundle->Table(tableName != nullptr ? __CFString::utf8Of(tableName) : "Localizable")
                .Find(key);
  if (found == nullptr) found = value != nullptr && CFStringGetLength(value) > 0 ? value : key;
  return static_cast<CFStringRef>(CFRetain(found));
}

CFArrayRef CFBundleGetAllBundles() {
  // The platform keeps the list; it does not keep the bundles alive.
  static CFRef<CFMutableArrayRef>* all = new CFRef<CFMutableArrayRef>;  // outlives static holders
  all->reset(CFArrayCreateMutable(kCFAllocatorDefault, 0, nullptr));
  for (const auto& entry : __CFBundle::Registry()) CFArrayAppendValue(all->get(), entry.second);
  return all->get();
}

Boolean CFBundleLoadExecutable(CFBundleRef bundle) {
  if (bundle == nullptr) return false;
  if (bundle->mExecutable != nullptr) return true;
  CFRef<CFURLRef> url(CFBundleCopyExecutableURL(bundle));
  UInt8 path[4096];
  if (!url || !CFURLGetFileSystemRepresentation(url.get(), true, path, sizeof path)) return false;
  // The plug-in's own names stay its own: another plug-in's cannot replace them.
  bundle->mExecutable = dlopen(reinterpret_cast<const char*>(path), RTLD_NOW | RTLD_LOCAL);
  return bundle->mExecutable != nullptr;
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle) {
  return bundle != nullptr && bundle->mExecutable != nullptr;
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef functionName) {
  if (functionName == nullptr || !CFBundleLoadExecutable(bundle)) return nullptr;
  return dlsym(bundle->mExecutable, __CFString::utf8Of(functionName).c_str());
}
