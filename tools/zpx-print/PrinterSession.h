#pragma once
// The print session zpx-print plays the print system with: one printer named
// after its PPD, and the ticket items the dialog extension reads (compiled
// PPD, make and model, orientation, copies, job name, pages per sheet as
// layout rows and columns, the page-setup paper with its dimensions), on top of the tickets
// remembered for the printer.

#include <string>

#include "PrintArguments.h"
#include "PrinterDescription.h"
#include "print/PMPrintSession.h"

class PrinterSession {
 public:
  PrinterSession();
  ~PrinterSession();
  PrinterSession(const PrinterSession&) = delete;
  PrinterSession& operator=(const PrinterSession&) = delete;

  bool IsValid() const { return mSession != nullptr; }
  PMPrintSession Session() const { return mSession; }
  PMTicketRef Ticket(CFStringRef name) const;

  // The printer of the PPD's private copy.
  bool SetPrinter(const std::string& name, const PrinterDescription& ppd);
  // The run's items; the page-setup paper is the chosen page size.
  bool SetJobItems(const PrintArguments& arguments, const PrinterDescription& ppd,
                   CFStringRef pageSize);

 private:
  bool SetLayout(int pagesPerSheet);
  bool SetPaper(const PrinterDescription& ppd, CFStringRef pageSize);

  PMPrintSession mSession = nullptr;
};
