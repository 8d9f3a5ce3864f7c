#include "ipc/MessagePortTransfer.h"

#include <errno.h>
#include <sys/socket.h>

#include <cstdint>
#include <cstring>

#include "ipc/CFMessagePort.h"

namespace {

constexpr size_t kLengthSize = sizeof(uint32_t);
constexpr size_t kMaxWire = kLengthSize + size_t(kCFMessagePortMaxFrame);

}  // namespace

MessagePortTransfer::MessagePortTransfer() : mSending(false), mWire(kLengthSize, '\0') {}

MessagePortTransfer::MessagePortTransfer(const std::string& bytes) : mSending(true) {
  const uint32_t length = uint32_t(bytes.size());
  mWire.assign(reinterpret_cast<const char*>(&length), kLengthSize);
  mWire += bytes;
}

FrameResult MessagePortTransfer::Move(int socket) {
  if (mWire.size() > kMaxWire) return FrameResult::kFailed;
  while (mMoved < mWire.size()) {
    const ssize_t moved = MoveSome(socket);
    if (moved < 0 && errno == EINTR) continue;
    if (moved < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return FrameResult::kPending;
    if (moved <= 0) return FrameResult::kFailed;
    mMoved += size_t(moved);
    if (!mSending && mMoved == kLengthSize && !TakeLength()) return FrameResult::kFailed;
  }
  return FrameResult::kDone;
}

std::string MessagePortTransfer::Bytes() const { return mWire.substr(kLengthSize); }

ssize_t MessagePortTransfer::MoveSome(int socket) {
  const size_t left = mWire.size() - mMoved;
  if (mSending) return send(socket, mWire.data() + mMoved, left, MSG_NOSIGNAL | MSG_DONTWAIT);
  return recv(socket, &mWire[mMoved], left, MSG_DONTWAIT);
}

// Makes room for the frame's bytes once its length is in; false past the limit.
bool MessagePortTransfer::TakeLength() {
  uint32_t length = 0;
  memcpy(&length, mWire.data(), kLengthSize);
  if (length > uint32_t(kCFMessagePortMaxFrame)) return false;
  mWire.resize(kLengthSize + length);
  return true;
}
