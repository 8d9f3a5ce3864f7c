// zpx-print's print window against a plain GTK 3 window of the same size, side
// by side in one run on the same display (run it under
// tests/gtk/on-virtual-display): from starting the program to its first
// frame, the first drawing the X server sees in a mapped top-level window of
// the program (a damage report), each run ended at that frame. zpx-print
// opens the sample PPD's print window; the plain window (bench/plain-window,
// built here, never installed) takes the size zpx-print's window had. The
// medians of both and their ratio (the target is at most 1.2), with the CPU
// time and minor page faults of each run, which end a little after the frame.
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/FileText.h"
#include "support/TempFolder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLongestStart = std::chrono::seconds(20);

// Windows the program ends with, or that are input only, answer errors to a
// damage request: they have no frame to report.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

struct Frame {
  double milliseconds = -1;
  int width = 0;
  int height = 0;
  double cpuMilliseconds = 0;
  double pageFaults = 0;
};

// The display's top-level windows watched for their first drawing.
class FrameWatch {
 public:
  FrameWatch() : mDisplay(XOpenDisplay(nullptr)) {
    int error = 0;
    if (mDisplay == nullptr || !XDamageQueryExtension(mDisplay, &mDamageEvent, &error)) return;
    XSetErrorHandler(IgnoreError);
    XSelectInput(mDisplay, DefaultRootWindow(mDisplay), SubstructureNotifyMask);
    XSync(mDisplay, False);
    mWatching = true;
  }
  ~FrameWatch() {
    if (mDisplay != nullptr) XCloseDisplay(mDisplay);
  }
  FrameWatch(const FrameWatch&) = delete;
  FrameWatch& operator=(const FrameWatch&) = delete;

  bool IsWatching() const { return mWatching; }

  // Starts the program, waits for its first frame and ends it (SIGTERM); no
  // frame (milliseconds < 0) when it did not start or draw in time.
  Frame FirstFrame(const std::vector<std::string>& command) {
    Frame frame;
    const Clock::time_point start = Clock::now();
    const pid_t program = Start(command);
    if (program <= 0) return frame;
    std::map<Window, Damage> damages;
    std::set<Window> mapped;
    while (frame.milliseconds < 0 && NextEvent(start + kLongestStart)) {
      XEvent event;
      XNextEvent(mDisplay, &event);
      if (event.type == CreateNotify) {
        damages[event.xcreatewindow.window] =
            XDamageCreate(mDisplay, event.xcreatewindow.window, XDamageReportNonEmpty);
        XFlush(mDisplay);
      } else if (event.type == MapNotify) {
        mapped.insert(event.xmap.window);
      } else if (event.type == mDamageEvent + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (mapped.count(damage.drawable) == 0) continue;
        frame.milliseconds =
            std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        frame.width = damage.geometry.width;
        frame.height = damage.geometry.height;
      }
    }
    kill(program, SIGTERM);
    rusage usage{};
    wait4(program, nullptr, 0, &usage);
    frame.cpuMilliseconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000 +
                            double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
    frame.pageFaults = double(usage.ru_minflt);
    for (const auto& [window, damage] : damages) XDamageDestroy(mDisplay, damage);
    XSync(mDisplay, True);  // the ended program's events go too
    return frame;
  }

 private:
  static pid_t Start(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t program = 0;
    const int failed = posix_spawn(&program, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? program : 0;
  }

  // Whether an event is queued before the deadline.
  bool NextEvent(Clock::time_point deadline) {
    while (XPending(mDisplay) == 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      pollfd connection = {ConnectionNumber(mDisplay), POLLIN, 0};
      poll(&connection, 1, int(left));
    }
    return true;
  }

  Display* mDisplay;
  int mDamageEvent = 0;
  bool mWatching = false;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// The median of one measure of the frames.
double Median(const std::vector<Frame>& frames, double Frame::*measure) {
  std::vector<double> values;
  for (const Frame& frame : frames) values.push_back(frame.*measure);
  return Median(values);
}

// Both programs run with a home, configuration and temporary folder of the
// run's: zpx-print keeps its tickets there, and GTK reads the display's
// settings from a copy of the ones given.
void UseRunFolders(const TempFolder& folder) {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string settings =
      config != nullptr ? FileText(std::string(config) + "/gtk-3.0/settings.ini") : "";
  folder.Write("config/gtk-3.0/settings.ini", settings);
  folder.Write("tmp/.keep", "");
  setenv("HOME", folder.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder.Path() + "/config").c_str(), 1);
  setenv("ZPX_TMPDIR", (folder.Path() + "/tmp").c_str(), 1);
}

void BM_PrintWindowAgainstPlainWindow(benchmark::State& state) {
  FrameWatch watch;
  if (!watch.IsWatching()) {
    state.SkipWithError("no display with the damage extension: run under on-virtual-display");
    return;
  }
  TempFolder folder;
  UseRunFolders(folder);
  const std::vector<std::string> print = {ZPX_TOOLS_DIR "/zpx-print",
                                          "--gui",
                                          "--forget",
                                          "--ppd",
                                          ZPX_BUNDLE "/samples/ZPX-Sample.ppd",
                                          "--output",
                                          folder.Path() + "/job.ps",
                                          ZPX_BUNDLE "/samples/Sample.ps"};
  std::vector<Frame> windows, plains;
  Frame window;
  for (auto _ : state) {
    window = watch.FirstFrame(print);
    const Frame plain =
        watch.FirstFrame({ZPX_TOOLS_DIR "/bench_plain_window", std::to_string(window.width),
                          std::to_string(window.height)});
    if (window.milliseconds < 0 || plain.milliseconds < 0 || plain.width != window.width ||
        plain.height != window.height) {
      state.SkipWithError("a window did not show, or not at the print window's size");
      return;
    }
    windows.push_back(window);
    plains.push_back(plain);
  }
  const double windowMs = Median(windows, &Frame::milliseconds);
  const double plainMs = Median(plains, &Frame::milliseconds);
  state.counters["window_ms"] = windowMs;
  state.counters["plain_window_ms"] = plainMs;
  state.counters["ratio"] = windowMs / plainMs;
  state.counters["window_cpu_ms"] = Median(windows, &Frame::cpuMilliseconds);
  state.counters["plain_cpu_ms"] = Median(plains, &Frame::cpuMilliseconds);
  state.counters["window_faults"] = Median(windows, &Frame::pageFaults);
  state.counters["plain_faults"] = Median(plains, &Frame::pageFaults);
  state.counters["width"] = window.width;
  state.counters["height"] = window.height;
}
BENCHMARK(BM_PrintWindowAgainstPlainWindow)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);

}  // namespace
