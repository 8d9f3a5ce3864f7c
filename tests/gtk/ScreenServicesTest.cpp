// What the system asks of the screen besides windows: the display's bounds,
// text measured in the widgets' fonts, the bell, the cursor; and the model's
// run loop on GLib's: timers in real time, posted events, run-loop sources
// signalled from other threads, and an idle window left unpainted.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "carbon/SysBeep.h"
#include "support/ScreenFixture.h"
#include "toolkit/Appearance.h"
#include "toolkit/CoreGraphics.h"
#include "toolkit/Processes.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

Point Measured(const char* text, ThemeFontID font, SInt16* baseline) {
  CFRef<CFStringRef> string(CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8));
  Point size = {0, 0};
  EXPECT_EQ(GetThemeTextDimensions(string.get(), font, kThemeStateActive, false, &size, baseline),
            noErr);
  return size;
}

// Turns GLib's main loop until `done` or two seconds have gone by.
template <class Done>
void TurnUntil(Done done) {
  gint64 limit = g_get_monotonic_time() + 2 * G_USEC_PER_SEC;
  while (!done() && g_get_monotonic_time() < limit) {
    g_main_context_iteration(nullptr, FALSE);
    g_usleep(1000);
  }
}

void CountFired(EventLoopTimerRef, void* count) { ++*static_cast<int*>(count); }

// A program kept busy: due again as soon as it has run.
void FireAgainAtOnce(EventLoopTimerRef timer, void* count) {
  ++*static_cast<int*>(count);
  SetEventLoopTimerNextFireTime(timer, 0);
}

void NotePainted(GdkFrameClock*, bool* painted) { *painted = true; }

gboolean CountPaint(GtkWidget*, cairo_t*, int* paints) {
  ++*paints;
  return FALSE;
}

void EraseAll(ControlRef pane, ControlPartCode) { EraseRect(&pane->mBounds); }

OSStatus CountHandled(EventHandlerCallRef, EventRef, void* count) {
  ++*static_cast<int*>(count);
  return noErr;
}

void CountPerformed(void* count) { ++*static_cast<std::atomic<int>*>(count); }

#if defined(__SANITIZE_ADDRESS__)
// Kept where the leak checker cannot see it: only its disguise is stored.
constexpr uintptr_t kDisguise = 0x5A5A5A5A5A5A5A5Au;

gboolean LeakFromGLib(gpointer disguised) {
  *static_cast<uintptr_t*>(disguised) = reinterpret_cast<uintptr_t>(new int[16]) ^ kDisguise;
  return G_SOURCE_REMOVE;
}
#endif

}  // namespace

class ScreenServicesTest : public ScreenFixture {};

TEST_F(ScreenServicesTest, TheScreenIsChosenBeforeAnythingIsShown) {
  std::string error;
  EXPECT_EQ(ScreenBackend::Open(&error), nullptr);
  EXPECT_NE(error.find("open already"), std::string::npos) << error;
  mScreen.reset();
  WindowRef shownHeadless = NewWindow();
  EXPECT_EQ(ScreenBackend::Open(&error), nullptr);
  EXPECT_NE(error.find("shown already"), std::string::npos) << error;
  HideWindow(shownHeadless);
  EXPECT_NE(ScreenBackend::Open(&error), nullptr) << error;
}

TEST_F(ScreenServicesTest, DisplayTextBellAndCursorComeFromTheScreen) {
  CGRect display = CGDisplayBounds(CGMainDisplayID());
  EXPECT_EQ(display.size.width, 1280);
  EXPECT_EQ(display.size.height, 1024);

  // Proportional: four narrow letters are narrower than four wide ones, which
  // a fixed width per character would not give.
  SInt16 baseline = 0;
  Point narrow = Measured("iiii", kThemeSystemFont, &baseline);
  Point wide = Measured("WWWW", kThemeSystemFont, &baseline);
  EXPECT_LT(narrow.h * 2, wide.h);
  EXPECT_LT(baseline, 0);  // the line's bottom lies below the baseline
  Point small = Measured("WWWW", kThemeSmallSystemFont, &baseline);
  EXPECT_LT(small.h, wide.h);
  EXPECT_LT(small.v, wide.v);
  EXPECT_GE(wide.v, 13);

  UInt32 beeps = SysBeepCount();
  SysBeep(1);
  EXPECT_EQ(SysBeepCount(), beeps + 1);

  WindowRef window = NewWindow();
  mScreen->Settle();
  GdkWindow* shown = gtk_widget_get_window(WindowWidget(window));
  ASSERT_NE(shown, nullptr);
  GdkCursor* arrow = gdk_window_get_cursor(shown);
  SetThemeCursor(kThemeWatchCursor);
  EXPECT_NE(gdk_window_get_cursor(shown), arrow);
  SetThemeCursor(kThemeArrowCursor);
  EXPECT_EQ(CurrentThemeCursor(), kThemeArrowCursor);

  ProcessSerialNumber process;
  GetCurrentProcess(&process);
  EXPECT_EQ(SetFrontProcess(&process), noErr);
  EXPECT_TRUE(gtk_widget_get_visible(WindowWidget(window)));
}

