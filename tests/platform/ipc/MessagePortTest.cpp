// Message ports between processes of one user, served on the main run loop.
#include <dirent.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "ipc/CFMessagePort.h"
#include "ipc/MessagePortFrames.h"
#include "paths/PlatformPaths.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

namespace {

struct Served {
  int mRequests = 0;
  SInt32 mLastId = -1;
  std::string mLastBytes;
  bool mQuitOnRequest = false;
};

CFDataRef Echo(CFMessagePortRef local, SInt32 msgid, CFDataRef data, void* info) {
  Served* served = static_cast<Served*>(info);
  ++served->mRequests;
  served->mLastId = msgid;
  served->mLastBytes = DataText(data);
  if (served->mQuitOnRequest) CFMessagePortInvalidate(local);
  return CreateData("re:" + served->mLastBytes);
}

// Sends on another thread while the main loop serves; the result and reply.
struct Exchange {
  SInt32 mResult = 99;
  std::string mReply;
};

Exchange SendWhileServing(CFMessagePortRef remote, const std::string& bytes, CFStringRef replyMode,
                          double receiveSeconds = 5) {
  Exchange exchange;
  std::atomic<bool> done(false);
  std::thread sender([&] {
    CFRef<CFDataRef> data(CreateData(bytes));
    CFDataRef reply = nullptr;
    exchange.mResult =
        CFMessagePortSendRequest(remote, 7, data.get(), 5, receiveSeconds, replyMode, &reply);
    if (reply != nullptr) {
      exchange.mReply = DataText(reply);
      CFRelease(reply);
    }
    done = true;
  });
  for (int pass = 0; pass < 500 && !done; ++pass)
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);
  sender.join();
  return exchange;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double ProcessCpuSeconds() {
  struct timespec used;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  return double(used.tv_sec) + double(used.tv_nsec) / 1e9;
}

size_t OpenDescriptors() {
  DIR* folder = opendir("/proc/self/fd");
  size_t count = 0;
  while (readdir(folder) != nullptr) ++count;
  closedir(folder);
  return count;
}

// A bare connection to the socket at the path, as a peer that may never say
// anything; -1 when the port has not taken it within a second.
int OpenConnection(const std::string& path) {
  struct sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const struct timeval second = {1, 0};
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &second, sizeof second) != 0 ||
      connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(connection);
    return -1;
  }
  return connection;
}

void CloseAll(const std::vector<int>& connections) {
  for (int connection : connections) close(connection);
}

// How many of the connections the port has closed, waiting up to the seconds
// for `wanted` of them to be.
size_t ClosedByPort(const std::vector<int>& connections, size_t wanted, double seconds) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<bool> closed(connections.size(), false);
  size_t count = 0;
  while (count < wanted && SecondsSince(start) < seconds) {
    std::vector<struct pollfd> waits;
    for (size_t each = 0; each < connections.size(); ++each)
      if (!closed[each]) waits.push_back({connections[each], POLLIN, 0});
    if (poll(waits.data(), waits.size(), int((seconds - SecondsSince(start)) * 1000) + 1) <= 0)
      break;
    for (size_t each = 0; each < connections.size(); ++each) {
      char byte;
      const ssize_t got = closed[each] ? 1 : recv(connections[each], &byte, 1, MSG_DONTWAIT);
      if (got == 0 || (got < 0 && errno != EAGAIN)) closed[each] = true, ++count;
    }
  }
  return count;
}

// A request's frame bytes: its message id, then the bytes.
std::string RequestOf(const std::string& bytes) {
  const SInt32 msgid = 7;
  return std::string(reinterpret_cast<const char*>(&msgid), sizeof msgid) + bytes;
}

// A request sent a byte every 50 ms; the reply it got.
std::string TrickleRequest(const std::string& path, const std::string& bytes) {
  const int connection = OpenConnection(path);
  const std::string request = RequestOf(bytes);
  const uint32_t length = uint32_t(request.size());
  const std::string frame =
      std::string(reinterpret_cast<const char*>(&length), sizeof length) + request;
  for (char byte : frame) {
    if (write(connection, &byte, 1) != 1) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::string reply;
  ReceiveFrame(connection, reply, 5);
  close(connection);
  return reply;
}

// A request sent at once whose reply is read only once `read` is set.
std::string RequestReadLate(const std::string& path, const std::string& bytes,
                            const std::atomic<bool>& read) {
  const int connection = OpenConnection(path);
  SendFrame(connection, RequestOf(bytes), 5);
  while (!read) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::string reply;
  ReceiveFrame(connection, reply, 5);
  close(connection);
  return reply;
}

class MessagePortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mPorts = mFolder.Path() + "/ports";
    PlatformPaths::Redirect(PlatformPaths::kMessagePortFolder, mPorts);
  }
  void TearDown() override { PlatformPaths::Reset(PlatformPaths::kMessagePortFolder); }

  CFMessagePortRef Serve(CFStringRef name) {
    return CFMessagePortCreateLocal(nullptr, name, Echo, &mContext, nullptr);
  }

  Served mServed;
  CFMessagePortContext mContext = {0, &mServed, nullptr, nullptr, nullptr};

  TempFolder mFolder;
  std::string mPorts;
};

}  // namespace

