#pragma once
// The connections of a local port, served on a thread of its own so that no
// connection waits for another: it accepts peers of this user, reads each
// request as its bytes come (MessagePortTransfer), queues whole requests for
// the thread that answers them, and writes what of a reply the socket did not
// take at once.
//
// Bounds: a connection has kRequestSeconds from its acceptance to deliver its
// whole request and kReplySeconds to take its reply; a request of at most
// 1 MiB crosses a local socket in milliseconds, so only a stalled peer meets
// them. At most kCFMessagePortMaxConnections sockets are held, queued and
// unanswered requests included: far above the few exchanges the pane and
// its companion have at once, far below the 1024 descriptors a process
// commonly may open. When full, a new peer takes the place of the reading
// connection that has been quiet longest; with none reading, new peers wait
// in the listen queue until a request is answered.

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cf/CFBase.h"
#include "ipc/MessagePortTransfer.h"

struct pollfd;

class MessagePortServer {
 public:
  static constexpr double kRequestSeconds = 5;
  static constexpr double kReplySeconds = 5;

  struct Request {
    int mSocket;
    SInt32 mMessageId;
    std::string mBytes;
  };

  // `arrived` runs on the server's thread each time a request is queued.
  explicit MessagePortServer(std::function<void()> arrived);
  ~MessagePortServer();

  // Serves the listening socket, which the server now owns; false (the socket
  // closed) when it cannot.
  bool Start(int listener);
  // Stops serving and closes the listener and every socket held, queued
  // requests and replies still being written included.
  void Stop();
  // The oldest queued request; its socket is the caller's until Reply.
  bool TakeRequest(Request& request);
  // Sends the reply to a taken request and closes its socket; what the
  // socket does not take at once, the server writes.
  void Reply(int socket, const std::string& bytes);

 private:
  using Clock = std::chrono::steady_clock;
  struct Connection {
    int mSocket;
    MessagePortTransfer mFrame;
    bool mReplying;
    Clock::time_point mDeadline;
    Clock::time_point mLastHeard;
  };

  void Serve();
  // The wake-up, the listener (-1 while no room can be made) and each
  // connection, in that order.
  std::vector<struct pollfd> Waits();
  int MillisecondsToNextDeadline() const;
  void Step(Connection& connection);
  void Queue(Connection& connection);
  void DropFinished();
  void TakeReplies();
  void AcceptOne();
  size_t Held();
  bool HasRoom();
  void DropQuietestReader();
  void Wake();

  std::function<void()> mArrived;
  int mListener = -1;
  int mWake = -1;
  std::atomic<bool> mStopping{false};
  std::thread mThread;
  std::vector<Connection> mConnections;  // the server thread's

  std::mutex mLock;  // guards what follows
  std::deque<Request> mRequests;
  std::vector<Connection> mReplies;
  size_t mHandedOut = 0;  // sockets queued, being answered or in mReplies
};
