#pragma once
// A print server of the test's own: the build installed into a scratch
// prefix, cupsd started on a free loopback port from a configuration folder
// beside it (state, cache, spool, logs and temporary files below the folder,
// no browsing, no web interface), its programs the prefix's lib/cups with the
// system's filters and cups-exec linked in and the capturing backend. As root
// the server runs as nobody/nogroup; otherwise as the invoking user. It is
// stopped by its process id when the object goes, or by a watcher process
// when this process ends any other way.

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "support/TempFolder.h"

class LocalPrintServer {
 public:
  static constexpr int kStartSeconds = 10;

  LocalPrintServer() {
    if (mFolder.Path().empty() || !Install() || !Configure()) return;
    Start();
  }
  ~LocalPrintServer() { Stop(); }
  LocalPrintServer(const LocalPrintServer&) = delete;
  LocalPrintServer& operator=(const LocalPrintServer&) = delete;

  bool IsRunning() const { return mPid > 0 && mReady; }
  // host:port, for CUPS_SERVER.
  std::string Address() const { return "127.0.0.1:" + std::to_string(mPort); }
  const std::string& Prefix() const { return mPrefix; }
  std::string CaptureFolder() const { return mFolder.Path() + "/capture"; }
  // The filters' TMPDIR.
  std::string TemporaryFolder() const { return mFolder.Path() + "/spool/tmp"; }
  // The PPD the server keeps for the queue.
  std::string QueuePPD(const std::string& queue) const {
    return mFolder.Path() + "/conf/ppd/" + queue + ".ppd";
  }
  const std::string& UserName() const { return mUser; }
  std::string ErrorLog() const { return mFolder.Path() + "/log/error_log"; }

  // A new folder below the server's that the server's user may write in.
  std::string ServerUserFolder(const std::string& name) const {
    const std::string path = mFolder.Path() + "/" + name;
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (geteuid() == 0 && Shell("chown nobody:nogroup '" + path + "'") != 0) return "";
    return path;
  }

  // Adds an enabled queue that captures its jobs, made from the PPD file.
  bool AddQueue(const std::string& queue, const std::string& ppd) const {
    return AddCapturingQueue(queue, "-P '" + ppd + "'");
  }
  // The same, made with a model of the drivers ("zpx:FILE", as lpinfo -m lists it).
  bool AddModelQueue(const std::string& queue, const std::string& model) const {
    return AddCapturingQueue(queue, "-m '" + model + "'");
  }

  // The server stops answering, its connections still taken by the system;
  // Resume lets it go on.
  void Pause() const { kill(mPid, SIGSTOP); }
  void Resume() const { kill(mPid, SIGCONT); }

