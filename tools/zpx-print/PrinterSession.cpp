#include "PrinterSession.h"

#include <utility>

#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "plugin/SessionFunctions.h"
#include "plugin/TextBuffer.h"

namespace {

#define kCreator CFSTR("zpx-print")

bool SetString(PMTicketRef ticket, CFStringRef key, const std::string& value) {
  CFRef<CFStringRef> text(CreateText(value));
  return text && PMTicketSetCFString(ticket, kCreator, key, text.get(), false) == noErr;
}

// The paper's rectangle as the print system writes it: top, left, bottom, right.
CFArrayRef CreatePaperRect(std::pair<double, double> size) {
  const double edges[] = {0, 0, size.second, size.first};
  CFMutableArrayRef rect = CFArrayCreateMutable(kCFAllocatorDefault, 4, &kCFTypeArrayCallBacks);
  for (double edge : edges) {
    CFRef<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberDoubleType, &edge));
    CFArrayAppendValue(rect, number.get());
  }
  return rect;
}

}  // namespace

PrinterSession::PrinterSession() {
  if (PMCreateSession(&mSession) != noErr) mSession = nullptr;
}

PrinterSession::~PrinterSession() {
  if (mSession != nullptr) PMRelease(mSession);
}

PMTicketRef PrinterSession::Ticket(CFStringRef name) const {
  PMTicketRef ticket = nullptr;
  return MyGetTicket(mSession, name, ticket) == noErr ? ticket : nullptr;
}

bool PrinterSession::SetPrinter(const std::string& name, const PrinterDescription& ppd) {
  CFRef<CFStringRef> printerName(CreateText(name));
  CFRef<CFStringRef> makeAndModel(CreateText(ppd.MakeAndModel()));
  CFRef<CFURLRef> ppdURL(CreateFileURL(ppd.CopyPath()));
  PMPrinter printer = nullptr;
  if (PMPrinterCreate(printerName.get(), makeAndModel.get(), ppdURL.get(), nullptr, &printer) !=
      noErr)
    return false;
  OSStatus status = PMSessionSetCurrentPMPrinter(mSession, printer);
  PMRelease(printer);
  return status == noErr;
}

bool PrinterSession::SetJobItems(const PrintArguments& arguments, const PrinterDescription& ppd,
                                 CFStringRef pageSize) {
  PMTicketRef info = Ticket(kPDE_PMPrinterInfoRef);
  PMTicketRef settings = Ticket(kPDE_PMPrintSettingsRef);
  PMTicketRef pageFormat = Ticket(kPDE_PMPageFormatRef);
  return info != nullptr && settings != nullptr && pageFormat != nullptr &&
         SetString(info, kPMCompiledPPDKey, ppd.CopyPath()) &&
         SetString(info, kPMMakeAndModelNameKey, ppd.MakeAndModel()) &&
         PMTicketSetSInt32(pageFormat, kCreator, kPMOrientationKey, arguments.mOrientation,
                           false) == noErr &&
         PMTicketSetSInt32(settings, kCreator, kPMCopiesKey, SInt32(arguments.mCopies), false) ==
             noErr &&
         SetString(settings, kPMJobNameKey, arguments.JobName()) &&
         SetLayout(arguments.mNumberUp) && SetPaper(ppd, pageSize);
}

bool PrinterSession::SetLayout(int pagesPerSheet) {
  // Rows by columns as the print system lays out pages on a portrait sheet;
  // one page a sheet is the tickets' default, left unwritten.
  static const struct {
    int pages, rows, columns;
  } kLayouts[] = {{2, 1, 2}, {4, 2, 2}, {6, 2, 3}, {9, 3, 3}, {16, 4, 4}};
  if (pagesPerSheet == 1) return true;
  PMTicketRef settings = Ticket(kPDE_PMPrintSettingsRef);
  for (const auto& layout : kLayouts)
    if (layout.pages == pagesPerSheet)
      return PMTicketSetSInt32(settings, kCreator, kPMLayoutRowsKey, layout.rows, false) == noErr &&
             PMTicketSetSInt32(settings, kCreator, kPMLayoutColumnsKey, layout.columns, false) ==
                 noErr;
  return false;
}

bool PrinterSession::SetPaper(const PrinterDescription& ppd, CFStringRef pageSize) {
  PMTicketRef paper = nullptr;
  if (pageSize == nullptr ||
      PMTicketGetTicket(Ticket(kPDE_PMPageFormatRef), kPMPaperInfoTicket, 0, &paper) != noErr)
    return pageSize == nullptr;
  std::pair<double, double> size;
  std::string name = UTF8Text(pageSize);
  if (PMTicketSetCFString(paper, kCreator, kPMPaperNameKey, pageSize, false) != noErr) return false;
  if (!ppd.PaperDimension(name, size)) return true;
  CFRef<CFArrayRef> rect(CreatePaperRect(size));
  return PMTicketSetCFArray(paper, kCreator, kPMUnadjustedPaperRectKey, rect.get(), false) == noErr;
}
