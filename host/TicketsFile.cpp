#include "host/TicketsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "cf/RegularFileReader.h"
#include "print/PrintSession.h"
#include "print/TicketTable.h"

namespace {

#define kTypeField CFSTR("Type")
#define kItemsField CFSTR("Items")
#define kTicketsField CFSTR("Tickets")
#define kKeyField CFSTR("Key")
#define kValueField CFSTR("Value")
#define kCreatorField CFSTR("Creator")
#define kLockedField CFSTR("Locked")

CFMutableDictionaryRef NewDictionary() {
  return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                   &kCFTypeDictionaryValueCallBacks);
}

CFMutableArrayRef NewArray() {
  return CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
}

CFDictionaryRef CreateItemList(const PrintTicket::Item& item) {
  CFMutableDictionaryRef entry = NewDictionary();
  CFDictionarySetValue(entry, kKeyField, item.key.get());
  CFDictionarySetValue(entry, kValueField, item.value.get());
  CFDictionarySetValue(entry, kCreatorField, item.creator.get());
  CFDictionarySetValue(entry, kLockedField, item.locked ? kCFBooleanTrue : kCFBooleanFalse);
  return entry;
}

CFDictionaryRef CreateTicketList(const PrintTicket& ticket) {
  CFMutableDictionaryRef list = NewDictionary();
  CFRef<CFMutableArrayRef> items(NewArray());
  for (const PrintTicket::Item& item : ticket.Items()) {
    CFRef<CFDictionaryRef> entry(CreateItemList(item));
    CFArrayAppendValue(items.get(), entry.get());
  }
  CFRef<CFMutableArrayRef> contained(NewArray());
  for (UInt32 handle : ticket.Contained()) {
    CFRef<CFDictionaryRef> sub(CreateTicketList(*TicketTable::Shared().Find(handle)));
    CFArrayAppendValue(contained.get(), sub.get());
  }
  CFDictionarySetValue(list, kTypeField, ticket.Type());
  CFDictionarySetValue(list, kItemsField, items.get());
  CFDictionarySetValue(list, kTicketsField, contained.get());
  return list;
}

// The value under the key when it has the type, else null.
CFTypeRef Field(CFTypeRef dictionary, CFStringRef key, CFTypeID type) {
  if (dictionary == nullptr || CFGetTypeID(dictionary) != CFDictionaryGetTypeID()) return nullptr;
  CFTypeRef value = CFDictionaryGetValue(static_cast<CFDictionaryRef>(dictionary), key);
  return value != nullptr && CFGetTypeID(value) == type ? value : nullptr;
}

// Reads tickets into handles that the reader holds until they are handed over.
class TicketReader {
 public:
  ~TicketReader() {
    for (UInt32 handle : mMade) TicketTable::Shared().Release(handle);
  }

  // A new ticket (held by the reader) from its list; 0 with mStatus set when
  // the list breaks the form.
  UInt32 Read(CFTypeRef list, int depth) {
    CFStringRef type = static_cast<CFStringRef>(Field(list, kTypeField, CFStringGetTypeID()));
    CFArrayRef items = static_cast<CFArrayRef>(Field(list, kItemsField, CFArrayGetTypeID()));
    CFArrayRef contained = static_cast<CFArrayRef>(Field(list, kTicketsField, CFArrayGetTypeID()));
    if (type == nullptr || items == nullptr || contained == nullptr ||
        depth > TicketsFile::kMaximumDepth)
      return Fail(kPMInvalidTicket);
    PMTicketRef ticket = nullptr;
    if (PMTicketCreate(kCFAllocatorDefault, type, &ticket) != kPMNoError) return Fail(memFullErr);
    UInt32 handle = TicketTable::HandleOf(ticket);
    mMade.push_back(handle);
    if (!ReadItems(ticket, items) || !ReadContained(ticket, contained, depth)) return 0;
    return handle;
  }

  // Gives the caller the reader's hold on the handle.
  void HandOver(UInt32 handle) { mMade.erase(std::find(mMade.begin(), mMade.end(), handle)); }
  OSStatus Status() const { return mStatus; }

 private:
  UInt32 Fail(OSStatus status) {
    mStatus = status;
    return 0;
  }

  bool ReadItems(PMTicketRef ticket, CFArrayRef items) {
    CFIndex count = CFArrayGetCount(items);
    mItems += count;
    if (mItems > TicketsFile::kMaximumItems) return Fail(kPMInvalidTicket);
    for (CFIndex index = 0; index < count; ++index) {
      CFTypeRef entry = CFArrayGetValueAtIndex(items, index);
      CFStringRef key = static_cast<CFStringRef>(Field(entry, kKeyField, CFStringGetTypeID()));
      CFStringRef creator =
          static_cast<CFStringRef>(Field(entry, kCreatorField, CFStringGetTypeID()));
      CFBooleanRef locked =
          static_cast<CFBooleanRef>(Field(entry, kLockedField, CFBooleanGetTypeID()));
      if (key == nullptr || creator == nullptr || locked == nullptr) return Fail(kPMInvalidItem);
      CFTypeRef value = CFDictionaryGetValue(static_cast<CFDictionaryRef>(entry), kValueField);
      if (value == nullptr ||
          PMTicketSetItem(ticket, creator, key, value, CFBooleanGetValue(locked)) != kPMNoError)
        return Fail(kPMInvalidItem);
    }
    return true;
  }