TEST_F(MessagePortTest, RequestsAreAnsweredOnTheMainLoopAndNamesFreedByInvalidate) {
  CFRef<CFStringRef> name(CreateText("4242"));
  EXPECT_EQ(nullptr, CFMessagePortCreateRemote(nullptr, name.get()));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  ASSERT_NE(nullptr, local.get());
  struct stat folder;
  ASSERT_EQ(0, stat(mPorts.c_str(), &folder));
  EXPECT_EQ(0700u, folder.st_mode & 0777);
  EXPECT_EQ(nullptr, Serve(name.get())) << "a live name is not taken twice";

  CFRef<CFMessagePortRef> remote(CFMessagePortCreateRemote(nullptr, name.get()));
  ASSERT_NE(nullptr, remote.get());
  Exchange exchange =
      SendWhileServing(remote.get(), std::string("jpOpenMainUI", 13), kCFRunLoopDefaultMode);
  EXPECT_EQ(kCFMessagePortSuccess, exchange.mResult);
  EXPECT_EQ(std::string("re:jpOpenMainUI", 16), exchange.mReply);
  EXPECT_EQ(7, mServed.mLastId);

  exchange = SendWhileServing(remote.get(), "no reply awaited", nullptr);
  EXPECT_EQ(kCFMessagePortSuccess, exchange.mResult);
  EXPECT_EQ("", exchange.mReply);
  // The sender did not wait for it: the request may still be on its way.
  for (int pass = 0; pass < 500 && mServed.mRequests < 2; ++pass)
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);
  EXPECT_EQ(2, mServed.mRequests);

  // A frame past the limit is refused before it travels.
  exchange = SendWhileServing(remote.get(), std::string(kCFMessagePortMaxFrame + 1, 'x'), nullptr);
  EXPECT_EQ(kCFMessagePortTransportError, exchange.mResult);
  EXPECT_EQ(2, mServed.mRequests);

  // The callout may quit: the reply still goes out, then the name is free.
  mServed.mQuitOnRequest = true;
  exchange = SendWhileServing(remote.get(), "jpUnload", kCFRunLoopDefaultMode);
  EXPECT_EQ("re:jpUnload", exchange.mReply);
  EXPECT_FALSE(CFMessagePortIsValid(local.get()));
  EXPECT_EQ(nullptr, CFMessagePortCreateRemote(nullptr, name.get()));
  EXPECT_EQ(kCFMessagePortIsInvalid,
            CFMessagePortSendRequest(remote.get(), 0, nullptr, 1, 1, nullptr, nullptr));
  CFRef<CFMessagePortRef> again(Serve(name.get()));
  EXPECT_NE(nullptr, again.get());
}

TEST_F(MessagePortTest, AnUnansweredRequestTimesOut) {
  CFRef<CFStringRef> name(CreateText("silent"));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  CFRef<CFMessagePortRef> remote(CFMessagePortCreateRemote(nullptr, name.get()));
  ASSERT_NE(nullptr, remote.get());
  // Nobody runs the main loop: the request is read but never answered.
  CFRef<CFDataRef> data(CreateData("ping"));
  EXPECT_EQ(kCFMessagePortReceiveTimeout,
            CFMessagePortSendRequest(remote.get(), 0, data.get(), 1, 0.2, kCFRunLoopDefaultMode,
                                     nullptr));
  CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, false);
  EXPECT_EQ(1, mServed.mRequests);
}

TEST_F(MessagePortTest, FoldersOthersCouldUseDisablePortsAndBadNamesAreRefused) {
  CFRef<CFStringRef> name(CreateText("1"));
  ASSERT_EQ(0, mkdir(mPorts.c_str(), 0755));
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, Serve(name.get()));
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("disabled"));

  ASSERT_EQ(0, rmdir(mPorts.c_str()));
  const std::string real = mFolder.Path() + "/real";
  ASSERT_EQ(0, mkdir(real.c_str(), 0700));
  ASSERT_EQ(0, symlink(real.c_str(), mPorts.c_str()));
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, Serve(name.get()));
  testing::internal::GetCapturedStderr();

  ASSERT_EQ(0, unlink(mPorts.c_str()));
  for (const char* bad : {"../escape", "a/b", "", ".hidden", "name with space"}) {
    CFRef<CFStringRef> badName(CreateText(bad));
    EXPECT_EQ(nullptr, Serve(badName.get())) << bad;
  }
  CFRef<CFMessagePortRef> good(Serve(name.get()));
  EXPECT_NE(nullptr, good.get());
}

