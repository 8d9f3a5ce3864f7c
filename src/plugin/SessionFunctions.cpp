#include "plugin/SessionFunctions.h"

#include <cstdint>

#include "cf/CFRef.h"
#include "cf/CFURLFSRef.h"

PMTicketRef TicketFromSessionNumber(long number) {
  // A ticket reference is a handle of the print system, not an address: any
  // number is safe to pass, and one that names no ticket is refused there.
  return reinterpret_cast<PMTicketRef>(static_cast<uintptr_t>(static_cast<UInt32>(number)));
}

OSStatus MyGetTicket(PMPrintSession session, CFStringRef ticketName, PMTicketRef& ticket) {
  CFTypeRef datum = nullptr;
  OSStatus status = PMSessionGetDataFromSession(session, ticketName, &datum);
  if (status != noErr) return status;
  SInt32 number = 0;
  if (CFGetTypeID(datum) != CFNumberGetTypeID() ||
      !CFNumberGetValue(static_cast<CFNumberRef>(datum), kCFNumberSInt32Type, &number))
    return kPMInvalidValue;
  ticket = TicketFromSessionNumber(number);
  return noErr;
}

CFStringRef GetCurrentPrinterName(PMPrintSession session) {
  PMPrinter printer = nullptr;
  if (PMSessionGetCurrentPrinter(session, &printer) != noErr) return nullptr;
  return PMPrinterGetName(printer);
}

OSStatus GetPPDFile(PMPrintSession session, CFURLRef& url, FSRef& fileRef) {
  url = nullptr;
  PMPrinter printer = nullptr;
  OSStatus status = PMSessionGetCurrentPrinter(session, &printer);
  if (status != noErr) return status;
  CFURLRef found = nullptr;
  status = PMPrinterCopyDescriptionURL(printer, kPMPPDDescriptionType, &found);
  if (status != noErr) return status;
  if (!CFURLGetFSRef(found, &fileRef)) {
    CFRelease(found);
    return fnfErr;
  }
  url = found;
  return noErr;
}

CFStringRef CopyPrinterConnectionType(PMPrintSession session) {
  PMPrinter printer = nullptr;
  if (PMSessionGetCurrentPrinter(session, &printer) != noErr) return nullptr;
  CFURLRef uri = nullptr;
  if (PMPrinterCopyDeviceURI(printer, &uri) != noErr) return nullptr;
  CFRef<CFURLRef> deviceURI(uri);
  return CFURLCopyScheme(deviceURI.get());
}

namespace {

// Whether the connection's scheme is exactly `scheme`; false without one.
bool IsConnection(PMPrintSession session, CFStringRef scheme) {
  CFRef<CFStringRef> type(CopyPrinterConnectionType(session));
  return type && CFStringCompare(type.get(), scheme, 0) == kCFCompareEqualTo;
}

}  // namespace

bool isUSBPrinterConnection(PMPrintSession session) { return IsConnection(session, CFSTR("usb")); }

bool isAppleTalkPrinterConnection(PMPrintSession session) {
  return IsConnection(session, CFSTR("pap"));
}

bool isIPPrinterConnection(PMPrintSession session) { return IsConnection(session, CFSTR("ipp")); }
