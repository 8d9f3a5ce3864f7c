#pragma once
// What several parts of the plug-in ask of the print session: its tickets, the
// current printer's name, its PPD file and how it is connected.

#include "carbon/Files.h"
#include "cf/CoreFoundation.h"
#include "print/PMPrintSession.h"

// The ticket reference that a session datum holds as a 32-bit number.
PMTicketRef TicketFromSessionNumber(long number);

// The ticket kept under the name (e.g. "PMPageFormatTicket"). The session's
// status when it has no such datum; kPMInvalidValue (-30889), ticket left
// unset, when the datum is not a 32-bit number.
OSStatus MyGetTicket(PMPrintSession session, CFStringRef ticketName, PMTicketRef& ticket);
// Borrowed; null without a current printer.
CFStringRef GetCurrentPrinterName(PMPrintSession session);
// The current printer's PPD: its URL (the caller releases it) and its file.
// The first failing status; fnfErr (-43) when the URL names no file.
OSStatus GetPPDFile(PMPrintSession session, CFURLRef& url, FSRef& fileRef);
// The scheme of the current printer's device URI, or null; the caller releases it.
CFStringRef CopyPrinterConnectionType(PMPrintSession session);
bool isUSBPrinterConnection(PMPrintSession session);
bool isAppleTalkPrinterConnection(PMPrintSession session);
bool isIPPrinterConnection(PMPrintSession session);
