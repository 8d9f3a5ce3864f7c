#include "output/ZPXJobTicket.h"

#include <unistd.h>

#include <cstring>
#include <memory>
#include <new>

#include "PPDX/PPDObjects/PPDXControl.h"
#include "PPDX/PPDRef.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFText.h"
#include "comm/PrinterListFile.h"
#include "foundation/CFDataStream.h"
#include "foundation/Settings.h"
#include "output/ExclusiveFile.h"
#include "output/PrintSettingsTicket.h"
#include "paths/PlatformPaths.h"
#include "plugin/BundleFunctions.h"
#include "plugin/TextBuffer.h"

namespace {

// The temporary file's name: this prefix and a fresh UUID.
constexpr const char* kTemporaryFilePrefix = "Nimbo.temp";

}  // namespace

ZPXJobTicket::ZPXJobTicket(PrintSettingsTicket* settings, CFStringRef key) : mSettings(settings) {
  if (settings == nullptr || key == nullptr) return;
  mKey.reset(CFStringCreateCopy(kCFAllocatorDefault, key));
  // An entries array handed over through the session would come as a number
  // holding its reference; no number can carry one here, and nothing in the
  // system hands one over, so the ticket always starts its own.
  mValid = Create() == noErr;
}

ZPXJobTicket::~ZPXJobTicket() {
  if (mOwnsEntries && mEntries != nullptr) CFRelease(mEntries);
}

OSStatus ZPXJobTicket::Create() {
  CFMutableArrayRef entries = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  if (entries == nullptr) return Result(memFullErr);
  if (mOwnsEntries && mEntries != nullptr) CFRelease(mEntries);
  mEntries = entries;
  mOwnsEntries = true;
  return Result(noErr);
}

bool ZPXJobTicket::Add(PostScriptInjectionSite site, const void* bytes, long length) {
  SInt32 siteNumber = site;
  CFRef<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &siteNumber));
  CFRef<CFDataRef> data(
      length > 0 && bytes != nullptr
          ? CFDataCreate(kCFAllocatorDefault, static_cast<const UInt8*>(bytes), CFIndex(length))
          : nullptr);
  Result(noErr);
  if (mEntries == nullptr || length <= 0) return true;
  if (!number || !data) return Result(memFullErr) == noErr;
  mDirty = true;
  CFArrayAppendValue(mEntries, number.get());
  CFArrayAppendValue(mEntries, data.get());
  ++mCount;
  return true;
}

bool ZPXJobTicket::Add(PostScriptInjectionSite site, PPDXControl* control) {
  if (control == nullptr) return false;
  long length = control->PostScript(nullptr);
  if (length <= 0) return Add(site, nullptr, 0);
  unsigned char local[kLocalBufferSize];
  std::unique_ptr<unsigned char[]> allocated;
  unsigned char* buffer = local;
  if (length > kLocalBufferSize) {
    allocated.reset(new (std::nothrow) unsigned char[size_t(length)]);
    if (!allocated) return Result(memFullErr) == noErr;
    buffer = allocated.get();
  }
  long written = control->PostScript(buffer);
  return Add(site, buffer, written < length ? written : length);
}

bool ZPXJobTicket::Save(CFStringRef clientID) {
  if (mSettings == nullptr || mSettings->Ticket() == nullptr) return false;
  if (!mDirty) return true;
  if (clientID == nullptr) return false;
  if (mCount == 0) return true;
  if (mEntries == nullptr) {
    mDirty = false;
    return false;
  }
  mDirty = false;
  CFRef<CFDataRef> xml(CFPropertyListCreateXMLData(kCFAllocatorDefault, mEntries));
  if (!xml) return Result(memFullErr) == noErr;
  std::string prefixPath =
      PlatformPaths::Below(PlatformPaths::kTemporaryFolder, kTemporaryFilePrefix);
  CFRef<CFStringRef> prefix(CreateText(prefixPath));
  char path[kRandomFileNameSize];
  CFRef<CFStringRef> name(CreateRandomFileName(prefix.get(), path));
  // A name cut to fit the buffer would not be the one we meant to make.
  if (!name || !prefix ||
      long(std::strlen(path)) != EncodedLength(name.get(), kCFStringEncodingUTF8))
    return Result(bdNamErr) == noErr;
  if (Result(ExclusiveFile::Write(path, xml.get())) != noErr) return false;
  if (mSettings->Set(clientID, mKey.get(), name.get(), false) == noErr)
    return Result(noErr) == noErr;
  Result(mSettings->LastStatus());
  unlink(path);
  return false;
}

OSStatus ZPXJobTicket::EnforceCopiesLimit(CFStringRef clientID, long copies) {
  if (mSettings == nullptr) return Result(kPMInvalidTicket);
  return Result(mSettings->Set(clientID, kPMCopiesKey, copies, false));
}

long ZPXJobTicket::GetCopies() {
  long copies = 0;
  if (mSettings == nullptr || Result(mSettings->GetInt(kPMCopiesKey, copies)) != noErr) return 0;
  return copies;
}

