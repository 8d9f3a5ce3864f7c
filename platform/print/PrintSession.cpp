#include "print/PrintSession.h"

#include "print/TicketTable.h"

namespace {

UInt32 NewTicket(CFStringRef type) {
  PMTicketRef ticket = nullptr;
  return PMTicketCreate(kCFAllocatorDefault, type, &ticket) == kPMNoError
             ? TicketTable::HandleOf(ticket)
             : 0;
}

// A page format ticket comes with its paper-info ticket.
bool AddPaperInfo(UInt32 pageFormat) {
  PMTicketRef paperInfo = TicketTable::ReferenceOf(NewTicket(kPMPaperInfoTicket));
  OSStatus status = PMTicketSetTicket(TicketTable::ReferenceOf(pageFormat), paperInfo, 0);
  PMTicketReleaseAndClear(&paperInfo);
  return status == kPMNoError;
}

}  // namespace

OpaquePMPrintSession::OpaquePMPrintSession()
    : mData(CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                      &kCFTypeDictionaryValueCallBacks)) {
  mValid = bool(mData);
  for (int which = 0; which < kTicketCount; ++which) {
    mTickets[which] = NewTicket(TicketType(which));
    mValid = mValid && mTickets[which] != 0;
    if (mData) PublishTicket(which);
  }
  mValid = mValid && AddPaperInfo(mTickets[kPageFormat]);
}

OpaquePMPrintSession::~OpaquePMPrintSession() {
  for (UInt32 ticket : mTickets) TicketTable::Shared().Release(ticket);
  SetPrinter(nullptr);
}

OpaquePMPrintSession* OpaquePMPrintSession::From(PMPrintSession session) {
  return dynamic_cast<OpaquePMPrintSession*>(PrintObject::Live(session));
}

namespace {

struct TicketKind {
  CFStringRef (*name)();
  CFStringRef (*type)();
};

// Indexed by the session's ticket numbers.
const TicketKind kTicketKinds[OpaquePMPrintSession::kTicketCount] = {
    {[] { return kPDE_PMPrintSettingsRef; }, [] { return kPMPrintSettingsTicket; }},
    {[] { return kPDE_PMPrinterInfoRef; }, [] { return kPMPrinterInfoTicket; }},
    {[] { return kPDE_PMPageFormatRef; }, [] { return kPMPageFormatTicket; }},
};

}  // namespace

CFStringRef OpaquePMPrintSession::TicketName(int which) { return kTicketKinds[which].name(); }

CFStringRef OpaquePMPrintSession::TicketType(int which) { return kTicketKinds[which].type(); }

void OpaquePMPrintSession::PublishTicket(int which) {
  SInt32 handle = SInt32(mTickets[which]);
  CFRef<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &handle));
  if (number) SetDatum(TicketName(which), number.get());
}

void OpaquePMPrintSession::ReplaceTickets(const UInt32 (&tickets)[kTicketCount]) {
  for (int which = 0; which < kTicketCount; ++which) {
    TicketTable::Shared().Release(mTickets[which]);
    mTickets[which] = tickets[which];
    PublishTicket(which);
  }
}

CFTypeRef OpaquePMPrintSession::Datum(CFStringRef key) const {
  return CFDictionaryGetValue(mData.get(), key);
}

void OpaquePMPrintSession::SetDatum(CFStringRef key, CFTypeRef value) {
  CFDictionarySetValue(mData.get(), key, value);
}

void OpaquePMPrintSession::SetPrinter(PMPrinter printer) {
  if (printer != nullptr) PMRetain(printer);
  if (mPrinter != nullptr) PMRelease(mPrinter);
  mPrinter = printer;
}
