#pragma once
// The backend that shows the model in GTK 3 windows: every window and control
// of the model as a widget, kept in line with the model after each turn of the
// run loop and each thing the user does; the user's input goes to the model as
// the user's actions; the model's run loop and timers run as GLib sources, and
// a modal loop is a nested turn of GLib's main loop. While one lives, it is the
// process's backend; it is made before anything is shown.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "toolkit/ToolkitBackend.h"
#include "toolkit/UserActions.h"
#include "toolkit/gtk/ScreenRunLoopSource.h"
#include "toolkit/gtk/ScreenWindow.h"

class ScreenBackend : public ToolkitBackend {
 public:
  // The backend on the display the environment names; null, with the reason
  // in *error, when there is none, one is open or a window is shown already. `stalled` hears of a
  // modal loop left with nothing to do (tests, which queue the user's steps); without it a modal
  // loop waits for the user.
  static std::unique_ptr<ScreenBackend> Open(
      std::string* error, std::function<void(const std::string&)> stalled = nullptr);
  ~ScreenBackend() override;
  ScreenBackend(const ScreenBackend&) = delete;
  ScreenBackend& operator=(const ScreenBackend&) = delete;

  // Makes the screen show the model as it is now.
  void Refresh();
  // Refreshes, then lets GTK map, lay out and paint every shown window, and
  // waits until the display shows what was painted.
  void Settle();
  // While the screen follows the model, widgets' signals are not the user's.
  bool Syncing() const { return mSyncing; }
  // A change made to the screen alone (the keyboard's focus moved): what the
  // widgets do on their own meanwhile (a list selecting the row its cursor
  // lands on) is not the user's, and the screen follows the model again.
  void ScreenOnly(const std::function<void()>& change);
  UserActions& Actions() { return mActions; }
  ScreenWindow* ViewOf(WindowRef window) const;
  // What the user will do, one step per turn of the next modal loops, each
  // once the screen has settled.
  void QueueModalStep(std::function<void()> step);
  size_t ModalStepsLeftForTesting() const { return mModalSteps.size(); }

  bool PerformModalStep(WindowRef window) override;
  void ModalLoopStalled(WindowRef window) override;
  bool Clock(EventTime* now) override;
  bool DisplayBounds(CGRect* bounds) override;
  bool MeasureText(const std::string& utf8, ThemeFontID font, Point* size,
                   SInt16* baseline) override;
  void Beep() override;
  void ShowCursor(ThemeCursor cursor) override;
  void ComeToFront() override;

 private:
  explicit ScreenBackend(std::function<void(const std::string&)> stalled);
  ScreenWindow* ViewOrNew(WindowRef window);
  // The window a window stays above: its sheet parent, or for a modal window
  // the frontmost document window.
  ScreenWindow* ParentOf(WindowRef window) const;
  void ApplyCursor();
  bool Settled() const;
  void AwaitFrames(gint64 limit);

  std::vector<std::unique_ptr<ScreenWindow>> mViews;
  UserActions mActions;
  bool mSyncing = false;
  std::deque<std::function<void()>> mModalSteps;
  std::function<void(const std::string&)> mStalled;
  GtkWidget* mSystemFont;  // labels whose layouts measure text
  GtkWidget* mSmallFont;
  ThemeCursor mCursor = kThemeArrowCursor;
  GdkCursor* mArrowCursor = nullptr;
  GdkCursor* mWaitCursor = nullptr;
  ScreenRunLoopSource mSource;
  static bool sOpen;  // one screen per process
};
