#include "ipc/CFMessagePort.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "cf/CFRunLoopObject.h"
#include "cf/CFStringObject.h"
#include "ipc/MessagePortFolder.h"
#include "ipc/MessagePortFrames.h"

namespace {

// How long a connection may take to hand over its request, and the reply.
constexpr double kRequestSeconds = 5;
constexpr double kReplySeconds = 5;

struct Request {
  int mSocket;
  SInt32 mMessageId;
  std::string mBytes;
};

std::string BytesOf(CFDataRef data) {
  if (data == nullptr) return std::string();
  return std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                     size_t(CFDataGetLength(data)));
}

CFDataRef DataOf(const std::string& bytes) {
  return CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(bytes.data()), CFIndex(bytes.size()));
}

// A socket listening at the path; a stale socket nobody serves is replaced,
// a live one is left alone (-1).
int ListenAt(const std::string& path) {
  const int live = ConnectToPort(path);
  if (live >= 0) {
    close(live);
    return -1;
  }
  unlink(path.c_str());
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0) return -1;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 16) != 0) {
    close(listener);
    return -1;
  }
  return listener;
}

}  // namespace

struct __CFMessagePort : CFObject, RunLoopClient {
  explicit __CFMessagePort(const std::string& path) : CFObject(kCFObjectTypeMessagePort), mPath(path) {}
  ~__CFMessagePort() override {
    Invalidate();
    if (mContext.release != nullptr) mContext.release(mContext.info);
  }

  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFHashCode(this); }
  std::u16string description() const override { return u"<CFMessagePort>"; }

  bool Serve(int listener, CFMessagePortCallBack callout, const CFMessagePortContext& context);
  void Perform() override;
  void Invalidate();

  std::string mPath;
  bool mValid = true;

 private:
  void Accept();
  bool TakeRequest(Request& request);
  void Answer(const Request& request);

  bool mLocal = false;
  CFMessagePortCallBack mCallout = nullptr;
  CFMessagePortContext mContext = {};
  int mListener = -1;
  int mStop[2] = {-1, -1};
  std::thread mAcceptor;
  std::mutex mLock;
  std::deque<Request> mRequests;
};

bool __CFMessagePort::Serve(int listener, CFMessagePortCallBack callout,
                            const CFMessagePortContext& context) {
  if (pipe2(mStop, O_CLOEXEC) != 0) {
    close(listener);
    return false;
  }
  mLocal = true;
  mListener = listener;
  mCallout = callout;
  mContext = context;
  if (mContext.retain != nullptr) mContext.info = const_cast<void*>(mContext.retain(mContext.info));
  CFRunLoopGetMain()->Add(this, kCFRunLoopCommonModes);
  mAcceptor = std::thread([this] { Accept(); });
  return true;
}

