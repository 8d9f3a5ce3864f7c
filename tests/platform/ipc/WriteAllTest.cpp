// A whole buffer reaches the descriptor through short writes and signals; a
// failure says why and how much was written.
#include "ipc/WriteAll.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

namespace {

void Ignore(int) {}

// Fills the pipe until it takes no more, so that the next write waits.
void Fill(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  const std::string block(4096, 'f');
  while (write(fd, block.data(), block.size()) > 0) {
  }
  fcntl(fd, F_SETFL, flags);
}

std::string ReadAll(int fd) {
  std::string all;
  char chunk[4096];
  ssize_t length;
  while ((length = read(fd, chunk, sizeof chunk)) > 0) all.append(chunk, size_t(length));
  return all;
}

}  // namespace

TEST(WriteAllTest, AWaitingWriteGoesOnAfterASignalAndThroughShortWrites) {
  int ends[2];
  ASSERT_EQ(0, pipe(ends));
  Fill(ends[1]);
  // A handler without SA_RESTART: the waiting write returns EINTR.
  struct sigaction action = {}, previous = {};
  action.sa_handler = Ignore;
  ASSERT_EQ(0, sigaction(SIGALRM, &action, &previous));
  itimerval timer = {};
  timer.it_value.tv_usec = 50000;
  ASSERT_EQ(0, setitimer(ITIMER_REAL, &timer, nullptr));
  std::string drained;
  std::thread reader([&] {
    // The signal is the writer's.
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    pthread_sigmask(SIG_BLOCK, &alarm, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    drained = ReadAll(ends[0]);
  });
  std::string payload(1 << 20, 'x');
  for (size_t i = 0; i < payload.size(); i += 7) payload[i] = char('a' + i % 26);
  size_t written = 0;
  const bool whole = WriteAll(ends[1], payload.data(), payload.size(), &written);
  close(ends[1]);
  reader.join();
  close(ends[0]);
  sigaction(SIGALRM, &previous, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(written, payload.size());
  ASSERT_GE(drained.size(), payload.size());
  EXPECT_EQ(drained.substr(drained.size() - payload.size()), payload);
}

TEST(WriteAllTest, AFailureSaysWhyAndHowMuchWasWritten) {
  int ends[2];
  ASSERT_EQ(0, pipe(ends));
  close(ends[1]);
  size_t written = 99;
  errno = 0;
  EXPECT_FALSE(WriteAll(ends[1], "abc", 3, &written));
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(written, 0u);
  close(ends[0]);
}
