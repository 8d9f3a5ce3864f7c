#include "print/PMTicket.h"

#include <memory>

#include "print/TicketTable.h"

namespace {

PrintTicket* TicketOf(PMTicketRef ticket) {
  return TicketTable::Shared().Find(TicketTable::HandleOf(ticket));
}

bool IsPropertyListValue(CFTypeRef value) {
  CFTypeID type = CFGetTypeID(value);
  return type == CFStringGetTypeID() || type == CFNumberGetTypeID() ||
         type == CFBooleanGetTypeID() || type == CFDataGetTypeID() || type == CFArrayGetTypeID() ||
         type == CFDictionaryGetTypeID();
}

// The item of the key at the top level, when it has the type (0: any type).
template <class Value>
OSStatus GetTyped(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                  CFTypeID type, Value* value) {
  if (value == nullptr) return kPMInvalidParameter;
  *value = nullptr;
  PrintTicket* object = TicketOf(ticket);
  if (object == nullptr) return kPMInvalidTicket;
  if (nodeIndex1 != kPMTopLevel || nodeIndex2 != kPMTopLevel) return kPMInvalidIndex;
  if (key == nullptr) return kPMInvalidKey;
  const PrintTicket::Item* item = object->Find(key);
  if (item == nullptr) return kPMKeyNotFound;
  if (type != 0 && CFGetTypeID(item->value.get()) != type) return kPMInvalidType;
  *value = static_cast<Value>(item->value.get());
  return kPMNoError;
}

}  // namespace

OSStatus PMTicketCreate(CFAllocatorRef, CFStringRef ticketType, PMTicketRef* newTicket) {
  if (newTicket == nullptr) return kPMInvalidParameter;
  *newTicket = nullptr;
  if (ticketType == nullptr) return kPMInvalidType;
  UInt32 handle = TicketTable::Shared().Add(std::make_unique<PrintTicket>(ticketType));
  if (handle == 0) return memFullErr;
  *newTicket = TicketTable::ReferenceOf(handle);
  return kPMNoError;
}

OSStatus PMTicketRetain(PMTicketRef ticket) {
  return TicketTable::Shared().Retain(TicketTable::HandleOf(ticket)) ? kPMNoError
                                                                     : kPMInvalidTicket;
}

OSStatus PMTicketReleaseAndClear(PMTicketRef* ticket) {
  if (ticket == nullptr) return kPMInvalidParameter;
  bool released = TicketTable::Shared().Release(TicketTable::HandleOf(*ticket));
  *ticket = nullptr;
  return released ? kPMNoError : kPMInvalidTicket;
}

OSStatus PMTicketGetType(PMTicketRef ticket, CFStringRef* ticketType) {
  if (ticketType == nullptr) return kPMInvalidParameter;
  PrintTicket* object = TicketOf(ticket);
  *ticketType = object != nullptr ? object->Type() : nullptr;
  return object != nullptr ? kPMNoError : kPMInvalidTicket;
}

OSStatus PMTicketGetTicket(PMTicketRef ticket, CFStringRef ticketType, UInt32 index,
                           PMTicketRef* retrievedTicket) {
  if (retrievedTicket == nullptr) return kPMInvalidParameter;
  *retrievedTicket = nullptr;
  PrintTicket* object = TicketOf(ticket);
  if (object == nullptr) return kPMInvalidTicket;
  if (ticketType == nullptr) return kPMInvalidType;
  UInt32 handle = object->ContainedTicket(ticketType, index);
  if (handle == 0) return kPMNoSuchEntry;
  *retrievedTicket = TicketTable::ReferenceOf(handle);
  return kPMNoError;
}

OSStatus PMTicketSetTicket(PMTicketRef containingTicket, PMTicketRef ticketToSet, UInt32 index) {
  PrintTicket* container = TicketOf(containingTicket);
  PrintTicket* contained = TicketOf(ticketToSet);
  if (container == nullptr || contained == nullptr || container == contained)
    return kPMInvalidTicket;
  UInt32 handle = TicketTable::HandleOf(ticketToSet);
  TicketTable::Shared().Retain(handle);
  if (container->SetContainedTicket(contained->Type(), index, handle)) return kPMNoError;
  TicketTable::Shared().Release(handle);
  return kPMInvalidIndex;
}

OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item) {
  return GetTyped(ticket, nodeIndex1, nodeIndex2, key, 0, item);
}

OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* value) {
  return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFStringGetTypeID(), value);
}

OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* value) {
  return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFDataGetTypeID(), value);
}

OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* value) {
  return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFArrayGetTypeID(), value);
}

OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* value) {
  return GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFDictionaryGetTypeID(), value);
}

OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value) {
  if (value == nullptr) return kPMInvalidParameter;
  *value = 0;
  CFNumberRef number = nullptr;
  OSStatus status = GetTyped(ticket, nodeIndex1, nodeIndex2, key, CFNumberGetTypeID(), &number);
  if (status != kPMNoError) return status;
  SInt32 converted = 0;
  if (!CFNumberGetValue(number, kCFNumberSInt32Type, &converted)) return kPMInvalidValue;
  *value = converted;
  return kPMNoError;
}

OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked) {
  PrintTicket* object = TicketOf(ticket);
  if (object == nullptr) return kPMInvalidTicket;
  if (clientID == nullptr) return kPMInvalidParameter;
  if (key == nullptr) return kPMInvalidKey;
  if (item == nullptr || !IsPropertyListValue(item)) return kPMInvalidValue;
  return object->Set(clientID, key, item, locked);
}

OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef value, Boolean locked) {
  return PMTicketSetItem(ticket, clientID, key, value, locked);
}

OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef value, Boolean locked) {
  return PMTicketSetItem(ticket, clientID, key, value, locked);
}

OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef value, Boolean locked) {
  return PMTicketSetItem(ticket, clientID, key, value, locked);
}

OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef value, Boolean locked) {
  return PMTicketSetItem(ticket, clientID, key, value, locked);
}

OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked) {
  CFRef<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value));
  if (!number) return memFullErr;
  return PMTicketSetItem(ticket, clientID, key, number.get(), locked);
}

OSStatus PMTicketReleaseItem(PMTicketRef ticket, CFStringRef key) {
  PrintTicket* object = TicketOf(ticket);
  if (object == nullptr) return kPMInvalidTicket;
  if (key == nullptr) return kPMInvalidKey;
  return object->Remove(key);
}
