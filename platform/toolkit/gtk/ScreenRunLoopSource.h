#pragma once
// The model's main run loop and its timers as one GLib source: it is ready
// when a run-loop source is signalled (from any thread) or a timer is due in
// real time, and then runs them and has the screen show the outcome.

#include <functional>

#include <glib.h>

class ScreenRunLoopSource {
 public:
  // `ran` is called after each turn that ran model code.
  explicit ScreenRunLoopSource(std::function<void()> ran);
  ~ScreenRunLoopSource();
  ScreenRunLoopSource(const ScreenRunLoopSource&) = delete;
  ScreenRunLoopSource& operator=(const ScreenRunLoopSource&) = delete;

  // Whether a timer is armed: a loop waiting for one has something to wait for.
  static bool TimerArmed();
  // The model's clock when the source came, moved on by real time since.
  static double RealClock();

 private:
  struct Source {
    GSource base;
    ScreenRunLoopSource* owner;
  };
  static gboolean Prepare(GSource* source, gint* timeout);
  static gboolean Check(GSource* source);
  static gboolean Dispatch(GSource* source, GSourceFunc, gpointer);
  static void Wake(void* context);
  // Milliseconds until the next timer is due: 0 due now, -1 none armed.
  static gint UntilNextTimer();

  GSource* mSource;
  std::function<void()> mRan;
  static GSourceFuncs sFunctions;
};
