#include "toolkit/gtk/ScreenKeyboard.h"

#include <algorithm>

#include "toolkit/ToolkitControl.h"
#include "toolkit/gtk/ScreenBackend.h"
#include "toolkit/gtk/ScreenWindow.h"

bool ScreenKeyboard::Handle(const GdkEventKey* event) {
  bool modified = event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK);
  if (modified) return false;
  switch (event->keyval) {
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
      return MoveFocus(event->state & GDK_SHIFT_MASK);
    case GDK_KEY_ISO_Left_Tab:
      return MoveFocus(true);
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: {
      ScreenBackend& backend = mBackend;
      bool pressed = backend.Actions().PressReturn();
      backend.Refresh();
      return pressed;
    }
    case GDK_KEY_Escape: {
      ScreenBackend& backend = mBackend;
      bool pressed = backend.Actions().PressEscape();
      backend.Refresh();
      return pressed;
    }
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
      return OpenPopup();
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
      return OpenOrCloseRow(true);
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
      return OpenOrCloseRow(false);
    default:
      return false;
  }
}

ScreenControl* ScreenKeyboard::Focused() const {
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(mWindow.Widget()));
  if (!focus) return nullptr;
  for (ScreenControl* view : mWindow.FocusOrder())
    if (focus == view->Widget() || gtk_widget_is_ancestor(focus, view->Widget())) return view;
  return nullptr;
}

bool ScreenKeyboard::MoveFocus(bool backward) {
  std::vector<ScreenControl*> order = mWindow.FocusOrder();
  if (order.empty()) return true;
  auto at = std::find(order.begin(), order.end(), Focused());
  size_t count = order.size();
  size_t next = at == order.end()
                    ? (backward ? count - 1 : 0)
                    : (size_t(at - order.begin()) + (backward ? count - 1 : 1)) % count;
  GtkWidget* target = order[next]->FocusWidget();
  mBackend.ScreenOnly([target] { gtk_widget_grab_focus(target); });
  return true;
}

bool ScreenKeyboard::OpenPopup() {
  ScreenControl* focused = Focused();
  if (!focused || focused->Control()->mKind != kControlKindPopupButton) return false;
  gtk_combo_box_popup(GTK_COMBO_BOX(focused->Widget()));
  return true;
}

bool ScreenKeyboard::OpenOrCloseRow(bool open) {
  ScreenControl* focused = Focused();
  if (!focused || focused->Control()->mKind != kControlKindDataBrowser) return false;
  UInt32 item = focused->CursorRow();
  if (item == kDataBrowserNoItem) return false;
  ScreenBackend& backend = mBackend;
  ControlRef list = focused->Control();
  if (open)
    backend.Actions().OpenRow(list, item);
  else
    backend.Actions().CloseRow(list, item);
  backend.Refresh();
  return true;
}