bool ZPXJobTicket::Invalidate(CFStringRef) {
  if (mSettings != nullptr && mKey) Result(mSettings->Release(mKey.get()));
  return true;
}

bool ZPXJobTicket::StoreDictionary(CFDictionaryRef values, CFStringRef key) {
  if (values == nullptr) return Result(memFullErr) == noErr;
  return Result(mSettings->Set(key, key, values, false)) == noErr;
}

OSStatus ZPXJobTicket::SavePPDForAllKeys(ZPXPPD* document, CFStringRef key) {
  if (mSettings == nullptr || document == nullptr) return Result(paramErr);
  CFRef<CFMutableDictionaryRef> values(document->CopyAllValues());
  StoreDictionary(values.get(), key);
  return mLastStatus;
}

OSStatus ZPXJobTicket::RestorePPDForAllKeys(ZPXPPD* document, CFStringRef, CFStringRef key) {
  if (mSettings == nullptr || document == nullptr) return Result(paramErr);
  CFDictionaryRef values = nullptr;
  if (Result(mSettings->Get(key, values)) == noErr) document->SetAllValues(values);
  return mLastStatus;
}

OSStatus ZPXJobTicket::SavePPDForKeys(ZPXPPD* document, CFStringRef key, CFArrayRef valueKeys) {
  if (mSettings == nullptr || document == nullptr || valueKeys == nullptr) return Result(paramErr);
  CFRef<CFMutableDictionaryRef> values(CFDictionaryCreateMutable(
      kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
  for (CFIndex index = 0; values && index < CFArrayGetCount(valueKeys); ++index) {
    CFTypeRef valueKey = CFArrayGetValueAtIndex(valueKeys, index);
    if (CFGetTypeID(valueKey) != CFStringGetTypeID()) continue;
    CFRef<CFStringRef> value(document->CopyValueForKey(static_cast<CFStringRef>(valueKey)));
    if (value) CFDictionarySetValue(values.get(), valueKey, value.get());
  }
  StoreDictionary(values.get(), key);
  return mLastStatus;
}

OSStatus ZPXJobTicket::RestorePPDForKeys(ZPXPPD* document, CFStringRef key, CFArrayRef valueKeys) {
  if (mSettings == nullptr || document == nullptr || valueKeys == nullptr) return Result(paramErr);
  CFDictionaryRef values = nullptr;
  if (Result(mSettings->Get(key, values)) != noErr) return mLastStatus;
  for (CFIndex index = 0; index < CFArrayGetCount(valueKeys); ++index) {
    CFTypeRef valueKey = CFArrayGetValueAtIndex(valueKeys, index);
    if (CFGetTypeID(valueKey) != CFStringGetTypeID()) continue;
    // The ticket comes from outside: only strings are values.
    CFTypeRef value = CFDictionaryGetValue(values, valueKey);
    if (value != nullptr && CFGetTypeID(value) != CFStringGetTypeID()) value = nullptr;
    document->SetValueForKey(static_cast<CFStringRef>(valueKey), static_cast<CFStringRef>(value));
  }
  return mLastStatus;
}

bool ZPXJobTicket::SavePPD(ZPXPPD* document, CFStringRef key, CFURLRef) {
  if (mSettings == nullptr || document == nullptr) return Result(paramErr) == noErr;
  Settings settings;
  CFDataStream stream;
  if (!settings.Valid() || !stream.valid() || !document->Save(settings))
    return Result(memFullErr) == noErr;
  if (OSStatus status = settings.Save(&stream)) return Result(status) == noErr;
  CFRef<CFDataRef> xml(CFPropertyListCreateXMLData(kCFAllocatorDefault, stream.GetData()));
  if (!xml) return Result(memFullErr) == noErr;
  return Result(mSettings->Set(key, key, xml.get(), false)) == noErr;
}

ZPXPPD* ZPXJobTicket::RestorePPD(CFStringRef key, CFURLRef url) {
  if (mSettings == nullptr) return nullptr;
  CFDataRef xml = nullptr;
  if (Result(mSettings->Get(key, xml)) != noErr) return nullptr;
  CFRef<CFPropertyListRef> blob(
      CFPropertyListCreateFromXMLData(kCFAllocatorDefault, xml, kCFPropertyListImmutable, nullptr));
  if (!blob || CFGetTypeID(blob.get()) != CFDataGetTypeID()) return nullptr;
  CFRef<CFURLRef> contents(CreatePDEContentsURL(key));
  if (!contents) return nullptr;
  PrinterListFile printerList(contents.get(), kCFPropertyListImmutable);
  if (!printerList.IsValid()) return nullptr;
  CFDataStream stream(static_cast<CFDataRef>(blob.get()));
  Settings settings;
  if (!stream.valid() || settings.Read(&stream, 0) != noErr) return nullptr;
  // The document takes over a reference to the printer names.
  PPDRef<ZPXPPD> document(
      new ZPXPPD(settings, url, static_cast<CFArrayRef>(CFRetain(printerList.GetFileNames()))));
  return document->IsValidPrinterName() && document->IsValidPPD() ? document.release() : nullptr;
}
