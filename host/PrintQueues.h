#pragma once
// The print server's queues as the print system's printers: each with its
// make and model ("printer-make-and-model"), device URI and the PPD the queue
// was made with, fetched from the server into a folder of the caller's.

#include <string>
#include <vector>

#include "host/PrintServer.h"
#include "print/PMPrintSession.h"

class PrintQueues {
 public:
  // The queues' names, sorted; false when the server failed (server.Failure()
  // says why).
  static bool Names(PrintServer& server, std::vector<std::string>& names);
  // A new printer for the queue (PMRelease it) with the served PPD as
  // `folder`/QUEUE.ppd; without a PPD on the server its description URL is
  // missing (kPMNoSuchEntry). kPMInvalidParameter when the name is not one a
  // queue and a file may carry, kPMInvalidPrinter when the server has no such
  // queue, kPMGeneralError when the server failed (server.Failure() says why
  // for both), ioErr when the PPD could not be written into `folder`.
  static OSStatus CreatePrinter(PrintServer& server, const std::string& queue,
                                const std::string& folder, PMPrinter* printer);
  // The file path of the printer's PPD; "" when the server served none.
  static std::string PPDPath(PMPrinter printer);
  // The queue's served PPD written into `folder`, its path in `path`; "" or,
  // when it cannot be had, one line saying why.
  static std::string FetchPPD(PrintServer& server, const std::string& queue,
                              const std::string& folder, std::string& path);
};