TEST_F(ScreenServicesTest, TimersPostedEventsAndSourcesRunOnGLibsLoop) {
  int fired = 0;
  EventLoopTimerRef timer = nullptr;
  auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(InstallEventLoopTimer(GetMainEventLoop(), 0.08, 0, NewEventLoopTimerUPP(CountFired),
                                  &fired, &timer),
            noErr);
  TurnUntil([&] { return fired > 0; });
  EXPECT_EQ(fired, 1);
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(75));
  RemoveEventLoopTimer(timer);

  int handled = 0;
  const EventTypeSpec type = {kEventClassCommand, kEventCommandProcess};
  EventHandlerRef handler = nullptr;
  InstallEventHandler(GetApplicationEventTarget(), NewEventHandlerUPP(CountHandled), 1, &type,
                      &handled, &handler);
  EventRef event = nullptr;
  CreateEvent(nullptr, kEventClassCommand, kEventCommandProcess, GetCurrentEventTime(), 0, &event);
  ASSERT_EQ(PostEventToQueue(GetMainEventQueue(), event, kEventPriorityStandard), noErr);
  ReleaseEvent(event);
  EXPECT_EQ(handled, 0);  // delivered by the loop, not by the post
  TurnUntil([&] { return handled > 0; });
  EXPECT_EQ(handled, 1);
  RemoveEventHandler(handler);

  // Signalled from another thread, the source wakes GLib's loop where it waits.
  std::atomic<int> performed{0};
  CFRunLoopSourceContext context = {};
  context.info = &performed;
  context.perform = &CountPerformed;
  CFRef<CFRunLoopSourceRef> source(CFRunLoopSourceCreate(nullptr, 0, &context));
  CFRunLoopAddSource(CFRunLoopGetMain(), source.get(), kCFRunLoopDefaultMode);
  guint guard = g_timeout_add(
      3000, [](gpointer) { return G_SOURCE_REMOVE; }, nullptr);
  std::thread signaller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    CFRunLoopSourceSignal(source.get());
    CFRunLoopWakeUp(CFRunLoopGetMain());
  });
  while (performed == 0 && g_main_context_find_source_by_id(nullptr, guard))
    g_main_context_iteration(nullptr, TRUE);
  signaller.join();
  EXPECT_EQ(performed, 1);
  if (g_main_context_find_source_by_id(nullptr, guard)) g_source_remove(guard);
  CFRunLoopRemoveSource(CFRunLoopGetMain(), source.get(), kCFRunLoopDefaultMode);
}

TEST_F(ScreenServicesTest, AnIdleWindowIsPaintedAgainOnlyAfterItChanges) {
  WindowRef window = ShowScrollBarWindow();
  ASSERT_NE(window, nullptr);
  ControlRef bar = FindControl(window, FourCC("sbar"), 1);
  ControlRef pane = NewPane(window, {10, 10, 60, 110});
  ControlUserPaneDrawUPP draw = NewControlUserPaneDrawUPP(EraseAll);
  ASSERT_EQ(SetControlData(pane, 0, kControlUserPaneDrawProcTag, sizeof draw, &draw), noErr);
  Draw1Control(pane);
  mScreen->Settle();
  int panePaints = 0, barPaints = 0;
  g_signal_connect(WidgetOf(pane), "draw", G_CALLBACK(CountPaint), &panePaints);
  g_signal_connect(WidgetOf(bar), "draw", G_CALLBACK(CountPaint), &barPaints);
  // A modal loop's idle turns for a third of a second, each refreshing the
  // screen: at the display's frame rate a repaint per turn would come ~20 times.
  auto busyTurns = [&] {
    int busy = 0;
    for (gint64 end = g_get_monotonic_time() + G_USEC_PER_SEC / 3; g_get_monotonic_time() < end;
         g_usleep(1000))
      busy += mScreen->PerformModalStep(window);
    return busy;
  };
  EXPECT_LE(busyTurns(), 2);
  EXPECT_EQ(panePaints, 0);
  EXPECT_EQ(barPaints, 0);

  // What the program changes is painted once.
  Draw1Control(pane);
  SetControl32BitValue(bar, 7);
  EXPECT_LE(busyTurns(), 4);
  EXPECT_EQ(panePaints, 1);
  EXPECT_EQ(barPaints, 1);
}

#if defined(__SANITIZE_ADDRESS__)
// The leak checker's exceptions cover what GTK's libraries keep, not memory of
// ours lost inside their callbacks.
TEST_F(ScreenServicesTest, AWindowShownWhileTheProgramIsBusyIsStillPainted) {
  int fired = 0;
  EventLoopTimerRef timer = nullptr;
  ASSERT_EQ(InstallEventLoopTimer(GetMainEventLoop(), 0, 0, NewEventLoopTimerUPP(FireAgainAtOnce),
                                  &fired, &timer),
            noErr);
  WindowRef window = NewWindow(200, 100);
  mScreen->Refresh();
  GtkWidget* shown = WindowWidget(window);
  ASSERT_NE(shown, nullptr);
  gtk_widget_realize(shown);
  bool painted = false;
  GdkFrameClock* clock = gtk_widget_get_frame_clock(shown);
  gulong handler = g_signal_connect(clock, "after-paint", G_CALLBACK(NotePainted), &painted);
  for (int turn = 0; turn < 2000 && !painted; ++turn) g_main_context_iteration(nullptr, TRUE);
  g_signal_handler_disconnect(clock, handler);
  EXPECT_TRUE(painted);
  for (int turn = 0; turn < 100 && fired == 0; ++turn) g_main_context_iteration(nullptr, TRUE);
  EXPECT_GT(fired, 0);  // and the program runs too
  RemoveEventLoopTimer(timer);
}

TEST_F(ScreenServicesTest, ALeakOfOursInsideGLibsLoopIsStillReported) {
  WindowRef window = NewWindow();
  mScreen->Settle();
  EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);  // the screen itself leaks nothing
  uintptr_t disguised = 0;
  g_idle_add(&LeakFromGLib, &disguised);
  while (disguised == 0) g_main_context_iteration(nullptr, TRUE);
  EXPECT_NE(__lsan_do_recoverable_leak_check(), 0);
  delete[] reinterpret_cast<int*>(disguised ^ kDisguise);
  DisposeWindow(window);
}
#endif
