#pragma once
// A toolkit shown on the virtual display: the GTK backend replaces the
// headless driver for the test, a modal loop left with nothing to do fails
// the test, so does any warning or critical GTK or GLib logs, and no window
// is left behind. Helpers read back what the screen shows and synthesize keys
// and clicks in-process.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/GtkWarnings.h"
#include "support/KeyPress.h"
#include "support/ScreenShot.h"
#include "support/ToolkitFixture.h"
#include "toolkit/ToolkitControl.h"
#include "toolkit/ToolkitWindow.h"
#include "toolkit/gtk/ScreenBackend.h"

class ScreenFixture : public ToolkitFixture {
 protected:
  ScreenFixture() {
    gtkwarnings::FailTestsOnWarnings();
    std::string error;
    mScreen = ScreenBackend::Open(&error, [](const std::string& what) { ADD_FAILURE() << what; });
    if (!mScreen) ADD_FAILURE() << error;  // the tests run on a virtual display, never without
  }
  ~ScreenFixture() override {
    if (mScreen && mScreen->ModalStepsLeftForTesting() > 0)
      ADD_FAILURE() << mScreen->ModalStepsLeftForTesting() << " of the user's steps never ran";
  }

  GtkWidget* WidgetOf(ControlRef control) const {
    ScreenWindow* window = mScreen->ViewOf(control->mWindow);
    ScreenControl* view = window ? window->ViewOf(control) : nullptr;
    return view ? view->Widget() : nullptr;
  }
  GtkWidget* WindowWidget(WindowRef window) const {
    ScreenWindow* view = mScreen->ViewOf(window);
    return view ? view->Widget() : nullptr;
  }

