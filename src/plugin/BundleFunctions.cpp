#include "plugin/BundleFunctions.h"

#include <string>

#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "plugin/PDEIdentity.h"
#include "plugin/TextBuffer.h"

namespace {

// The bundle that MyGetBundle keeps; empty at start.
CFBundleRef sCachedBundle = nullptr;

// A new string of `head` followed by `tail` (either may be null).
CFStringRef CreateJoined(CFStringRef head, CFStringRef tail) {
  CFMutableStringRef joined =
      CFStringCreateMutableCopy(kCFAllocatorDefault, 0, head != nullptr ? head : CFSTR(""));
  if (joined != nullptr && tail != nullptr) CFStringAppend(joined, tail);
  return joined;
}

}  // namespace

CFStringRef GetBundleID() {
  static const CFStringRef identifier = __CFStringMakeConstantString(pde::kBundleIdentifier);
  return identifier;
}

CFBundleRef GetBundleRef() { return CFBundleGetBundleWithIdentifier(GetBundleID()); }

void GetCreatorID(OSType& creator) { creator = pde::kCreator; }

CFStringRef CreateNIBFileName() {
  return CFStringCreateWithCString(kCFAllocatorDefault, pde::kNIBFileName, kCFStringEncodingUTF8);
}

CFStringRef CreatePostscriptDataFileKey() {
  CFRef<CFStringRef> prefix(CFStringCreateWithCString(
      kCFAllocatorDefault, pde::kPostscriptDataKeyPrefix, kCFStringEncodingUTF8));
  return CreateJoined(prefix.get(), GetBundleID());
}

CFStringRef CreateClientIdentifier(CFStringRef suffix) {
  return CreateJoined(GetBundleID(), suffix);
}

CFURLRef CreatePDEContentsURL(CFStringRef key) {
  CFBundleRef bundle = MyGetBundle(key);
  if (bundle == nullptr) bundle = GetBundleRef();
  if (bundle == nullptr) return nullptr;
  CFRef<CFURLRef> bundleURL(CFBundleCopyBundleURL(bundle));
  if (!bundleURL) return nullptr;
  CFRef<CFStringRef> contents(
      CFStringCreateWithCString(kCFAllocatorDefault, pde::kContentsFolder, kCFStringEncodingUTF8));
  return CFURLCreateCopyAppendingPathComponent(kCFAllocatorDefault, bundleURL.get(), contents.get(),
                                               true);
}

CFBundleRef MyGetBundle(CFStringRef identifier) {
  if (sCachedBundle == nullptr && identifier != nullptr) {
    sCachedBundle = CFBundleGetBundleWithIdentifier(identifier);
    if (sCachedBundle != nullptr) CFRetain(sCachedBundle);
  }
  return sCachedBundle;
}

void MyFreeBundle(CFStringRef) {
  if (sCachedBundle != nullptr) CFRelease(sCachedBundle);
  sCachedBundle = nullptr;
}

CFStringRef CreateRandomFileName(CFStringRef prefix, char* buffer) {
  if (buffer != nullptr) buffer[0] = '\0';
  CFRef<CFUUIDRef> uuid(CFUUIDCreate(kCFAllocatorDefault));
  CFRef<CFStringRef> text(uuid ? CFUUIDCreateString(kCFAllocatorDefault, uuid.get()) : nullptr);
  if (!text) return nullptr;
  CFStringRef name = CreateJoined(prefix, text.get());
  if (name != nullptr && buffer != nullptr)
    CopyTextCut(name, kCFStringEncodingUTF8, buffer, kRandomFileNameSize);
  return name;
}

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

}  // namespace

CFStringRef CreatePrinterSettingsKey(CFStringRef bundleID, CFStringRef makeAndModel) {
  std::string key = UTF8Text(bundleID);
  ReplaceAll(key, ".PInf", "." + UTF8Text(makeAndModel) + ".PInf");
  ReplaceAll(key, " ", "_");
  return CreateText(key);
}
