#pragma once
// The print server that queues and jobs go through: libcups's choice of server
// (CUPS_SERVER, client.conf), over one connection whose connecting and every
// wait for an answer give up after kTimeoutSeconds, so that a server that has
// died fails the call instead of holding the program.

#include <cups/cups.h>

#include <string>

class PrintServer {
 public:
  static constexpr int kTimeoutSeconds = 10;

  PrintServer();
  ~PrintServer();
  PrintServer(const PrintServer&) = delete;
  PrintServer& operator=(const PrintServer&) = delete;

  // Null when the server could not be reached.
  http_t* Connection() const { return mConnection; }
  // Why the server could not be reached, else libcups's one-line message on
  // the last failed call of this thread.
  static std::string LastError();

 private:
  http_t* mConnection = nullptr;
  static inline std::string sError;
};
