#pragma once
// Job tickets of the print system: ordered sets of items (key, value, creator,
// locked flag) that may hold tickets of their own, such as the paper-info ticket
// of a page format. A ticket reference is a handle into the print system's table
// of tickets, so that it survives being kept in a 32-bit number (the sessions
// keep their tickets that way); a released or unknown handle answers
// kPMInvalidTicket, never touches memory.

#include "cf/CoreFoundation.h"
#include "print/PMErrors.h"

typedef struct OpaquePMTicketRef* PMTicketRef;

// Items are read at the top level of a ticket only.
enum : UInt32 { kPMTopLevel = 0 };

// Ticket types.
#define kPMPrintSettingsTicket CFSTR("com.apple.print.PrintSettingsTicket")
#define kPMPageFormatTicket CFSTR("com.apple.print.PageFormatTicket")
#define kPMPaperInfoTicket CFSTR("com.apple.print.PaperInfoTicket")
#define kPMPrinterInfoTicket CFSTR("com.apple.print.PrinterInfoTicket")

// Items of the print settings ticket.
#define kPMCopiesKey CFSTR("com.apple.print.PrintSettings.PMCopies")
#define kPMLayoutColumnsKey CFSTR("com.apple.print.PrintSettings.PMLayoutColumns")
#define kPMLayoutRowsKey CFSTR("com.apple.print.PrintSettings.PMLayoutRows")
#define kPMJobNameKey CFSTR("com.apple.print.JobInfo.PMJobName")
// Items of the page format and paper-info tickets.
#define kPMOrientationKey CFSTR("com.apple.print.PageFormat.PMOrientation")
#define kPMPaperNameKey CFSTR("com.apple.print.PaperInfo.ppd.PMPaperName")
#define kPMUnadjustedPaperRectKey CFSTR("com.apple.print.PaperInfo.PMUnadjustedPaperRect")
// Items of the printer info ticket.
#define kPMPrinterLongNameKey CFSTR("com.apple.print.PrinterInfo.PMPrinterLongName")
#define kPMMakeAndModelNameKey CFSTR("com.apple.print.PrinterInfo.PMMakeAndModelName")
#define kPMPrinterAddressKey CFSTR("com.apple.print.PrinterInfo.PMPrinterAddress")
#define kPMSupportsColorKey CFSTR("com.apple.print.PrinterInfo.PMSupportsColor")
#define kPMDoesCopiesKey CFSTR("com.apple.print.PrinterInfo.PMDoesCopies")
#define kPMDoesCopyCollateKey CFSTR("com.apple.print.PrinterInfo.PMDoesCopyCollate")
#define kPMDoesReverseOrderKey CFSTR("com.apple.print.PrinterInfo.PMDoesReverseOrder")
#define kPMInputFileTypeListKey CFSTR("com.apple.print.PrinterInfo.PMInputFileTypeList")
#define kPMOutputTypeListKey CFSTR("com.apple.print.PrinterInfo.PMOutputTypeList")
#define kPMPostScriptLevelKey CFSTR("com.apple.print.PrinterInfo.PMPostScriptLevel")
#define kPMPostScriptVersionKey CFSTR("com.apple.print.PrinterInfo.PMPSVersion")
#define kPMPostScriptRevisionKey CFSTR("com.apple.print.PrinterInfo.PMPSRevision")
#define kPMPostScriptTrueTypeFontRasterizerKey CFSTR("com.apple.print.PrinterInfo.PMPSTTRasterizer")
#define kPMTotalMemInstalledKey CFSTR("com.apple.print.PrinterInfo.PMTotalMemInstalled")
#define kPMDescriptionFileKey CFSTR("com.apple.print.PrinterInfo.PMDescriptionFile")
#define kPMColorDeviceIDKey CFSTR("com.apple.print.PrinterInfo.PMColorDeviceID")
#define kPMCompiledPPDKey CFSTR("com.apple.print.PrinterInfo.PMCompiledPPD")

// A new empty ticket of the type, held once by the caller.
OSStatus PMTicketCreate(CFAllocatorRef allocator, CFStringRef ticketType, PMTicketRef* newTicket);
OSStatus PMTicketRetain(PMTicketRef ticket);
// Gives up the caller's hold and clears the reference; the ticket goes with
// the last hold, and with it its hold on the tickets it contains.
OSStatus PMTicketReleaseAndClear(PMTicketRef* ticket);
OSStatus PMTicketGetType(PMTicketRef ticket, CFStringRef* ticketType);

// The index-th contained ticket of that type (borrowed), kPMNoSuchEntry when
// there is none.
OSStatus PMTicketGetTicket(PMTicketRef ticket, CFStringRef ticketType, UInt32 index,
                           PMTicketRef* retrievedTicket);
// Places a hold of the container on the ticket as the index-th of its type,
// replacing the one there.
OSStatus PMTicketSetTicket(PMTicketRef containingTicket, PMTicketRef ticketToSet, UInt32 index);

// Reading: the value is borrowed from the ticket. A missing item answers
// kPMKeyNotFound, an item of another type kPMInvalidType.
OSStatus PMTicketGetItem(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2, CFStringRef key,
                         CFTypeRef* item);
OSStatus PMTicketGetCFString(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                             CFStringRef key, CFStringRef* value);
OSStatus PMTicketGetCFData(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, CFDataRef* value);
OSStatus PMTicketGetCFArray(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                            CFStringRef key, CFArrayRef* value);
OSStatus PMTicketGetCFDictionary(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                                 CFStringRef key, CFDictionaryRef* value);
// A number that is not a whole 32-bit value answers kPMInvalidValue.
OSStatus PMTicketGetSInt32(PMTicketRef ticket, UInt32 nodeIndex1, UInt32 nodeIndex2,
                           CFStringRef key, SInt32* value);

// Writing: the ticket retains the value (a property-list object) and records
// the creator. A locked item is kept against any other creator
// (kPMItemIsLocked); its own creator may replace it.
OSStatus PMTicketSetItem(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, CFTypeRef item,
                         Boolean locked);
OSStatus PMTicketSetCFString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                             CFStringRef value, Boolean locked);
OSStatus PMTicketSetCFData(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                           CFDataRef value, Boolean locked);
OSStatus PMTicketSetCFArray(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            CFArrayRef value, Boolean locked);
OSStatus PMTicketSetCFDictionary(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                                 CFDictionaryRef value, Boolean locked);
OSStatus PMTicketSetSInt32(PMTicketRef ticket, CFStringRef clientID, CFStringRef key, SInt32 value,
                           Boolean locked);
// Removes an item; a locked one stays (kPMItemIsLocked).
OSStatus PMTicketReleaseItem(PMTicketRef ticket, CFStringRef key);
