#pragma once
// The object behind a PMPrintSession: the current printer, the data kept by
// name and the session's own three tickets.

#include <vector>

#include "cf/CFRef.h"
#include "print/PMPrintSession.h"
#include "print/PrintObject.h"

struct OpaquePMPrintSession : PrintObject {
  // The session's tickets, in the order of kTicketNames.
  enum { kPrintSettings, kPrinterInfo, kPageFormat, kTicketCount };

  // Valid() is false when the tickets could not be made.
  OpaquePMPrintSession();
  ~OpaquePMPrintSession() override;

  static OpaquePMPrintSession* From(PMPrintSession session);
  // The session data name and the ticket type of each ticket.
  static CFStringRef TicketName(int which);
  static CFStringRef TicketType(int which);

  bool Valid() const { return mValid; }
  UInt32 Ticket(int which) const { return mTickets[which]; }
  // Adopts the holds on the given tickets in place of the session's own, and
  // points the session data at them.
  void ReplaceTickets(const UInt32 (&tickets)[kTicketCount]);

  CFTypeRef Datum(CFStringRef key) const;
  void SetDatum(CFStringRef key, CFTypeRef value);

  void SetPrinter(PMPrinter printer);
  PMPrinter Printer() const { return mPrinter; }

 private:
  void PublishTicket(int which);

  UInt32 mTickets[kTicketCount] = {};
  bool mValid = false;
  CFRef<CFMutableDictionaryRef> mData;
  PMPrinter mPrinter = nullptr;
};
