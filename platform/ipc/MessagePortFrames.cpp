#include "ipc/MessagePortFrames.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? int(left.count()) : 0;
}

Clock::time_point DeadlineAfter(double seconds) {
  return Clock::now() + std::chrono::duration_cast<Clock::duration>(
                            std::chrono::duration<double>(seconds > 0 ? seconds : 0));
}

// Waits for the socket to be ready for `events` until the deadline.
FrameResult Ready(int socket, short events, Clock::time_point deadline) {
  struct pollfd wait = {socket, events, 0};
  const int ready = poll(&wait, 1, MillisecondsLeft(deadline));
  if (ready == 0) return FrameResult::kTimedOut;
  return ready > 0 ? FrameResult::kDone : FrameResult::kFailed;
}

// Moves the frame, waiting up to the deadline whenever the socket is not
// ready for `events`.
FrameResult MoveWhole(MessagePortTransfer& frame, int socket, short events,
                      Clock::time_point deadline) {
  for (;;) {
    const FrameResult moved = frame.Move(socket);
    if (moved != FrameResult::kPending) return moved;
    const FrameResult ready = Ready(socket, events, deadline);
    if (ready != FrameResult::kDone) return ready;
  }
}

}  // namespace

bool PeerIsThisUser(int socket) {
  struct ucred peer;
  socklen_t size = sizeof peer;
  return getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == geteuid();
}

int ConnectToPort(const std::string& path) {
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return -1;
  memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return -1;
  if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      !PeerIsThisUser(socket)) {
    close(socket);
    return -1;
  }
  return socket;
}

FrameResult SendFrame(int socket, const std::string& bytes, double seconds) {
  MessagePortTransfer frame(bytes);
  return MoveWhole(frame, socket, POLLOUT, DeadlineAfter(seconds));
}

FrameResult ReceiveFrame(int socket, std::string& bytes, double seconds) {
  MessagePortTransfer frame;
  const FrameResult result = MoveWhole(frame, socket, POLLIN, DeadlineAfter(seconds));
  if (result == FrameResult::kDone) bytes = frame.Bytes();
  return result;
}
