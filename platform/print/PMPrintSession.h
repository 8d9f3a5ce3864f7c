#pragma once
// Print sessions and printers of the print system. A session knows its
// current printer and keeps data by name; among them its three tickets, each
// kept as a 32-bit number that holds the ticket reference, under the names the
// dialog extensions read.

#include "cf/CoreFoundation.h"
#include "print/PMErrors.h"
#include "print/PMTicket.h"

typedef const void* PMObject;
typedef struct OpaquePMPrintSession* PMPrintSession;
typedef struct OpaquePMPrinter* PMPrinter;

#define kPMPPDDescriptionType CFSTR("PMPPDDescriptionType")

// Session data names of the session's tickets.
#define kPDE_PMPrintSettingsRef CFSTR("PMPrintSettingsTicket")
#define kPDE_PMPageFormatRef CFSTR("PMPageFormatTicket")
#define kPDE_PMPrinterInfoRef CFSTR("PMPrinterInfoTicket")

// Sessions and printers are counted objects: created with one hold, which
// PMRelease gives up. An object that is not alive answers kPMInvalidParameter.
OSStatus PMRetain(PMObject object);
OSStatus PMRelease(PMObject object);

// A new session with an empty print settings ticket, an empty printer info
// ticket and a page format ticket that contains an empty paper-info ticket.
OSStatus PMCreateSession(PMPrintSession* printSession);
// The current printer (borrowed); kPMInvalidPrinter when none was chosen.
OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter);
OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession printSession, PMPrinter printer);
// The datum kept under the key (borrowed); kPMKeyNotFound when there is none.
OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key, CFTypeRef* data);
// Keeps (retains) the datum under the key, replacing what was there.
OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data);

// The host's printer: a queue name, its make and model, the PPD that describes
// it and its device URI (each but the name may be NULL).
OSStatus PMPrinterCreate(CFStringRef name, CFStringRef makeAndModel, CFURLRef ppdURL,
                         CFURLRef deviceURI, PMPrinter* printer);
// Borrowed; NULL for an object that is not a printer.
CFStringRef PMPrinterGetName(PMPrinter printer);
OSStatus PMPrinterGetMakeAndModelName(PMPrinter printer, CFStringRef* makeAndModel);
// The URL of the printer's description of that type; only PPD descriptions
// exist (kPMPPDDescriptionType). kPMNoSuchEntry when the printer has none.
OSStatus PMPrinterCopyDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                     CFURLRef* fileURL);
OSStatus PMPrinterCopyDeviceURI(PMPrinter printer, CFURLRef* deviceURI);
