#include "host/PrintServer.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// How long one of libcups's waits lasts before the budget is looked at again.
// libcups also waits on its own between them (up to a second for the interim
// answer to a request), which the next look counts.
constexpr double kWaitSeconds = 0.25;
// libcups takes a wait of 0 ms for one of a minute.
constexpr double kShortestWaitSeconds = 0.001;

constexpr const char* kAdvice =
    "check that it is running and that CUPS_SERVER or client.conf names it";

std::string ServerName() {
  const std::string host = cupsServer();
  // A local socket's path has no port.
  return !host.empty() && host[0] == '/' ? host : host + ":" + std::to_string(ippPort());
}

// libcups's one-line message on the last failed call of this thread.
std::string LibraryMessage() {
  const char* message = cupsLastErrorString();
  return message != nullptr && *message != '\0' ? message : ippErrorString(cupsLastError());
}

int MillisecondsUntil(Clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return int(std::max<decltype(left)>(left, 0));
}

// The socket's error once its connection in progress is made or refused;
// ETIMEDOUT when neither happened by the deadline.
int ConnectionOutcome(int fd, Clock::time_point deadline) {
  pollfd writable{fd, POLLOUT, 0};
  int ready;
  while ((ready = poll(&writable, 1, MillisecondsUntil(deadline))) == -1 && errno == EINTR) {
  }
  if (ready == -1) return errno;
  if (ready == 0) return ETIMEDOUT;
  int error = 0;
  socklen_t length = sizeof error;
  return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 ? error : errno;
}

// 0 when the address takes a connection by the deadline, else the socket's error.
int ConnectionError(const http_addr_t& address, Clock::time_point deadline) {
  int fd = socket(address.addr.sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd == -1) return errno;
  int error = connect(fd, &address.addr, socklen_t(httpAddrLength(&address))) == 0 ? 0 : errno;
  if (error == EINPROGRESS) error = ConnectionOutcome(fd, deadline);
  close(fd);
  return error;
}

}  // namespace

PrintServer::PrintServer() : mName(ServerName()), mDeadline(Clock::now() + kExchangeBudget) {
  Connect();
  if (mConnection != nullptr) AskFirstQuestion();
}

PrintServer::~PrintServer() {
  if (mConnection != nullptr) httpClose(mConnection);
}

// libcups's own connecting loses the socket's error (a refused connection
// becomes "Host is down"), so the addresses are tried here first, and libcups
// connects where one was taken.
void PrintServer::Connect() {
  const std::string port = std::to_string(ippPort());
  http_addrlist_t* addresses = httpAddrGetList(cupsServer(), AF_UNSPEC, port.c_str());
  if (addresses == nullptr) {
    mUnreached = "cannot find the print server " + mName + ": " + LibraryMessage() +
                 "; check CUPS_SERVER or client.conf";
    return;
  }
  int error = 0;
  for (http_addrlist_t* address = addresses; address != nullptr; address = address->next)
    if ((error = ConnectionError(address->addr, mDeadline)) == 0) break;
  if (error == 0)
    mConnection = httpConnect2(cupsServer(), ippPort(), addresses, AF_UNSPEC, cupsEncryption(), 1,
                               std::max(MillisecondsUntil(mDeadline), 1), nullptr);
  httpAddrFreeList(addresses);
  if (mConnection == nullptr)
    mUnreached = "cannot reach the print server " + mName + ": " +
                 (error != 0 ? std::string(std::strerror(error)) : LibraryMessage()) + "; " +
                 kAdvice;
}

// One short question within what is left of the budget: libcups's own calls
// may try again on connections of their own when a server takes the
// connection but never answers.
void PrintServer::AskFirstQuestion() {
  WaitAtMost(kWaitSeconds);
  ipp_t* answer = cupsDoRequest(mConnection, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
  const bool answered = answer != nullptr;
  ippDelete(answer);
  if (answered) return;
  mUnreached = Answered()
                   ? "the print server " + mName + " refused a first question: " + LibraryMessage()
                   : Failure();
  httpClose(mConnection);
  mConnection = nullptr;
}

http_t* PrintServer::Exchange() {
  mDeadline = Clock::now() + kExchangeBudget;
  mTimedOut = false;
  if (mConnection != nullptr) WaitAtMost(kWaitSeconds);
  return mConnection;
}

bool PrintServer::Answered() const {
  return !mTimedOut && httpGetStatus(mConnection) != HTTP_STATUS_ERROR;
}

std::string PrintServer::Failure() const {
  if (mConnection == nullptr) return mUnreached;
  if (mTimedOut)
    return "the print server " + mName + " did not answer within " +
           std::to_string(
               std::chrono::duration_cast<std::chrono::seconds>(kExchangeBudget).count()) +
           " s; " + kAdvice;
  if (!Answered()) {
    const int error = httpError(mConnection);
    return "the connection to the print server " + mName + " broke" +
           (error != 0 ? std::string(": ") + std::strerror(error) : "");
  }
  return LibraryMessage();
}

void PrintServer::WaitAtMost(double seconds) {
  httpSetTimeout(mConnection, std::max(std::min(seconds, SecondsLeft()), kShortestWaitSeconds),
                 KeepWaiting, this);
}

double PrintServer::SecondsLeft() const {
  return std::chrono::duration<double>(mDeadline - Clock::now()).count();
}

int PrintServer::KeepWaiting(http_t*, void* server) {
  auto* self = static_cast<PrintServer*>(server);
  if (self->SecondsLeft() <= 0) {
    self->mTimedOut = true;
    return 0;
  }
  self->WaitAtMost(kWaitSeconds);
  return 1;
}