TEST_F(MessagePortTest, APeerOfAnotherUserIsDropped) {
  CFRef<CFStringRef> name(CreateText("guarded"));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  ASSERT_NE(nullptr, local.get());
  // Let the other user reach the socket; the port must still refuse it.
  ASSERT_EQ(0, chmod(mFolder.Path().c_str(), 0755));
  ASSERT_EQ(0, chmod(mPorts.c_str(), 0711));
  ASSERT_EQ(0, chmod((mPorts + "/guarded").c_str(), 0777));
  const std::string path = mPorts + "/guarded";
  const pid_t child = fork();
  if (child == 0) {
    if (setresuid(65534, 65534, 65534) != 0) _exit(2);
    const int connection = OpenConnection(path);
    if (connection < 0) _exit(3);
    const char request[] = {8, 0, 0, 0, 0, 0, 0, 0, 'p', 'i', 'n', 'g'};
    if (write(connection, request, sizeof request) != sizeof request) _exit(4);
    char reply;
    _exit(read(connection, &reply, 1) <= 0 ? 0 : 5);  // closed without an answer
  }
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0)
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);
  EXPECT_EQ(0, WEXITSTATUS(status));
  CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, false);
  EXPECT_EQ(0, mServed.mRequests);
}

TEST_F(MessagePortTest, IdleAndSlowConnectionsDelayNoOtherRequest) {
  CFRef<CFStringRef> name(CreateText("busy"));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  CFRef<CFMessagePortRef> remote(CFMessagePortCreateRemote(nullptr, name.get()));
  ASSERT_NE(nullptr, remote.get());
  const std::string path = mPorts + "/busy";
  std::vector<int> idle;
  for (int each = 0; each < 10; ++each) idle.push_back(OpenConnection(path));
  const int oversized = OpenConnection(path);
  const uint32_t pastLimit = kCFMessagePortMaxFrame + 1;
  ASSERT_EQ(ssize_t(sizeof pastLimit), write(oversized, &pastLimit, sizeof pastLimit));
  std::atomic<bool> trickled(false);
  std::string slowReply;
  std::thread slow([&] {
    slowReply = TrickleRequest(path, "slow");
    trickled = true;
  });
  // A reply far larger than a socket takes at once, to a peer not reading it yet.
  const std::string large(512 * 1024, 'L');
  std::atomic<bool> readLarge(false);
  std::string largeReply;
  std::thread late([&] { largeReply = RequestReadLate(path, large, readLarge); });
  auto start = std::chrono::steady_clock::now();
  while (mServed.mRequests < 1 && SecondsSince(start) < 1)
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);

  start = std::chrono::steady_clock::now();
  Exchange exchange = SendWhileServing(remote.get(), "prompt", kCFRunLoopDefaultMode);
  EXPECT_LT(SecondsSince(start), 1.0) << "a request waited for idle or slow connections";
  EXPECT_EQ(kCFMessagePortSuccess, exchange.mResult);
  EXPECT_EQ("re:prompt", exchange.mReply);
  EXPECT_EQ(1u, ClosedByPort({oversized}, 1, 0.5)) << "a frame past the limit is dropped at once";
  readLarge = true;
  while (!trickled && SecondsSince(start) < 3)
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);
  slow.join();
  late.join();
  EXPECT_EQ("re:slow", slowReply);
  EXPECT_TRUE(largeReply == "re:" + large) << largeReply.size() << " bytes came back";
  EXPECT_EQ(3, mServed.mRequests);

  // Idle connections are dropped once their time is up, and waiting for that
  // costs the port no processor time.
  const double cpuBefore = ProcessCpuSeconds();
  EXPECT_EQ(idle.size(), ClosedByPort(idle, idle.size(), 7));
  EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.25);
  CloseAll(idle);
  close(oversized);
}

TEST_F(MessagePortTest, AFloodOfIdleConnectionsHoldsBoundedDescriptorsAndDelaysNoRequest) {
  CFRef<CFStringRef> name(CreateText("flood"));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  CFRef<CFMessagePortRef> remote(CFMessagePortCreateRemote(nullptr, name.get()));
  ASSERT_NE(nullptr, remote.get());
  const std::string path = mPorts + "/flood";
  const size_t descriptorsBefore = OpenDescriptors();
  const size_t extra = 20;
  std::vector<int> idle;
  for (size_t each = 0; each < kCFMessagePortMaxConnections + extra; ++each) {
    idle.push_back(OpenConnection(path));
    ASSERT_GE(idle.back(), 0) << "connection " << each << " was not taken";
  }
  // The port made room by dropping the quietest: it holds no more than its bound.
  EXPECT_EQ(extra, ClosedByPort(idle, extra, 2));
  EXPECT_LE(OpenDescriptors() - descriptorsBefore - idle.size(),
            size_t(kCFMessagePortMaxConnections));

  const auto start = std::chrono::steady_clock::now();
  Exchange exchange = SendWhileServing(remote.get(), "prompt", kCFRunLoopDefaultMode);
  EXPECT_LT(SecondsSince(start), 1.0) << "a request waited for idle connections";
  EXPECT_EQ(kCFMessagePortSuccess, exchange.mResult);
  EXPECT_EQ("re:prompt", exchange.mReply);
  CloseAll(idle);
}
