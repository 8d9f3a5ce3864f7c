#include "output/JobTicket.h"

#include "plugin/SessionFunctions.h"

// Without a ticket the print system itself answers kPMInvalidTicket and clears
// the outputs of reads.

JobTicket::JobTicket() = default;

JobTicket::JobTicket(CFStringRef ticketType) {
  mValid = Result(PMTicketCreate(kCFAllocatorDefault, ticketType, &mTicket)) == noErr;
  mOwnsTicket = mValid;
}

JobTicket::JobTicket(PMPrintSession session) : mSession(session) {
  BindSessionTicket(kPDE_PMPrintSettingsRef);
  mValid = true;
}

JobTicket::~JobTicket() {
  if (mOwnsTicket) PMTicketReleaseAndClear(&mTicket);
}

bool JobTicket::BindSessionTicket(CFStringRef name) {
  long number = 0;
  mTicket = Get(name, number) == noErr ? TicketFromSessionNumber(number) : nullptr;
  return mTicket != nullptr;
}

OSStatus JobTicket::Get(CFStringRef key, long& value) {
  value = 0;
  CFTypeRef datum = nullptr;
  if (PMSessionGetDataFromSession(mSession, key, &datum) != noErr)
    return Result(kPMInvalidPrintSettings);
  SInt32 number = 0;
  if (CFGetTypeID(datum) != CFNumberGetTypeID() ||
      !CFNumberGetValue(static_cast<CFNumberRef>(datum), kCFNumberSInt32Type, &number))
    return Result(kPMInvalidValue);
  value = number;
  return Result(number != 0 ? OSStatus(noErr) : OSStatus(kPMInvalidPrintSettings));
}

OSStatus JobTicket::Get(CFStringRef key, CFDataRef& value) {
  return Result(PMTicketGetCFData(mTicket, kPMTopLevel, kPMTopLevel, key, &value));
}

OSStatus JobTicket::Get(CFStringRef key, CFStringRef& value) {
  return Result(PMTicketGetCFString(mTicket, kPMTopLevel, kPMTopLevel, key, &value));
}

OSStatus JobTicket::Get(CFStringRef key, CFDictionaryRef& value) {
  return Result(PMTicketGetCFDictionary(mTicket, kPMTopLevel, kPMTopLevel, key, &value));
}

OSStatus JobTicket::GetInt(CFStringRef key, long& value) {
  SInt32 number = 0;
  OSStatus status = PMTicketGetSInt32(mTicket, kPMTopLevel, kPMTopLevel, key, &number);
  value = number;
  return Result(status);
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFArrayRef value, bool locked) {
  return Result(PMTicketSetCFArray(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFStringRef value, bool locked) {
  return Result(PMTicketSetCFString(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFDataRef value, bool locked) {
  return Result(PMTicketSetCFData(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, CFDictionaryRef value, bool locked) {
  return Result(PMTicketSetCFDictionary(mTicket, clientID, key, value, locked));
}

OSStatus JobTicket::Set(CFStringRef clientID, CFStringRef key, long value, bool locked) {
  return Result(PMTicketSetSInt32(mTicket, clientID, key, SInt32(value), locked));
}

OSStatus JobTicket::Release(CFStringRef key) { return Result(PMTicketReleaseItem(mTicket, key)); }
