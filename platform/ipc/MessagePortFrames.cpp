#include "ipc/MessagePortFrames.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "ipc/CFMessagePort.h"

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

FrameResult SendAll(int socket, const char* bytes, size_t length, Clock::time_point deadline) {
  while (length > 0) {
    const FrameResult ready = Ready(socket, POLLOUT, deadline);
    if (ready != FrameResult::kDone) return ready;
    const ssize_t sent = send(socket, bytes, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0 && errno != EAGAIN && errno != EINTR) return FrameResult::kFailed;
    if (sent > 0) bytes += sent, length -= size_t(sent);
  }
  return FrameResult::kDone;
}

FrameResult ReceiveAll(int socket, char* bytes, size_t length, Clock::time_point deadline) {
  while (length > 0) {
    const FrameResult ready = Ready(socket, POLLIN, deadline);
    if (ready != FrameResult::kDone) return ready;
    const ssize_t received = recv(socket, bytes, length, MSG_DONTWAIT);
    if (received == 0 || (received < 0 && errno != EAGAIN && errno != EINTR))
      return FrameResult::kFailed;
    if (received > 0) bytes += received, length -= size_t(received);
  }
  return FrameResult::kDone;
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
  if (bytes.size() > size_t(kCFMessagePortMaxFrame)) return FrameResult::kFailed;
  const uint32_t length = uint32_t(bytes.size());
  std::string frame(reinterpret_cast<const char*>(&length), sizeof length);
  frame += bytes;
  return SendAll(socket, frame.data(), frame.size(), DeadlineAfter(seconds));
}

FrameResult ReceiveFrame(int socket, std::string& bytes, double seconds) {
  const Clock::time_point deadline = DeadlineAfter(seconds);
  uint32_t length = 0;
  FrameResult result = ReceiveAll(socket, reinterpret_cast<char*>(&length), sizeof length, deadline);
  if (result != FrameResult::kDone) return result;
  if (length > uint32_t(kCFMessagePortMaxFrame)) return FrameResult::kFailed;
  bytes.assign(length, '\0');
  return ReceiveAll(socket, bytes.data(), length, deadline);
}
