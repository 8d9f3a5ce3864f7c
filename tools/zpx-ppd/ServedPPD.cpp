#include "ServedPPD.h"

#include "host/PrintQueues.h"
#include "host/PrintServer.h"

namespace zpxtool {

std::string ServedPPD::Fetch(const std::string& queue) {
  if (!mFolder.IsValid()) return "cannot make a scratch folder";
  PrintServer server;
  if (!server.IsReached()) return server.Failure();
  return PrintQueues::FetchPPD(server, queue, mFolder.Path(), mPath);
}

}  // namespace zpxtool
