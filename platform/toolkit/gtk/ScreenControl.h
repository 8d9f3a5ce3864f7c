#pragma once
// The widget that shows one control of the model at exactly its bounds, and
// turns what the user does to it into the user's action on the control.

#include <string>
#include <vector>

#include <gtk/gtk.h>

#include "toolkit/ToolkitControl.h"
#include "toolkit/UserActions.h"

class ScreenBackend;

class ScreenControl {
 public:
  // Whether the control is shown by a widget of its own: an embedding pane
  // that draws nothing is not.
  static bool HasWidget(ControlRef control);

  ScreenControl(ScreenBackend& backend, ControlRef control);
  ~ScreenControl();
  ScreenControl(const ScreenControl&) = delete;
  ScreenControl& operator=(const ScreenControl&) = delete;

  // Brings the widget in line with the model.
  void Sync();
  bool Shows(ControlRef control) const { return control == mControl && control->mKind == mKind; }
  GtkWidget* Widget() const { return mWidget; }
  // The widget that takes the keyboard focus.
  GtkWidget* FocusWidget() const { return mInner; }
  ControlRef Control() const { return mControl; }
  // Takes part in Tab's round: a control the user types into or presses.
  bool TakesFocus() const;
  // The list row under the keyboard cursor, or kDataBrowserNoItem.
  UInt32 CursorRow() const;
  // The accessible name of a pop-up: its row's title.
  void SetAccessibleLabel(const std::string& label);

 private:
  // A menu item as the pop-up shows it.
  struct MenuRow {
    std::string text;
    bool enabled;
    bool operator==(const MenuRow& other) const {
      return text == other.text && enabled == other.enabled;
    }
  };

  void Build();
  void BuildPopup();
  void BuildList();
  void SyncText();
  void SyncPopup();
  void SyncList();
  void SyncFont();
  void SyncHelpTag();
  void SyncDrawing();
  void SyncRange();
  void SyncSelection();
  void PutCursorOn(UInt32 item);
  void ClearRows();
  // The rows inside `container`, depth first, with a placeholder under a
  // closed container so that GTK offers to open it.
  void CollectRows(UInt32 container, std::vector<std::string>* out) const;
  void FillRows(UInt32 container, GtkTreeIter* parent);
  UInt32 RowAt(GtkTreeModel* model, GtkTreeIter* iter) const;
  gboolean OpenOrCloseRow(GtkTreeView* view, GtkTreeIter* row, bool open);
  static gboolean ChangeRow(ScreenControl* self);
  void Connect(GtkWidget* widget, const char* signal, GCallback callback);

  static void OnClicked(GtkWidget*, ScreenControl* self);
  static void OnChanged(GtkComboBox*, ScreenControl* self);
  static void OnPopupShown(GObject*, GParamSpec*, ScreenControl* self);
  static void OnEdited(GtkEditable*, ScreenControl* self);
  static gboolean OnFocusIn(GtkWidget*, GdkEvent*, ScreenControl* self);
  static void OnScrolled(GtkRange*, ScreenControl* self);
  static gboolean OnDraw(GtkWidget*, cairo_t* cr, ScreenControl* self);
  static void OnSelection(GtkTreeSelection*, ScreenControl* self);
  static void OnGrabFocus(GtkWidget* widget, ScreenControl* self);
  static gboolean OnTestExpand(GtkTreeView*, GtkTreeIter*, GtkTreePath*, ScreenControl* self);
  static gboolean OnTestCollapse(GtkTreeView*, GtkTreeIter*, GtkTreePath*, ScreenControl* self);
  static void OnRowActivated(GtkTreeView*, GtkTreePath*, GtkTreeViewColumn*, ScreenControl* self);
  static void OnHeading(GtkTreeViewColumn* column, ScreenControl* self);

  ScreenBackend& mBackend;
  ControlRef mControl;
  OSType mKind;
  GtkWidget* mWidget = nullptr;  // placed in the window
  GtkWidget* mInner = nullptr;   // what shows the value (inside a list's scroller)
  std::vector<MenuRow> mMenuShown;
  std::vector<std::string> mRowsShown;  // each row's id, parent, texts and state
  std::vector<std::pair<UInt32, GtkTreeRowReference*>> mRowRefs;
  std::string mAccessibleLabel;
  std::string mHelpShown;    // the tooltip's text, "" for none
  unsigned mDrawsShown = 0;  // the model's draw count when the widget was last asked to paint
  guint mRowChange = 0;      // the idle source that opens or closes a row, 0 for none
  UInt32 mRowChangeItem = 0;
  bool mRowChangeOpens = false;
};
