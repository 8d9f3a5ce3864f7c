#include "toolkit/gtk/ScreenWindow.h"

#include <algorithm>

#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"
#include "toolkit/gtk/ScreenBackend.h"
#include "toolkit/gtk/ScreenKeyboard.h"

namespace {

bool IsModalClass(WindowClass windowClass) { return windowClass != kDocumentWindowClass; }

int Width(const Rect& bounds) { return std::max(bounds.right - bounds.left, 1); }
int Height(const Rect& bounds) { return std::max(bounds.bottom - bounds.top, 1); }

}  // namespace

ScreenWindow::ScreenWindow(ScreenBackend& backend, WindowRef window)
    : mBackend(backend),
      mModel(window),
      mRoot(window->mRoot.get()),
      mWindow(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      mFixed(gtk_fixed_new()) {
  g_object_ref_sink(mWindow);
  gtk_container_add(GTK_CONTAINER(mWindow), mFixed);
  gtk_widget_show(mFixed);
  gtk_window_set_resizable(GTK_WINDOW(mWindow), FALSE);
  g_signal_connect(mWindow, "delete-event", G_CALLBACK(OnDelete), this);
  g_signal_connect(mWindow, "key-press-event", G_CALLBACK(OnKey), this);
}

ScreenWindow::~ScreenWindow() {
  mControls.clear();
  gtk_widget_destroy(mWindow);
  g_object_unref(mWindow);
}

bool ScreenWindow::Shows(WindowRef window) const {
  return window == mModel && window->mRoot.get() == mRoot;
}

ScreenControl* ScreenWindow::ViewOf(ControlRef control) const {
  auto found = mControls.find(control);
  return found == mControls.end() ? nullptr : found->second.get();
}

void ScreenWindow::Sync(ScreenWindow* parent, bool sensitive) {
  GtkWindow* window = GTK_WINDOW(mWindow);
  const char* title = gtk_window_get_title(window);
  if (!title || mModel->mTitle != title) gtk_window_set_title(window, mModel->mTitle.c_str());
  gtk_window_set_modal(window, IsModalClass(mModel->mClass));
  GtkWindow* above = parent ? GTK_WINDOW(parent->mWindow) : nullptr;
  if (gtk_window_get_transient_for(window) != above) gtk_window_set_transient_for(window, above);
  gtk_widget_set_sensitive(mWindow, sensitive);
  SyncControls();
  gint width = 0, height = 0;
  gtk_widget_get_size_request(mFixed, &width, &height);
  if (width != Width(mModel->mBounds) || height != Height(mModel->mBounds)) {
    gtk_widget_set_size_request(mFixed, Width(mModel->mBounds), Height(mModel->mBounds));
    gtk_window_resize(window, Width(mModel->mBounds), Height(mModel->mBounds));
  }
  Position(parent);
  bool appearing = mModel->mVisible && !gtk_widget_get_visible(mWindow);
  gtk_widget_set_visible(mWindow, mModel->mVisible);
  SyncFocus(appearing);
}

// The keyboard focus is where the program put it; a window that appears
// without one has none (GTK would give it to the first control).
void ScreenWindow::SyncFocus(bool appearing) {
  if (mModel->mFocus == mFocusShown && !appearing) return;
  mFocusShown = mModel->mFocus;
  ScreenControl* focus = mFocusShown ? ViewOf(mFocusShown) : nullptr;
  if (focus)
    gtk_widget_grab_focus(focus->FocusWidget());
  else if (appearing)
    gtk_window_set_focus(GTK_WINDOW(mWindow), nullptr);
}

// A sheet comes down from the top of its parent, centred; other windows sit
// where the model has them.
void ScreenWindow::Position(ScreenWindow* parent) {
  int left = mModel->mBounds.left, top = mModel->mBounds.top;
  if (mModel->mSheetParent && parent) {
    const Rect& over = parent->mModel->mBounds;
    gtk_window_get_position(GTK_WINDOW(parent->mWindow), &left, &top);
    left += (Width(over) - Width(mModel->mBounds)) / 2;
  }
  // Asking the display where the window is costs a round trip on every
  // refresh: the window moves only when the place it should have changed.
  if (mPlaced && mPlacedAt.x == left && mPlacedAt.y == top) return;
  gtk_window_move(GTK_WINDOW(mWindow), left, top);
  mPlaced = true;
  mPlacedAt = {left, top, 0, 0};
}

void ScreenWindow::SyncControls() {
  std::unordered_map<ControlRef, std::unique_ptr<ScreenControl>> left;
  left.swap(mControls);
  mOrder.clear();
  if (mModel->mRoot) Place(mModel->mRoot.get(), &left);
  left.clear();  // controls the model no longer has
  LabelPopups();
}

void ScreenWindow::Place(ControlRef control,
                         std::unordered_map<ControlRef, std::unique_ptr<ScreenControl>>* left) {
  if (control != mModel->mRoot.get() && ScreenControl::HasWidget(control)) {
    auto found = left->find(control);
    std::unique_ptr<ScreenControl> view;
    if (found != left->end() && found->second->Shows(control)) view = std::move(found->second);
    if (!view) {
      view = std::make_unique<ScreenControl>(mBackend, control);
      gtk_fixed_put(GTK_FIXED(mFixed), view->Widget(), control->mBounds.left, control->mBounds.top);
    } else {
      MoveIfMoved(view->Widget(), control->mBounds);
    }
    view->Sync();
    mOrder.push_back(control);
    mControls[control] = std::move(view);
  }
  for (ControlRef child : control->mChildren) Place(child, left);
}

// A move lays the whole window out again: only when the control moved.
void ScreenWindow::MoveIfMoved(GtkWidget* widget, const Rect& bounds) {
  gint left = 0, top = 0;
  gtk_container_child_get(GTK_CONTAINER(mFixed), widget, "x", &left, "y", &top, nullptr);
  if (left != bounds.left || top != bounds.top)
    gtk_fixed_move(GTK_FIXED(mFixed), widget, bounds.left, bounds.top);
}

// A pop-up's accessible name is the title on its row: the static text that
// ends nearest to its left on the same line.
void ScreenWindow::LabelPopups() {
  for (ControlRef popup : mOrder) {
    if (popup->mKind != kControlKindPopupButton) continue;
    ControlRef title = nullptr;
    for (ControlRef text : mOrder) {
      bool sameLine =
          text->mBounds.top < popup->mBounds.bottom && popup->mBounds.top < text->mBounds.bottom;
      if (text->mKind != kControlKindStaticText || !sameLine ||
          text->mBounds.right > popup->mBounds.left + 1)
        continue;
      if (!title || text->mBounds.right > title->mBounds.right) title = text;
    }
    if (title) mControls[popup]->SetAccessibleLabel(title->mText);
  }
}

std::vector<ScreenControl*> ScreenWindow::FocusOrder() const {
  std::vector<ScreenControl*> order;
  for (ControlRef control : mOrder)
    if (ScreenControl* view = ViewOf(control); view && view->TakesFocus()) order.push_back(view);
  return order;
}

gboolean ScreenWindow::OnDelete(GtkWidget*, GdkEvent*, ScreenWindow* self) {
  ScreenBackend& backend = self->mBackend;
  backend.Actions().CloseWindow(self->mModel);
  backend.Refresh();
  return TRUE;  // the model decides whether the window goes
}

gboolean ScreenWindow::OnKey(GtkWidget*, GdkEventKey* event, ScreenWindow* self) {
  return ScreenKeyboard(self->mBackend, *self).Handle(event);
}
