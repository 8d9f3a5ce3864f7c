#include "ServedPPD.h"

#include "host/PrintQueues.h"
#include "host/PrintServer.h"

namespace zpxtool {

std::string ServedPPD::Fetch(const std::string& queue) {
  if (!mFolder.IsValid()) return "cannot make a scratch folder";
  PrintServer server;
  if (!server.IsReached()) return server.Failure();
  PMPrinter printer = nullptr;
  const OSStatus status = PrintQueues::CreatePrinter(server, queue, mFolder.Path(), &printer);
  if (status == kPMInvalidParameter || status == kPMInvalidPrinter)
    return "no queue " + queue + ": the print server gives no queue such a name";
  if (status == kPMGeneralError) return "cannot use the queue " + queue + ": " + server.Failure();
  if (status != kPMNoError) return "cannot keep the PPD of " + queue + " in " + mFolder.Path();
  mPath = PrintQueues::PPDPath(printer);
  PMRelease(printer);
  if (mPath.empty()) return "queue " + queue + " has no PPD on the print server";
  return "";
}

}  // namespace zpxtool
