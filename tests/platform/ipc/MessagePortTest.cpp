// Message ports between processes of one user, served on the main run loop.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "ipc/CFMessagePort.h"
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
  CFRef<CFStringRef> name(CreateString("4242"));
  EXPECT_EQ(nullptr, CFMessagePortCreateRemote(nullptr, name.get()));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  ASSERT_NE(nullptr, local.get());
  struct stat folder;
  ASSERT_EQ(0, stat(mPorts.c_str(), &folder));
  EXPECT_EQ(0700u, folder.st_mode & 0777);
  EXPECT_EQ(nullptr, Serve(name.get()))
      << "a live name is not taken twice";

  CFRef<CFMessagePortRef> remote(CFMessagePortCreateRemote(nullptr, name.get()));
  ASSERT_NE(nullptr, remote.get());
  Exchange exchange = SendWhileServing(remote.get(), std::string("jpOpenMainUI", 13), kCFRunLoopDefaultMode);
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
  CFRef<CFStringRef> name(CreateString("silent"));
  CFRef<CFMessagePortRef> local(Serve(name.get()));
  CFRef<CFMessagePortRef> remote(CFMessagePortCreateRemote(nullptr, name.get()));
  ASSERT_NE(nullptr, remote.get());
  // Nobody runs the main loop: the request is read but never answered.
  CFRef<CFDataRef> data(CreateData("ping"));
  EXPECT_EQ(kCFMessagePortReceiveTimeout,
            CFMessagePortSendRequest(remote.get(), 0, data.get(), 1, 0.2, kCFRunLoopDefaultMode, nullptr));
  CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.05, false);
  EXPECT_EQ(1, mServed.mRequests);
}

TEST_F(MessagePortTest, FoldersOthersCouldUseDisablePortsAndBadNamesAreRefused) {
  CFRef<CFStringRef> name(CreateString("1"));
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
    CFRef<CFStringRef> badName(CreateString(bad));
    EXPECT_EQ(nullptr, Serve(badName.get())) << bad;
  }
  CFRef<CFMessagePortRef> good(Serve(name.get()));
  EXPECT_NE(nullptr, good.get());
}

TEST_F(MessagePortTest, APeerOfAnotherUserIsDropped) {
  CFRef<CFStringRef> name(CreateString("guarded"));
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
    struct sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int connection = socket(AF_UNIX, SOCK_STREAM, 0);
    if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) _exit(3);
    const char request[] = {8, 0, 0, 0, 0, 0, 0, 0, 'p', 'i', 'n', 'g'};
    if (write(connection, request, sizeof request) != sizeof request) _exit(4);
    char reply;
    _exit(read(connection, &reply, 1) <= 0 ? 0 : 5);  // closed without an answer
  }
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.01, false);
  EXPECT_EQ(0, WEXITSTATUS(status));
  CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, false);
  EXPECT_EQ(0, mServed.mRequests);
}
