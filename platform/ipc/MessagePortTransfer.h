#pragma once
// One frame crossing a port's connection, moved a piece at a time without
// ever waiting: a 4-byte length, then at most kCFMessagePortMaxFrame bytes.
// A frame to receive reads its length first and refuses one past the limit
// before reading on; it never reads past its own end.

#include <sys/types.h>

#include <cstddef>
#include <string>

// kPending: part of the frame is still to move and the socket has nothing to
// give or no room to take it now.
enum class FrameResult { kDone, kPending, kTimedOut, kFailed };

class MessagePortTransfer {
 public:
  // A frame to receive.
  MessagePortTransfer();
  // A frame of the bytes to send; one past the limit fails to move.
  explicit MessagePortTransfer(const std::string& bytes);

  // Moves what the socket holds or has room for: kDone once the frame is
  // whole, kFailed when the peer closed or the frame is past the limit.
  FrameResult Move(int socket);
  // The frame's bytes (without the length).
  std::string Bytes() const;

 private:
  ssize_t MoveSome(int socket);
  bool TakeLength();

  bool mSending;
  std::string mWire;
  size_t mMoved = 0;
};
