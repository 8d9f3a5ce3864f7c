#pragma once
// The GTK window that shows one window of the model: a fixed-position
// container holding a widget per control at its bounds, in embedding order.
// Closing it is the user closing the model's window; its keys follow the
// keyboard rules.

#include <memory>
#include <unordered_map>
#include <vector>

#include <gtk/gtk.h>

#include "toolkit/CarbonEvents.h"
#include "toolkit/gtk/ScreenControl.h"

class ScreenBackend;

class ScreenWindow {
 public:
  ScreenWindow(ScreenBackend& backend, WindowRef window);
  ~ScreenWindow();
  ScreenWindow(const ScreenWindow&) = delete;
  ScreenWindow& operator=(const ScreenWindow&) = delete;

  // Brings the window and its widgets in line with the model; `parent` is the
  // view of the window it is a sheet of or modal over, or null.
  void Sync(ScreenWindow* parent, bool sensitive);
  bool Shows(WindowRef window) const;
  GtkWidget* Widget() const { return mWindow; }
  WindowRef Model() const { return mModel; }
  // The widget that shows the control, or null.
  ScreenControl* ViewOf(ControlRef control) const;
  // The controls the user reaches with Tab, in embedding order.
  std::vector<ScreenControl*> FocusOrder() const;

 private:
  void SyncControls();
  void Place(ControlRef control,
             std::unordered_map<ControlRef, std::unique_ptr<ScreenControl>>* left);
  void Position(ScreenWindow* parent);
  void SyncFocus(bool appearing);
  void MoveIfMoved(GtkWidget* widget, const Rect& bounds);
  void LabelPopups();
  static gboolean OnDelete(GtkWidget*, GdkEvent*, ScreenWindow* self);
  static gboolean OnKey(GtkWidget*, GdkEventKey* event, ScreenWindow* self);

  ScreenBackend& mBackend;
  WindowRef mModel;
  ControlRef mRoot;  // tells a new window at a disposed one's address apart
  GtkWidget* mWindow;
  GtkWidget* mFixed;
  std::unordered_map<ControlRef, std::unique_ptr<ScreenControl>> mControls;
  std::vector<ControlRef> mOrder;  // embedding order
  ControlRef mFocusShown = nullptr;
  bool mPlaced = false;
  GdkRectangle mPlacedAt = {0, 0, 0, 0};  // where the window was last moved to
};
