#pragma once
// A queue of the print server as zpx-print's printer: its served PPD fetched
// into the run's folder, and the finished job submitted to it. The server is
// reached only when a queue is opened: a run on a PPD file asks it nothing.

#include <memory>
#include <string>

#include "PrintFailure.h"
#include "PrinterDescription.h"
#include "host/PrintServer.h"

class QueuePrinter {
 public:
  static constexpr const char* kJobFormat = "application/vnd.cups-postscript";

  // The queue's PPD read into `ppd` from `folder`. An unreachable server, an
  // unknown queue or one without a PPD is kExitPrintSystem.
  PrintFailure Open(const std::string& queue, const std::string& folder, PrinterDescription& ppd);
  // Sends, after a successful Open, the finished job in `jobPath` and says "zpx-print: submitted
  // QUEUE-ID" on standard output; a refused job is kExitPrintSystem.
  PrintFailure Submit(const std::string& jobPath, const std::string& title);

 private:
  std::unique_ptr<PrintServer> mServer;
  std::string mQueue;
};
