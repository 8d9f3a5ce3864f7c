#include "print/PrintServer.h"

#include <errno.h>

#include <cstring>

namespace {

// Asked when an answer is kTimeoutSeconds late: stop waiting.
int GiveUp(http_t*, void*) { return 0; }

std::string ServerName() { return std::string(cupsServer()) + ":" + std::to_string(ippPort()); }

}  // namespace

PrintServer::PrintServer() {
  mConnection = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             kTimeoutSeconds * 1000, nullptr);
  if (mConnection == nullptr) {
    sError = "cannot reach the print server " + ServerName() + ": " + std::strerror(errno);
    return;
  }
  httpSetTimeout(mConnection, kTimeoutSeconds, GiveUp, nullptr);
  // One short question first: libcups's own calls try again on connections of
  // their own, without time-outs, when a server takes the connection but
  // never answers.
  ipp_t* answer = cupsDoRequest(mConnection, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
  if (answer != nullptr) {
    ippDelete(answer);
    return;
  }
  sError = "the print server " + ServerName() + " does not answer: " + cupsLastErrorString();
  httpClose(mConnection);
  mConnection = nullptr;
}

PrintServer::~PrintServer() {
  if (mConnection != nullptr) httpClose(mConnection);
}

std::string PrintServer::LastError() {
  if (!sError.empty()) return sError;
  const char* message = cupsLastErrorString();
  return message != nullptr && *message != '\0' ? message : "the print server failed";
}
