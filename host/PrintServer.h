#pragma once
// The print server that queues and jobs go through: libcups's choice of server
// (CUPS_SERVER, client.conf), over one connection. Connecting and a first short
// question share one budget, and so do all the waits of each later exchange,
// so that a server that has died or hangs fails the call instead of holding the
// program. A failure is named by its cause, caught where it happened: the
// socket's error when no connection was made, the budget running out, or
// libcups's message for the server's answer.

#include <cups/cups.h>

#include <chrono>
#include <string>

class PrintServer {
 public:
  // A server that does not answer fails the program within this time.
  static constexpr int kTimeoutSeconds = 10;
  // What one exchange may take: the rest of kTimeoutSeconds is the program's
  // own start and end.
  static constexpr std::chrono::milliseconds kExchangeBudget{9000};

  PrintServer();
  ~PrintServer();
  PrintServer(const PrintServer&) = delete;
  PrintServer& operator=(const PrintServer&) = delete;

  bool IsReached() const { return mConnection != nullptr; }
  // The connection for an exchange that starts now (a request and its answer,
  // or a piece of a document): its waits together give up after
  // kExchangeBudget. Null when the server was not reached.
  http_t* Exchange();
  // Whether the last exchange got an answer, an error or not, rather than
  // losing the connection or the time.
  bool Answered() const;
  // Whether the last exchange, for which libcups returned `status`, succeeded:
  // libcups keeps the status before when the connection fails.
  bool Succeeded(ipp_status_t status) const {
    return status <= IPP_STATUS_OK_CONFLICTING && Answered();
  }
  // Why the server was not reached or the last exchange failed, in one line.
  std::string Failure() const;

 private:
  void Connect();
  void AskFirstQuestion();
  void WaitAtMost(double seconds);
  double SecondsLeft() const;
  // libcups's timeout callback: waits again while the budget lasts.
  static int KeepWaiting(http_t* connection, void* server);

  http_t* mConnection = nullptr;
  std::string mName;
  std::string mUnreached;
  std::chrono::steady_clock::time_point mDeadline;
  bool mTimedOut = false;
};