  bool ReadContained(PMTicketRef ticket, CFArrayRef contained, int depth) {
    for (CFIndex index = 0; index < CFArrayGetCount(contained); ++index) {
      UInt32 handle = Read(CFArrayGetValueAtIndex(contained, index), depth + 1);
      if (handle == 0) return false;
      CFStringRef type = nullptr;
      PMTicketRef sub = TicketTable::ReferenceOf(handle);
      PMTicketGetType(sub, &type);
      UInt32 sameType = 0;
      while (PMTicketGetTicket(ticket, type, sameType, &sub) == kPMNoError) ++sameType;
      if (PMTicketSetTicket(ticket, TicketTable::ReferenceOf(handle), sameType) != kPMNoError)
        return Fail(kPMInvalidTicket);
    }
    return true;
  }

  std::vector<UInt32> mMade;
  long mItems = 0;
  OSStatus mStatus = kPMNoError;
};

OSStatus StatusOfErrno() {
  if (errno == ENOENT || errno == ENOTDIR) return fnfErr;
  if (errno == EACCES || errno == EPERM || errno == ELOOP) return permErr;
  return ioErr;
}

// The file's bytes, at most the maximum size; kPMXMLParseError beyond it.
OSStatus ReadBounded(const char* path, std::vector<UInt8>& bytes) {
  switch (RegularFileReader::Read(path, TicketsFile::kMaximumFileSize, bytes)) {
    case RegularFileReader::kRead:
      return noErr;
    case RegularFileReader::kCannotOpen:
      return StatusOfErrno();
    case RegularFileReader::kTooLarge:
      return kPMXMLParseError;
    case RegularFileReader::kNotRegular:
    case RegularFileReader::kReadFailed:
      break;
  }
  return ioErr;
}

}  // namespace

OSStatus TicketsFile::Save(PMPrintSession session, const char* path) {
  OpaquePMPrintSession* object = OpaquePMPrintSession::From(session);
  if (object == nullptr) return kPMInvalidPrintSession;
  if (path == nullptr || path[0] == '\0') return kPMInvalidParameter;
  CFRef<CFMutableDictionaryRef> file(NewDictionary());
  for (int which = 0; which < OpaquePMPrintSession::kTicketCount; ++which) {
    CFRef<CFDictionaryRef> list(
        CreateTicketList(*TicketTable::Shared().Find(object->Ticket(which))));
    CFDictionarySetValue(file.get(), OpaquePMPrintSession::TicketName(which), list.get());
  }
  CFRef<CFDataRef> xml(CFPropertyListCreateXMLData(kCFAllocatorDefault, file.get()));
  if (!xml) return memFullErr;
  CFRef<CFURLRef> url(CreateFileURL(path));
  SInt32 error = 0;
  if (url && CFURLWriteDataAndPropertiesToResource(url.get(), xml.get(), nullptr, &error))
    return noErr;
  return error == kCFURLResourceAccessViolationError ? permErr : ioErr;
}

OSStatus TicketsFile::Load(PMPrintSession session, const char* path) {
  OpaquePMPrintSession* object = OpaquePMPrintSession::From(session);
  if (object == nullptr) return kPMInvalidPrintSession;
  if (path == nullptr) return kPMInvalidParameter;
  std::vector<UInt8> bytes;
  OSStatus status = ReadBounded(path, bytes);
  if (status != noErr) return status;
  CFRef<CFDataRef> data(CFDataCreate(kCFAllocatorDefault, bytes.data(), CFIndex(bytes.size())));
  CFRef<CFPropertyListRef> list(CFPropertyListCreateFromXMLData(kCFAllocatorDefault, data.get(),
                                                                kCFPropertyListImmutable, nullptr));
  if (!list) return kPMXMLParseError;
  TicketReader reader;
  UInt32 tickets[OpaquePMPrintSession::kTicketCount] = {};
  for (int which = 0; which < OpaquePMPrintSession::kTicketCount; ++which) {
    CFStringRef name = OpaquePMPrintSession::TicketName(which);
    CFTypeRef ticket = Field(list.get(), name, CFDictionaryGetTypeID());
    tickets[which] = reader.Read(ticket, 1);
    if (tickets[which] == 0) return ticket == nullptr ? kPMInvalidTicket : reader.Status();
    // Each ticket must come back in its own place.
    if (!CFEqual(TicketTable::Shared().Find(tickets[which])->Type(),
                 OpaquePMPrintSession::TicketType(which)))
      return kPMInvalidTicket;
  }
  for (UInt32 handle : tickets) reader.HandOver(handle);
  object->ReplaceTickets(tickets);
  return noErr;
}