// On the acceptor thread: reads each request whole, then hands it to the run
// loop, so that the callout runs on the main thread.
void __CFMessagePort::Accept() {
  for (;;) {
    struct pollfd waits[2] = {{mListener, POLLIN, 0}, {mStop[0], POLLIN, 0}};
    if (poll(waits, 2, -1) < 0 && errno != EINTR) return;
    if (waits[1].revents != 0) return;
    if (waits[0].revents == 0) continue;
    const int connection = accept4(mListener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    std::string frame;
    if (!PeerIsThisUser(connection) ||
        ReceiveFrame(connection, frame, kRequestSeconds) != FrameResult::kDone ||
        frame.size() < sizeof(SInt32)) {
      close(connection);
      continue;
    }
    Request request = {connection, 0, frame.substr(sizeof(SInt32))};
    memcpy(&request.mMessageId, frame.data(), sizeof(SInt32));
    {
      std::lock_guard<std::mutex> hold(mLock);
      mRequests.push_back(std::move(request));
    }
    CFRunLoopGetMain()->Signal(this);
  }
}

bool __CFMessagePort::TakeRequest(Request& request) {
  std::lock_guard<std::mutex> hold(mLock);
  if (mRequests.empty()) return false;
  request = std::move(mRequests.front());
  mRequests.pop_front();
  return true;
}

void __CFMessagePort::Answer(const Request& request) {
  CFDataRef data = DataOf(request.mBytes);
  CFDataRef reply = mCallout(this, request.mMessageId, data, mContext.info);
  CFRelease(data);
  SendFrame(request.mSocket, BytesOf(reply), kReplySeconds);
  if (reply != nullptr) CFRelease(reply);
  close(request.mSocket);
}

void __CFMessagePort::Perform() {
  // The callout may invalidate the port (a quit request): later requests are
  // then closed unanswered.
  Request request;
  while (mValid && TakeRequest(request)) Answer(request);
}

void __CFMessagePort::Invalidate() {
  if (!mValid) return;
  mValid = false;
  if (!mLocal) return;
  CFRunLoopGetMain()->Remove(this, kCFRunLoopCommonModes);
  if (write(mStop[1], "x", 1) == 1 && mAcceptor.joinable()) mAcceptor.join();
  close(mStop[0]);
  close(mStop[1]);
  close(mListener);
  unlink(mPath.c_str());
  Request request;
  while (TakeRequest(request)) close(request.mSocket);
}

CFMessagePortRef CFMessagePortCreateLocal(CFAllocatorRef, CFStringRef name,
                                          CFMessagePortCallBack callout,
                                          CFMessagePortContext* context, Boolean* shouldFreeInfo) {
  if (shouldFreeInfo != nullptr) *shouldFreeInfo = true;
  std::string path;
  if (name == nullptr || callout == nullptr ||
      !MessagePortSocketPath(__CFString::utf8Of(name), path))
    return nullptr;
  const int listener = ListenAt(path);
  if (listener < 0) return nullptr;
  __CFMessagePort* port = new __CFMessagePort(path);
  const CFMessagePortContext none = {};
  if (!port->Serve(listener, callout, context != nullptr ? *context : none)) {
    port->mValid = false;
    CFRelease(port);
    return nullptr;
  }
  if (shouldFreeInfo != nullptr) *shouldFreeInfo = false;
  return port;
}

CFMessagePortRef CFMessagePortCreateRemote(CFAllocatorRef, CFStringRef name) {
  std::string path;
  if (name == nullptr || !MessagePortSocketPath(__CFString::utf8Of(name), path)) return nullptr;
  const int probe = ConnectToPort(path);
  if (probe < 0) return nullptr;
  close(probe);
  return new __CFMessagePort(path);
}

SInt32 CFMessagePortSendRequest(CFMessagePortRef remote, SInt32 msgid, CFDataRef data,
                                CFTimeInterval sendTimeout, CFTimeInterval rcvTimeout,
                                CFStringRef replyMode, CFDataRef* returnData) {
  if (returnData != nullptr) *returnData = nullptr;
  if (remote == nullptr || !remote->mValid) return kCFMessagePortIsInvalid;
  const int connection = ConnectToPort(remote->mPath);
  if (connection < 0) return kCFMessagePortIsInvalid;
  std::string frame(reinterpret_cast<const char*>(&msgid), sizeof msgid);
  frame += BytesOf(data);
  SInt32 result = kCFMessagePortSuccess;
  const FrameResult sent = SendFrame(connection, frame, sendTimeout);
  if (sent != FrameResult::kDone) {
    result = sent == FrameResult::kTimedOut ? kCFMessagePortSendTimeout : kCFMessagePortTransportError;
  } else if (replyMode != nullptr) {
    std::string reply;
    const FrameResult received = ReceiveFrame(connection, reply, rcvTimeout);
    if (received == FrameResult::kDone && returnData != nullptr) *returnData = DataOf(reply);
    if (received != FrameResult::kDone)
      result = received == FrameResult::kTimedOut ? kCFMessagePortReceiveTimeout
                                                  : kCFMessagePortBecameInvalidError;
  }
  close(connection);
  return result;
}

void CFMessagePortInvalidate(CFMessagePortRef port) {
  if (port != nullptr) port->Invalidate();
}

Boolean CFMessagePortIsValid(CFMessagePortRef port) { return port != nullptr && port->mValid; }
