#include "plugin/PDEBundle.h"

#include "carbon/SysBeep.h"
#include "carbon/TextCommon.h"
#include "plugin/TextBuffer.h"

CFBundleRef PDEBundle::sDefaultBundle = nullptr;
bool PDEBundle::sInitialized = false;

void PDEBundle::InitBundle(CFBundleRef bundle) {
  if (bundle != nullptr) CFRetain(bundle);
  if (sDefaultBundle != nullptr) CFRelease(sDefaultBundle);
  sDefaultBundle = bundle;
  sInitialized = true;
}

CFBundleRef PDEBundle::BundleOrDefault(CFBundleRef bundle) {
  return bundle != nullptr ? bundle : sDefaultBundle;
}

CFStringRef PDEBundle::CopyLocalizedCFString(CFStringRef key, CFBundleRef bundle) {
  return CopyLocalizedCFStringFromFile(key, nullptr, bundle);
}

CFStringRef PDEBundle::CopyLocalizedCFStringFromFile(CFStringRef key, CFStringRef table,
                                                     CFBundleRef bundle) {
  CFBundleRef source = BundleOrDefault(bundle);
  if (source == nullptr || key == nullptr) return nullptr;
  return CFBundleCopyLocalizedString(source, key, key, table);
}

long PDEBundle::GetLocalizedString(CFStringRef key, char* buffer, long size, CFBundleRef bundle) {
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  CFStringRef text = CopyLocalizedCFString(key, bundle);
  if (text == nullptr) return 0;
  long length = CopyTextCut(text, GetApplicationTextEncoding(), buffer, size);
  CFRelease(text);
  return length > 0 ? length : 0;
}

bool PDEBundle::ConvertCFString(CFStringRef string, char* buffer, long size,
                                CFStringEncoding encoding) {
  if (CopyTextCut(string, encoding, buffer, size) >= 0) return true;
  SysBeep(1);
  return false;
}