  void Stop() {
    if (mWatcher > 0) {
      kill(mWatcher, SIGKILL);
      waitpid(mWatcher, nullptr, 0);
      mWatcher = -1;
    }
    if (mPid <= 0) return;
    kill(mPid, SIGTERM);
    for (int tries = 0; tries < 100 && waitpid(mPid, nullptr, WNOHANG) == 0; ++tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (waitpid(mPid, nullptr, WNOHANG) == 0) {
      kill(mPid, SIGKILL);
      waitpid(mPid, nullptr, 0);
    }
    mPid = -1;
  }

  static int Shell(const std::string& command) {
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // A loopback port nobody listens on at the moment.
  static int FreePort() {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = -1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
      port = ntohs(address.sin_port);
    close(fd);
    return port;
  }

 private:
  bool AddCapturingQueue(const std::string& queue, const std::string& made) const {
    return Shell("lpadmin -h " + Address() + " -p " + queue + " -E -v capture:" + CaptureFolder() +
                 " " + made + " 2>/dev/null") == 0;
  }

  bool Install() {
    mPrefix = mFolder.Path() + "/prefix";
    return Shell("cmake --install '" ZPX_BUILD_DIR "' --prefix '" + mPrefix + "' >/dev/null") == 0;
  }

  bool Configure() {
    namespace fs = std::filesystem;
    const std::string& root = mFolder.Path();
    std::error_code error;
    // The server's user walks into the folder.
    fs::permissions(root, fs::perms(0755), error);
    for (const char* folder : {"conf", "state", "cache", "spool/tmp", "log", "capture"})
      fs::create_directories(root + "/" + folder, error);
    const std::string programs = mPrefix + "/lib/cups";
    for (const char* folder : {"filter", "backend", "daemon"})
      fs::create_directories(programs + "/" + folder, error);
    for (const auto& filter : fs::directory_iterator("/usr/lib/cups/filter", error))
      fs::create_symlink(filter.path(), programs + "/filter/" + filter.path().filename().string(),
                         error);
    // The server runs the filters through cups-exec and lists and writes the
    // drivers' PPDs (the installed tree's driver/zpx) through cups-driverd.
    for (const char* daemon : {"cups-exec", "cups-driverd"})
      fs::create_symlink(std::string("/usr/lib/cups/daemon/") + daemon,
                         programs + "/daemon/" + daemon, error);
    fs::copy_file(ZPX_FIXTURES "/cups/capture", programs + "/backend/capture", error);
    fs::permissions(programs + "/backend/capture", fs::perms(0755), error);

    const bool root_user = geteuid() == 0;
    passwd* user = getpwuid(geteuid());
    group* group = getgrgid(getegid());
    if (!root_user && (user == nullptr || group == nullptr)) return false;
    mUser = root_user ? "nobody" : user->pw_name;
    const std::string groupName = root_user ? "nogroup" : group->gr_name;
    mPort = FreePort();
    mFolder.Write(
        "conf/cupsd.conf",
        "Listen 127.0.0.1:" + std::to_string(mPort) +
            "\nBrowsing No\nWebInterface No\n"
            "LogLevel info\nPassEnv ASAN_OPTIONS\nPassEnv UBSAN_OPTIONS\nPassEnv LSAN_OPTIONS\n"
            "<Location />\n  Order allow,deny\n  Allow from 127.0.0.1\n</Location>\n"
            "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    mFolder.Write("conf/cups-files.conf",
                  "ServerRoot " + root + "/conf\nStateDir " + root + "/state\nCacheDir " + root +
                      "/cache\nRequestRoot " + root + "/spool\nTempDir " + root +
                      "/spool/tmp\nServerBin " + programs +
                      "\nDataDir /usr/share/cups\nAccessLog " + root +
                      "/log/access_log\nErrorLog " + root + "/log/error_log\nPageLog " + root +
                      "/log/page_log\nUser " + mUser + "\nGroup " + groupName + "\nSystemGroup " +
                      groupName + "\n");
    if (!root_user) return true;
    // The server's folders become its user's.
    return Shell("chown -R nobody:nogroup '" + root + "/conf' '" + root + "/state' '" + root +
                 "/cache' '" + root + "/spool' '" + root + "/log' '" + root + "/capture'") == 0;
  }

  void Start() {
    const std::string conf = mFolder.Path() + "/conf/";
    const std::string output = mFolder.Path() + "/log/cupsd.out";
    mPid = fork();
    if (mPid == 0) {
      FILE* log = std::freopen(output.c_str(), "w", stdout);
      if (log == nullptr || dup2(STDOUT_FILENO, STDERR_FILENO) == -1) _exit(127);
      const std::string files = conf + "cups-files.conf";
      const std::string daemon = conf + "cupsd.conf";
      if (geteuid() == 0)
        execlp("setpriv", "setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "cupsd",
               "-f", "-c", daemon.c_str(), "-s", files.c_str(), static_cast<char*>(nullptr));
      else
        execlp("cupsd", "cupsd", "-f", "-c", daemon.c_str(), "-s", files.c_str(),
               static_cast<char*>(nullptr));
      _exit(127);
    }
    Watch();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
    while (mPid > 0 && !mReady && std::chrono::steady_clock::now() < deadline) {
      if (waitpid(mPid, nullptr, WNOHANG) == mPid) {
        mPid = -1;
        return;
      }
      mReady = Answers();
      if (!mReady) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  // A process that stops the server when this one ends without stopping it
  // (an abort, a signal): it waits for the end of a pipe only this process holds.
  void Watch() {
    int ends[2];
    if (mPid <= 0 || pipe2(ends, O_CLOEXEC) != 0) return;
    mWatcher = fork();
    if (mWatcher == 0) {
      close(ends[1]);
      char byte;
      while (read(ends[0], &byte, 1) != 0) {
      }
      kill(mPid, SIGTERM);
      sleep(2);
      kill(mPid, SIGKILL);
      _exit(0);
    }
    close(ends[0]);
    mWatcherPipe = ends[1];
  }

  bool Answers() const {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(mPort));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
  }

  TempFolder mFolder;
  std::string mPrefix;
  std::string mUser;
  int mPort = -1;
  pid_t mPid = -1;
  pid_t mWatcher = -1;
  int mWatcherPipe = -1;  // held open, never written: its end wakes the watcher
  bool mReady = false;
};
