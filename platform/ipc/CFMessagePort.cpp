#include "ipc/CFMessagePort.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "cf/CFRunLoopObject.h"
#include "cf/CFStringObject.h"
#include "ipc/MessagePortFolder.h"
#include "ipc/MessagePortFrames.h"
#include "ipc/MessagePortServer.h"

namespace {

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
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
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
  explicit __CFMessagePort(const std::string& path)
      : CFObject(kCFObjectTypeMessagePort),
        mPath(path),
        mServer([this] { CFRunLoopGetMain()->Signal(this); }) {}
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
  void Answer(const MessagePortServer::Request& request);

  bool mLocal = false;
  CFMessagePortCallBack mCallout = nullptr;
  CFMessagePortContext mContext = {};
  MessagePortServer mServer;
};

bool __CFMessagePort::Serve(int listener, CFMessagePortCallBack callout,
                            const CFMessagePortContext& context) {
  if (!mServer.Start(listener)) return false;
  mLocal = true;
  mCallout = callout;
  mContext = context;
  if (mContext.retain != nullptr) mContext.info = const_cast<void*>(mContext.retain(mContext.info));
  CFRunLoopGetMain()->Add(this, kCFRunLoopCommonModes);
  return true;
}

// On the main thread, for each request the server read whole.
void __CFMessagePort::Answer(const MessagePortServer::Request& request) {
  CFDataRef data = DataOf(request.mBytes);
  CFDataRef reply = mCallout(this, request.mMessageId, data, mContext.info);
  CFRelease(data);
  if (mValid) {
    mServer.Reply(request.mSocket, BytesOf(reply));
  } else {
    // The callout ended the port (a quit request): its reply still goes out.
    SendFrame(request.mSocket, BytesOf(reply), MessagePortServer::kReplySeconds);
    close(request.mSocket);
  }
  if (reply != nullptr) CFRelease(reply);
}

void __CFMessagePort::Perform() {
  // The callout may invalidate the port: later requests are then closed
  // unanswered.
  MessagePortServer::Request request;
  while (mValid && mServer.TakeRequest(request)) Answer(request);
}

void __CFMessagePort::Invalidate() {
  if (!mValid) return;
  mValid = false;
  if (!mLocal) return;
  mServer.Stop();
  CFRunLoopGetMain()->Remove(this, kCFRunLoopCommonModes);
  unlink(mPath.c_str());
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
    result =
        sent == FrameResult::kTimedOut ? kCFMessagePortSendTimeout : kCFMessagePortTransportError;
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
