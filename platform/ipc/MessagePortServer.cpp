#include "ipc/MessagePortServer.h"

#include <errno.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ipc/CFMessagePort.h"
#include "ipc/MessagePortFrames.h"

namespace {

std::chrono::steady_clock::duration Seconds(double seconds) {
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(seconds));
}

}  // namespace

MessagePortServer::MessagePortServer(std::function<void()> arrived)
    : mArrived(std::move(arrived)) {}

MessagePortServer::~MessagePortServer() { Stop(); }

bool MessagePortServer::Start(int listener) {
  mListener = listener;
  mWake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (mWake < 0) {
    close(mListener);
    return false;
  }
  mThread = std::thread([this] { Serve(); });
  return true;
}

void MessagePortServer::Stop() {
  if (!mThread.joinable()) return;
  mStopping = true;
  Wake();
  mThread.join();
  close(mListener);
  close(mWake);
  for (const Connection& connection : mConnections) close(connection.mSocket);
  mConnections.clear();
  std::lock_guard<std::mutex> hold(mLock);
  for (const Request& request : mRequests) close(request.mSocket);
  for (const Connection& reply : mReplies) close(reply.mSocket);
  mRequests.clear();
  mReplies.clear();
}

bool MessagePortServer::TakeRequest(Request& request) {
  std::lock_guard<std::mutex> hold(mLock);
  if (mRequests.empty()) return false;
  request = std::move(mRequests.front());
  mRequests.pop_front();
  return true;
}

void MessagePortServer::Reply(int socket, const std::string& bytes) {
  const Clock::time_point now = Clock::now();
  Connection reply = {socket, MessagePortTransfer(bytes), true, now + Seconds(kReplySeconds), now};
  const bool pending = reply.mFrame.Move(socket) == FrameResult::kPending;
  if (!pending) close(socket);
  {
    std::lock_guard<std::mutex> hold(mLock);
    if (pending)
      mReplies.push_back(std::move(reply));
    else
      --mHandedOut;
  }
  Wake();
}

void MessagePortServer::Wake() { eventfd_write(mWake, 1); }

void MessagePortServer::Serve() {
  while (!mStopping) {
    std::vector<struct pollfd> waits = Waits();
    if (poll(waits.data(), waits.size(), MillisecondsToNextDeadline()) < 0 && errno != EINTR) {
      fprintf(
          stderr,
          "message port: stopped serving, cannot wait for peers (%s); start the program again\n",
          strerror(errno));
      return;
    }
    for (size_t each = 2; each < waits.size(); ++each)
      if (waits[each].revents != 0) Step(mConnections[each - 2]);
    DropFinished();
    eventfd_t wakes;
    if (waits[0].revents != 0 && eventfd_read(mWake, &wakes) == 0) TakeReplies();
    if (waits[1].revents != 0) AcceptOne();
  }
}

std::vector<struct pollfd> MessagePortServer::Waits() {
  std::vector<struct pollfd> waits = {{mWake, POLLIN, 0}, {HasRoom() ? mListener : -1, POLLIN, 0}};
  for (const Connection& connection : mConnections)
    waits.push_back({connection.mSocket, short(connection.mReplying ? POLLOUT : POLLIN), 0});
  return waits;
}

// Rounded up, so that the wait never ends just short of a deadline.
int MessagePortServer::MillisecondsToNextDeadline() const {
  if (mConnections.empty()) return -1;
  const auto next = std::min_element(mConnections.begin(), mConnections.end(),
                                     [](const Connection& one, const Connection& other) {
                                       return one.mDeadline < other.mDeadline;
                                     });
  const std::chrono::duration<double, std::milli> left = next->mDeadline - Clock::now();
  return left.count() > 0 ? int(std::ceil(left.count())) : 0;
}

// Moves what the connection's socket is ready for; a finished connection's
// socket is closed or queued and set to -1.
void MessagePortServer::Step(Connection& connection) {
  if (!connection.mReplying) connection.mLastHeard = Clock::now();
  const FrameResult moved = connection.mFrame.Move(connection.mSocket);
  if (moved == FrameResult::kPending) return;
  if (moved == FrameResult::kDone && !connection.mReplying) return Queue(connection);
  close(connection.mSocket);
  connection.mSocket = -1;
}

// A whole request goes to the queue; one too short for its message id is dropped.
void MessagePortServer::Queue(Connection& connection) {
  const std::string frame = connection.mFrame.Bytes();
  const int socket = connection.mSocket;
  connection.mSocket = -1;
  if (frame.size() < sizeof(SInt32)) {
    close(socket);
    return;
  }
  Request request = {socket, 0, frame.substr(sizeof(SInt32))};
  memcpy(&request.mMessageId, frame.data(), sizeof(SInt32));
  {
    std::lock_guard<std::mutex> hold(mLock);
    mRequests.push_back(std::move(request));
    ++mHandedOut;
  }
  mArrived();
}

// Drops the connections finished and those past their deadline.
void MessagePortServer::DropFinished() {
  const Clock::time_point now = Clock::now();
  for (Connection& connection : mConnections) {
    if (connection.mSocket < 0 || now < connection.mDeadline) continue;
    close(connection.mSocket);
    connection.mSocket = -1;
  }
  mConnections.erase(
      std::remove_if(mConnections.begin(), mConnections.end(),
                     [](const Connection& connection) { return connection.mSocket < 0; }),
      mConnections.end());
}

void MessagePortServer::TakeReplies() {
  std::lock_guard<std::mutex> hold(mLock);
  mHandedOut -= mReplies.size();
  for (Connection& reply : mReplies) mConnections.push_back(std::move(reply));
  mReplies.clear();
}

void MessagePortServer::AcceptOne() {
  if (!HasRoom()) return;
  const int socket = accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC);
  if (socket < 0) return;
  if (!PeerIsThisUser(socket)) {
    close(socket);
    return;
  }
  if (Held() >= size_t(kCFMessagePortMaxConnections)) DropQuietestReader();
  const Clock::time_point now = Clock::now();
  mConnections.push_back(
      {socket, MessagePortTransfer(), false, now + Seconds(kRequestSeconds), now});
}

size_t MessagePortServer::Held() {
  std::lock_guard<std::mutex> hold(mLock);
  return mConnections.size() + mHandedOut;
}

// Whether a new peer can be taken: the server holds less than its bound, or
// a reading connection that gives way.
bool MessagePortServer::HasRoom() {
  return Held() < size_t(kCFMessagePortMaxConnections) ||
         std::any_of(mConnections.begin(), mConnections.end(),
                     [](const Connection& connection) { return !connection.mReplying; });
}

void MessagePortServer::DropQuietestReader() {
  auto quietest = mConnections.end();
  for (auto each = mConnections.begin(); each != mConnections.end(); ++each)
    if (!each->mReplying &&
        (quietest == mConnections.end() || each->mLastHeard < quietest->mLastHeard))
      quietest = each;
  close(quietest->mSocket);
  mConnections.erase(quietest);
}
