#include "host/ScratchFolders.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <vector>

namespace {

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

constexpr int kRemovalAttempts = 100;

// Held while a folder or file is made, claimed or removed, and by the signal's
// thread to the end.
std::mutex sLock;
std::vector<std::string> sFolders;
std::vector<std::string> sFiles;
int sSignalPipe[2] = {-1, -1};
pid_t sWatchedProcess = 0;
pid_t sChild = 0;  // ForkChild's child until it is waited for; under sLock

void RemoveTree(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

// While other threads still write into the folder, one pass may leave it
// with a file that appeared meanwhile.
void RemoveTreeForGood(const std::string& path) {
  std::error_code error;
  for (int attempt = 0; attempt < kRemovalAttempts; ++attempt) {
    std::filesystem::remove_all(path, error);
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return;
  }
}

void Forget(std::vector<std::string>& paths, const std::string& path) {
  paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
}

extern "C" void OnEndingSignal(int number) {
  // A child between fork and exec has no folders of its own: it ends at once.
  if (getpid() != sWatchedProcess) {
    signal(number, SIG_DFL);
    raise(number);
    return;
  }
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(number);
  if (write(sSignalPipe[1], &byte, 1) != 1) {
    // Only a full pipe refuses it, and that holds a signal that ends the program already.
  }
  errno = savedErrno;
}

// The child is never reaped elsewhere while noted, so its number is still its own.
void EndChild(int number) {
  constexpr int kStepMicroseconds = 10000;
  constexpr int kSteps = ScratchFolders::kChildSeconds * 1000000 / kStepMicroseconds;
  if (sChild <= 0) return;
  kill(sChild, number);
  pid_t ended = 0;
  for (int step = 0; ended == 0 && step < kSteps; ++step)
    if ((ended = waitpid(sChild, nullptr, WNOHANG)) == 0) usleep(kStepMicroseconds);
  if (ended != 0) return;
  kill(sChild, SIGKILL);
  waitpid(sChild, nullptr, 0);
}

// Under the lock, never released: the program ends.
void RemoveEverything() {
  for (const std::string& file : sFiles) unlink(file.c_str());
  for (const std::string& folder : sFolders) RemoveTreeForGood(folder);
}

void EndAsSignalled(int number) {
  sLock.lock();  // never released: the program ends here
  EndChild(number);
  RemoveEverything();
  signal(number, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, number);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(number);
  _exit(128 + number);  // only were the signal's default action held up
}

extern "C" void* WaitForEndingSignal(void*) {
  unsigned char byte = 0;
  ssize_t length;
  while ((length = read(sSignalPipe[0], &byte, 1)) == -1 && errno == EINTR) {
  }
  if (length == 1) EndAsSignalled(byte);
  return nullptr;
}

// Without the pipe or the thread the signals keep their default action.
void CatchEndingSignals() {
  if (pipe2(sSignalPipe, O_CLOEXEC) != 0) return;
  sWatchedProcess = getpid();
  pthread_attr_t detached;
  pthread_attr_init(&detached);
  pthread_attr_setdetachstate(&detached, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  const int made = pthread_create(&thread, &detached, WaitForEndingSignal, nullptr);
  pthread_attr_destroy(&detached);
  if (made != 0) return;
  for (int number : kEndingSignals) {
    struct sigaction previous = {};
    if (sigaction(number, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
    struct sigaction action = {};
    action.sa_handler = OnEndingSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, nullptr);
  }
}

pthread_once_t sCatchOnce = PTHREAD_ONCE_INIT;

}  // namespace

std::string ScratchFolders::Make(const std::string& pattern) {
  pthread_once(&sCatchOnce, CatchEndingSignals);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  std::lock_guard<std::mutex> hold(sLock);
  // mkdtemp makes the folder 0700.
  if (mkdtemp(name.data()) == nullptr) return "";
  sFolders.push_back(name.data());
  return sFolders.back();
}

void ScratchFolders::Remove(const std::string& path) {
  std::lock_guard<std::mutex> hold(sLock);
  RemoveTree(path);
  Forget(sFolders, path);
}

int ScratchFolders::MakeFile(std::string& pattern) {
  pthread_once(&sCatchOnce, CatchEndingSignals);
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  std::lock_guard<std::mutex> hold(sLock);
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd == -1) return -1;
  pattern = name.data();
  sFiles.push_back(pattern);
  return fd;
}

void ScratchFolders::Claim(const std::string& path) {
  pthread_once(&sCatchOnce, CatchEndingSignals);
  std::lock_guard<std::mutex> hold(sLock);
  sFiles.push_back(path);
}

void ScratchFolders::Release(const std::string& path) {
  std::lock_guard<std::mutex> hold(sLock);
  Forget(sFiles, path);
}

pid_t ScratchFolders::ForkChild() {
  pthread_once(&sCatchOnce, CatchEndingSignals);
  std::lock_guard<std::mutex> hold(sLock);
  const pid_t child = fork();
  if (child > 0) sChild = child;
  return child;
}

bool ScratchFolders::WaitForChild(pid_t child, int& status) {
  // Waited for without reaping it, so that a signal's thread may still pass it the signal.
  siginfo_t ended;
  while (waitid(P_PID, id_t(child), &ended, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
  }
  {
    std::lock_guard<std::mutex> hold(sLock);
    if (sChild == child) sChild = 0;
  }
  return waitpid(child, &status, 0) == child;
}

void ScratchFolders::Exit(int status) {
  sLock.lock();  // never released: the program ends here
  EndChild(SIGTERM);
  RemoveEverything();
  _exit(status);
}