  // The window "Scroll" with only a vertical scroll bar, `sbar` 1 of the range
  // 0 to 20 at 3, at 370,10 and 200 high; shown.
  WindowRef ShowScrollBarWindow() {
    return ShowWindowFromText(R"(<interface>
  <object class="GtkAdjustment" id="range"><property name="lower">0</property><property name="upper">20</property><property name="value">3</property></object>
  <object class="GtkWindow" id="Scroll">
    <child><object class="GtkFixed">
      <child><object class="GtkScrollbar" id="Scroll:sbar:1">
        <property name="adjustment">range</property><property name="orientation">vertical</property>
        <property name="width-request">16</property><property name="height-request">200</property>
      </object><packing><property name="x">370</property><property name="y">10</property></packing></child>
    </object></child>
  </object>
</interface>)",
                              CFSTR("Scroll"));
  }

  // The text of the list's selected row, "" without one.
  std::string SelectedRowText(ControlRef list) const {
    GtkTreeView* rows = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(WidgetOf(list))));
    GtkTreeModel* model = nullptr;
    GtkTreeIter selected;
    if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(rows), &model, &selected))
      return "";
    gchar* text = nullptr;
    gtk_tree_model_get(model, &selected, 1, &text, -1);
    std::string shown = text != nullptr ? text : "";
    g_free(text);
    return shown;
  }

  // Every control shown by a widget of its own sits exactly (within a pixel)
  // at its bounds; the mismatches, one per line.
  std::string Misplaced(WindowRef window) const {
    std::string wrong;
    CollectMisplaced(window->mRoot.get(), &wrong);
    return wrong;
  }

  // The window shown, settled, in place and as its reference `name` shows it.
  void ExpectShownAsReference(WindowRef window, const std::string& name) {
    mScreen->Settle();
    GtkWidget* shown = WindowWidget(window);
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(gtk_widget_get_mapped(shown)) << name;
    EXPECT_EQ(Misplaced(window), "") << name;
    EXPECT_EQ(gtk_widget_get_allocated_width(shown), window->mBounds.right - window->mBounds.left);
    EXPECT_EQ(gtk_widget_get_allocated_height(shown), window->mBounds.bottom - window->mBounds.top);
    EXPECT_EQ(CompareScreenShot(shown, name), "") << name;
  }

  // A key pressed and released in the window that has the keyboard now: the
  // grabbing menu, else the front window.
  void Key(guint keyval, GdkModifierType state = GdkModifierType(0)) {
    GtkWidget* target = gtk_grab_get_current();
    if (!target) target = WindowWidget(ToolkitModel::Shared().FrontWindow());
    ASSERT_NE(target, nullptr);
    GtkWidget* toplevel = gtk_widget_get_toplevel(target);
    GdkWindow* window = gtk_widget_get_window(toplevel);
    ASSERT_NE(window, nullptr);
    // The display has no window manager: the window takes the keyboard as a
    // person's click would give it (lists move only while they have it).
    if (GTK_IS_WINDOW(toplevel) && !gtk_window_is_active(GTK_WINDOW(toplevel))) {
      gdk_window_focus(window, GDK_CURRENT_TIME);
      mScreen->Settle();
    }
    PressKey(toplevel, keyval, state);
    mScreen->Settle();
  }

  // The pointer moved to x, y of the GDK window (a tree view's rows: its bin
  // window) and the first button pressed and released there.
  void Click(GdkWindow* window, double x, double y) {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window));
    GdkDevice* pointer = gdk_seat_get_pointer(seat);
    gint rootX = 0, rootY = 0;
    gdk_window_get_root_coords(window, gint(x), gint(y), &rootX, &rootY);
    for (GdkEventType type : {GDK_MOTION_NOTIFY, GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
      GdkEvent* event = gdk_event_new(type);
      event->any.window = GDK_WINDOW(g_object_ref(window));
      if (type == GDK_MOTION_NOTIFY) {
        GdkEventMotion& motion = event->motion;
        motion.time = GDK_CURRENT_TIME;
        motion.x = x, motion.y = y, motion.x_root = rootX, motion.y_root = rootY;
      } else {
        GdkEventButton& button = event->button;
        button.time = GDK_CURRENT_TIME;
        button.x = x, button.y = y, button.x_root = rootX, button.y_root = rootY;
        button.button = 1;
        button.state = type == GDK_BUTTON_RELEASE ? GDK_BUTTON1_MASK : 0;
      }
      gdk_event_set_device(event, pointer);
      gdk_event_set_source_device(event, pointer);
      gtk_main_do_event(event);
      gdk_event_free(event);
    }
    mScreen->Settle();
  }

  // A click on the expander of the list's row at `path` ("1": the second row).
  void ClickExpander(ControlRef list, const char* path) {
    GtkTreeView* rows = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(WidgetOf(list))));
    GtkTreePath* row = gtk_tree_path_new_from_string(path);
    GdkRectangle whole, cell;
    GtkTreeViewColumn* column = gtk_tree_view_get_expander_column(rows);
    if (!column) column = gtk_tree_view_get_column(rows, 0);
    gtk_tree_view_get_background_area(rows, row, column, &whole);
    gtk_tree_view_get_cell_area(rows, row, column, &cell);  // right of the expander
    gtk_tree_path_free(row);
    Click(gtk_tree_view_get_bin_window(rows), (whole.x + cell.x) / 2.0, cell.y + cell.height / 2.0);
  }

  // The control whose widget has the front window's keyboard focus, or null.
  ControlRef Focused() const {
    WindowRef front = ToolkitModel::Shared().FrontWindow();
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(WindowWidget(front)));
    ScreenWindow* view = mScreen->ViewOf(front);
    for (ScreenControl* control : view->FocusOrder())
      if (focus == control->Widget() || (focus && gtk_widget_is_ancestor(focus, control->Widget())))
        return control->Control();
    return nullptr;
  }

  std::unique_ptr<ScreenBackend> mScreen;

 private:
  void CollectMisplaced(ControlRef control, std::string* wrong) const {
    GtkWidget* widget = control != control->mWindow->mRoot.get() ? WidgetOf(control) : nullptr;
    if (widget && gtk_widget_get_visible(widget)) {
      GtkAllocation shown;
      gtk_widget_get_allocation(widget, &shown);
      const Rect& bounds = control->mBounds;
      if (std::abs(shown.x - bounds.left) > 1 || std::abs(shown.y - bounds.top) > 1 ||
          std::abs(shown.x + shown.width - bounds.right) > 1 ||
          std::abs(shown.y + shown.height - bounds.bottom) > 1)
        *wrong += Describe(control) + " at " + std::to_string(shown.x) + "," +
                  std::to_string(shown.y) + " " + std::to_string(shown.width) + "x" +
                  std::to_string(shown.height) + "\n";
    }
    for (ControlRef child : control->mChildren) CollectMisplaced(child, wrong);
  }
  static std::string Describe(ControlRef control) {
    const Rect& bounds = control->mBounds;
    std::string signature(4, ' ');
    for (int byte = 0; byte < 4; ++byte)
      signature[byte] = char(control->mID.signature >> (24 - 8 * byte));
    return "'" + signature + "' " + std::to_string(control->mID.id) + " of " +
           std::to_string(bounds.left) + "," + std::to_string(bounds.top) + " " +
           std::to_string(bounds.right - bounds.left) + "x" +
           std::to_string(bounds.bottom - bounds.top);
  }
};
