#include "TicketMemory.h"

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "host/ScratchFolders.h"
#include "host/TicketsFile.h"
#include "paths/PlatformPaths.h"
#include "plugin/SessionFunctions.h"
#include "plugin/TextBuffer.h"
#include "print/PMTicket.h"

namespace {

#define kCreator CFSTR("zpx-print")

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

std::string TicketMemory::PercentEncoded(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : name) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '_' || (c == '.' && !encoded.empty());
    if (plain) {
      encoded += char(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

TicketMemory::TicketMemory(const std::string& printerName) {
  std::string folder = PlatformPaths::Get(PlatformPaths::kConfigFolder);
  if (!folder.empty()) mPath = folder + "/zpx-print/" + PercentEncoded(printerName) + ".plist";
}

void TicketMemory::Forget() const {
  if (!mPath.empty()) unlink(mPath.c_str());
}

std::string TicketMemory::Load(PMPrintSession session) const {
  if (mPath.empty()) return "";
  OSStatus status = TicketsFile::Load(session, mPath.c_str());
  if (status == noErr || status == fnfErr) return "";
  return "ignoring the unreadable tickets file " + mPath + " (" + std::to_string(status) + ")";
}

void TicketMemory::LeaveOut(CFStringRef valuesKey, const std::vector<std::string>& keys) {
  mValuesKey = CFRef<CFStringRef>::Retain(valuesKey);
  mLeftOut = keys;
}

bool TicketMemory::RemoveLeftOut(PMPrintSession session) const {
  PMTicketRef settings = nullptr;
  CFDictionaryRef values = nullptr;
  if (!mValuesKey || MyGetTicket(session, kPDE_PMPrintSettingsRef, settings) != noErr ||
      PMTicketGetCFDictionary(settings, kPMTopLevel, kPMTopLevel, mValuesKey.get(), &values) !=
          noErr)
    return true;  // no values, none to leave out
  const size_t count = size_t(CFDictionaryGetCount(values));
  std::vector<const void*> keys(count), items(count);
  CFDictionaryGetKeysAndValues(values, keys.data(), items.data());
  CFRef<CFMutableDictionaryRef> kept(CFDictionaryCreateMutable(
      kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
  if (!kept) return false;
  for (size_t index = 0; index < count; ++index) {
    const bool isText = CFGetTypeID(keys[index]) == CFStringGetTypeID();
    const std::string key = isText ? UTF8Text(static_cast<CFStringRef>(keys[index])) : "";
    if (isText && std::find(mLeftOut.begin(), mLeftOut.end(), key) == mLeftOut.end())
      CFDictionarySetValue(kept.get(), keys[index], items[index]);
  }
  return PMTicketSetCFDictionary(settings, kCreator, mValuesKey.get(), kept.get(), false) == noErr;
}

bool TicketMemory::Save(PMPrintSession session) const {
  if (mPath.empty() || !RemoveLeftOut(session)) return false;
  std::string folder = mPath.substr(0, mPath.find_last_of('/'));
  if (!MakeFolder(folder.substr(0, folder.find_last_of('/'))) || !MakeFolder(folder)) return false;
  std::string temporary = mPath + ".new-" + std::to_string(getpid());
  ScratchFolders::Claim(temporary);
  mode_t before = umask(077);
  bool saved = TicketsFile::Save(session, temporary.c_str()) == noErr;
  umask(before);
  saved =
      saved && chmod(temporary.c_str(), 0600) == 0 && rename(temporary.c_str(), mPath.c_str()) == 0;
  if (!saved) unlink(temporary.c_str());
  ScratchFolders::Release(temporary);
  return saved;
}
