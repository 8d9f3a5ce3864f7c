#pragma once
// A loopback port whose connections are taken (by the kernel, into the
// backlog) and never answered: a print server that hangs. It closes when the
// object goes.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

class SilentServer {
 public:
  SilentServer() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (mListener == -1 ||
        bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(mListener, 8) != 0 ||
        getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    mPort = ntohs(address.sin_port);
  }
  ~SilentServer() {
    if (mListener != -1) close(mListener);
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  // -1 when the port could not be opened.
  int Port() const { return mPort; }
  // Whether a connection waits to be taken: someone called.
  bool WasCalled() const {
    pollfd listener{mListener, POLLIN, 0};
    return poll(&listener, 1, 0) == 1;
  }

 private:
  int mListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int mPort = -1;
};
