#include "toolkit/gtk/ScreenRunLoopSource.h"

#include <algorithm>
#include <cmath>

#include <gdk/gdk.h>

#include "cf/CFRunLoopObject.h"
#include "toolkit/ToolkitModel.h"

GSourceFuncs ScreenRunLoopSource::sFunctions = {&ScreenRunLoopSource::Prepare,
                                                &ScreenRunLoopSource::Check,
                                                &ScreenRunLoopSource::Dispatch,
                                                nullptr,
                                                nullptr,
                                                nullptr};

namespace {

// The model's clock when the source came, and GLib's then: from there on the
// model's clock follows real time.
double sClockOrigin = 0;
gint64 sRealOrigin = 0;

}  // namespace

ScreenRunLoopSource::ScreenRunLoopSource(std::function<void()> ran) : mRan(std::move(ran)) {
  sClockOrigin = ToolkitModel::Shared().Now();
  sRealOrigin = g_get_monotonic_time();
  mSource = g_source_new(&sFunctions, sizeof(Source));
  reinterpret_cast<Source*>(mSource)->owner = this;
  // Modal loops run inside model code that this source called.
  g_source_set_can_recurse(mSource, TRUE);
  // The user's input, layout and painting come first: a program whose timers
  // keep it busy must not leave new windows and menus unpainted.
  g_source_set_priority(mSource, GDK_PRIORITY_REDRAW + 1);
  g_source_attach(mSource, nullptr);
  CFRunLoopGetMain()->SetHost(&ScreenRunLoopSource::Wake, nullptr);
}

ScreenRunLoopSource::~ScreenRunLoopSource() {
  CFRunLoopGetMain()->SetHost(nullptr, nullptr);
  g_source_destroy(mSource);
  g_source_unref(mSource);
}

void ScreenRunLoopSource::Wake(void*) { g_main_context_wakeup(nullptr); }

double ScreenRunLoopSource::RealClock() {
  return sClockOrigin + double(g_get_monotonic_time() - sRealOrigin) / G_USEC_PER_SEC;
}

gint ScreenRunLoopSource::UntilNextTimer() {
  EventLoopTimerRef next = ToolkitModel::Shared().mTimers.NextDue(1e300);
  if (!next) return -1;
  double seconds = next->mFireTime - RealClock();
  return seconds <= 0 ? 0 : gint(std::min(std::ceil(seconds * 1000), double(G_MAXINT)));
}

bool ScreenRunLoopSource::TimerArmed() { return UntilNextTimer() >= 0; }

gboolean ScreenRunLoopSource::Prepare(GSource*, gint* timeout) {
  *timeout = UntilNextTimer();
  return *timeout == 0 || CFRunLoopGetMain()->HasWork(kCFRunLoopDefaultMode);
}

gboolean ScreenRunLoopSource::Check(GSource*) {
  return UntilNextTimer() == 0 || CFRunLoopGetMain()->HasWork(kCFRunLoopDefaultMode);
}

gboolean ScreenRunLoopSource::Dispatch(GSource* source, GSourceFunc, gpointer) {
  ToolkitModel::Shared().AdvanceClockTo(RealClock());
  CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
  reinterpret_cast<Source*>(source)->owner->mRan();
  return G_SOURCE_CONTINUE;
}
