#include "toolkit/gtk/ScreenControl.h"

#include <algorithm>
#include <cstring>

#include "toolkit/CGObjects.h"
#include "toolkit/Controls.h"
#include "toolkit/ToolkitWindow.h"
#include "toolkit/gtk/ScreenBackend.h"
#include "toolkit/gtk/ScreenStyle.h"

namespace {

// Below this size (in points) a control's font is the small system font.
constexpr SInt16 kSystemFontSize = 13;
constexpr gint kRowIDColumn = 0;
constexpr gint kMenuTextColumn = 0;
constexpr gint kMenuEnabledColumn = 1;
constexpr const char kPropertyKey[] = "zpx-property";

bool ShownToRoot(ControlRef control) {
  for (; control; control = control->mParent)
    if (!control->mVisible) return false;
  return true;
}

bool EnabledToRoot(ControlRef control) {
  for (ControlRef up = control; up; up = up->mParent)
    if (!up->mEnabled || !up->mActive) return false;
  return control->mHilite != kControlInactivePart;
}

GtkOrientation OrientationOf(const Rect& bounds) {
  return bounds.right - bounds.left >= bounds.bottom - bounds.top ? GTK_ORIENTATION_HORIZONTAL
                                                                  : GTK_ORIENTATION_VERTICAL;
}

void SetLabelText(GtkLabel* label, const std::string& text) {
  if (text != gtk_label_get_text(label)) gtk_label_set_text(label, text.c_str());
}

GtkLabel* ButtonLabel(GtkWidget* button) { return GTK_LABEL(gtk_bin_get_child(GTK_BIN(button))); }

void Ellipsize(GtkLabel* label) {
  gtk_label_set_ellipsize(label, PANGO_ELLIPSIZE_END);
  gtk_label_set_xalign(label, 0);
}

// Cairo takes premultiplied native-endian ARGB; pictures are straight RGBA.
cairo_surface_t* SurfaceOf(CGImageRef image) {
  int width = int(image->mWidth), height = int(image->mHeight);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    auto* out = reinterpret_cast<uint32_t*>(data + y * stride);
    const UInt8* in = image->mPixels.data() + size_t(y) * width * 4;
    for (int x = 0; x < width; ++x, in += 4) {
      uint32_t alpha = in[3];
      auto scaled = [alpha](uint32_t channel) { return (channel * alpha + 127) / 255; };
      out[x] = (alpha << 24) | (scaled(in[0]) << 16) | (scaled(in[1]) << 8) | scaled(in[2]);
    }
  }
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace

bool ScreenControl::HasWidget(ControlRef control) {
  return control->mKind != kControlKindUserPane || control->mChildren.empty() ||
         control->mDrawProc != nullptr || !control->mDrawn.empty();
}

ScreenControl::ScreenControl(ScreenBackend& backend, ControlRef control)
    : mBackend(backend), mControl(control), mKind(control->mKind) {
  Build();
  g_object_ref_sink(mWidget);
  if (!mInner) mInner = mWidget;
}

ScreenControl::~ScreenControl() {
  if (mRowChange != 0) g_source_remove(mRowChange);
  ClearRows();
  gtk_widget_destroy(mWidget);
  g_object_unref(mWidget);
}

void ScreenControl::Connect(GtkWidget* widget, const char* signal, GCallback callback) {
  g_signal_connect(widget, signal, callback, this);
}

void ScreenControl::Build() {
  switch (mKind) {
    case kControlKindStaticText:
      mWidget = gtk_label_new("");
      Ellipsize(GTK_LABEL(mWidget));
      break;
    case kControlKindPushButton:
    case kControlKindCheckBox:
      mWidget = mKind == kControlKindPushButton ? gtk_button_new_with_label("")
                                                : gtk_check_button_new_with_label("");
      Ellipsize(ButtonLabel(mWidget));
      if (mKind == kControlKindPushButton) gtk_label_set_xalign(ButtonLabel(mWidget), 0.5);
      Connect(mWidget, "clicked", G_CALLBACK(OnClicked));
      break;
    case kControlKindPopupButton:
      BuildPopup();
      break;
    case kControlKindEditText:
      mWidget = gtk_entry_new();
      gtk_entry_set_width_chars(GTK_ENTRY(mWidget), 0);
      Connect(mWidget, "changed", G_CALLBACK(OnEdited));
      Connect(mWidget, "focus-in-event", G_CALLBACK(OnFocusIn));
      break;
    case kControlKindScrollBar:
      mWidget = gtk_scrollbar_new(OrientationOf(mControl->mBounds), nullptr);
      Connect(mWidget, "value-changed", G_CALLBACK(OnScrolled));
      break;
    case kControlKindSeparator:
      mWidget = gtk_separator_new(OrientationOf(mControl->mBounds));
      break;
    case kControlKindDataBrowser:
      BuildList();
      break;
    default:  // a pane that draws, or a kind shown by what it draws
      mWidget = gtk_drawing_area_new();
      Connect(mWidget, "draw", G_CALLBACK(OnDraw));
      break;
  }
}

void ScreenControl::BuildPopup() {
  GtkListStore* items = gtk_list_store_new(2, G_TYPE_STRING, G_TYPE_BOOLEAN);
  mWidget = gtk_combo_box_new_with_model(GTK_TREE_MODEL(items));
  g_object_unref(items);
  GtkCellRenderer* cell = gtk_cell_renderer_text_new();
  g_object_set(cell, "ellipsize", PANGO_ELLIPSIZE_END, "xpad", 0, "ypad", 0, nullptr);
  gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(mWidget), cell, TRUE);
  gtk_cell_layout_set_attributes(GTK_CELL_LAYOUT(mWidget), cell, "text", kMenuTextColumn,
                                 "sensitive", kMenuEnabledColumn, nullptr);
  // The pop-up has its model width: measuring every item for a width of its
  // own on each change would cost a frame.
  if (GtkWidget* shown = gtk_bin_get_child(GTK_BIN(mWidget)))
    if (GTK_IS_CELL_VIEW(shown)) gtk_cell_view_set_fit_model(GTK_CELL_VIEW(shown), FALSE);
  Connect(mWidget, "changed", G_CALLBACK(OnChanged));
  Connect(mWidget, "notify::popup-shown", G_CALLBACK(OnPopupShown));
}

void ScreenControl::BuildList() {
  mWidget = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(mWidget), GTK_SHADOW_IN);
  std::vector<GType> types(mControl->mColumns.size() + 1, G_TYPE_STRING);
  types[kRowIDColumn] = G_TYPE_UINT;
  GtkTreeStore* rows = gtk_tree_store_newv(gint(types.size()), types.data());
  mInner = gtk_tree_view_new_with_model(GTK_TREE_MODEL(rows));
  g_object_unref(rows);
  gint index = kRowIDColumn + 1;
  for (const ListColumn& column : mControl->mColumns) {
    GtkCellRenderer* cell = gtk_cell_renderer_text_new();
    g_object_set(cell, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
    GtkTreeViewColumn* shown = gtk_tree_view_column_new_with_attributes(column.title.c_str(), cell,
                                                                        "text", index++, nullptr);
    gtk_tree_view_column_set_expand(shown, TRUE);
    gtk_tree_view_column_set_clickable(shown, TRUE);
    g_object_set_data(G_OBJECT(shown), kPropertyKey, GUINT_TO_POINTER(column.property));
    g_signal_connect(shown, "clicked", G_CALLBACK(OnHeading), this);
    gtk_tree_view_append_column(GTK_TREE_VIEW(mInner), shown);
  }
  gtk_container_add(GTK_CONTAINER(mWidget), mInner);
  gtk_widget_show(mInner);
  Connect(mInner, "grab-focus", G_CALLBACK(OnGrabFocus));
  Connect(mInner, "test-expand-row", G_CALLBACK(OnTestExpand));
  Connect(mInner, "test-collapse-row", G_CALLBACK(OnTestCollapse));
  Connect(mInner, "row-activated", G_CALLBACK(OnRowActivated));
  g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(mInner)), "changed",
                   G_CALLBACK(OnSelection), this);
}

bool ScreenControl::TakesFocus() const {
  switch (mKind) {
    case kControlKindPushButton:
    case kControlKindCheckBox:
    case kControlKindPopupButton:
    case kControlKindEditText:
    case kControlKindDataBrowser:
      return gtk_widget_get_visible(mWidget) && gtk_widget_is_sensitive(mWidget);
    default:
      return false;
  }
}

void ScreenControl::SetAccessibleLabel(const std::string& label) {
  if (label == mAccessibleLabel) return;
  mAccessibleLabel = label;
  atk_object_set_name(gtk_widget_get_accessible(mInner), label.c_str());
}

void ScreenControl::Sync() {
  const Rect& bounds = mControl->mBounds;
  gint width = std::max(bounds.right - bounds.left, 0);
  gint height = std::max(bounds.bottom - bounds.top, 0);
  gint oldWidth = 0, oldHeight = 0;
  gtk_widget_get_size_request(mWidget, &oldWidth, &oldHeight);
  if (oldWidth != width || oldHeight != height) gtk_widget_set_size_request(mWidget, width, height);
  gtk_widget_set_visible(mWidget, ShownToRoot(mControl));
  gtk_widget_set_sensitive(mWidget, EnabledToRoot(mControl));
  SyncFont();
  SyncHelpTag();
  SyncText();
  switch (mKind) {
    case kControlKindCheckBox:
      if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(mWidget)) != (mControl->mValue != 0))
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(mWidget), mControl->mValue != 0);
      break;
    case kControlKindPushButton:
      if (mControl->mHilite != kControlNoPart && mControl->mHilite != kControlInactivePart)
        gtk_widget_set_state_flags(mWidget, GTK_STATE_FLAG_ACTIVE, FALSE);
      else
        gtk_widget_unset_state_flags(mWidget, GTK_STATE_FLAG_ACTIVE);
      break;
    case kControlKindPopupButton:
      SyncPopup();
      break;
    case kControlKindScrollBar:
      SyncRange();
      break;
    case kControlKindDataBrowser:
      SyncList();
      break;
    default:
      SyncDrawing();
      break;
  }
}

// Configuring an adjustment tells the scroll bar it changed, and it lays
// itself out and repaints, even when every number stayed the same.
void ScreenControl::SyncRange() {
  GtkAdjustment* range = gtk_range_get_adjustment(GTK_RANGE(mWidget));
  const double upper = double(mControl->mMaximum) + 1;
  if (gtk_adjustment_get_value(range) == mControl->mValue &&
      gtk_adjustment_get_lower(range) == mControl->mMinimum &&
      gtk_adjustment_get_upper(range) == upper && gtk_adjustment_get_page_size(range) == 1)
    return;
  gtk_adjustment_configure(range, mControl->mValue, mControl->mMinimum, upper, 1, 1, 1);
}

// Painted again only after the program drew again: a repaint asked for on
// every turn of the loop keeps an idle window painting at the display's rate.
void ScreenControl::SyncDrawing() {
  if (!GTK_IS_DRAWING_AREA(mWidget) || mDrawsShown == mControl->mDraws) return;
  mDrawsShown = mControl->mDraws;
  gtk_widget_queue_draw(mWidget);
}

void ScreenControl::SyncFont() {
  ControlFontStyleRec style = {};
  GetControlData(mControl, kControlEntireControl, kControlFontStyleTag, sizeof style, &style,
                 nullptr);
  GtkStyleContext* context = gtk_widget_get_style_context(mWidget);
  bool small = style.size > 0 && style.size < kSystemFontSize;
  if (small != bool(gtk_style_context_has_class(context, ScreenStyle::kSmallClass))) {
    if (small)
      gtk_style_context_add_class(context, ScreenStyle::kSmallClass);
    else
      gtk_style_context_remove_class(context, ScreenStyle::kSmallClass);
  }
}

// The control's help tag is the widget's tooltip, shown on a disabled widget too.
void ScreenControl::SyncHelpTag() {
  if (mControl->mHelpTag == mHelpShown) return;
  mHelpShown = mControl->mHelpTag;
  gtk_widget_set_tooltip_text(mWidget, mHelpShown.empty() ? nullptr : mHelpShown.c_str());
}

void ScreenControl::SyncText() {
  const std::string& text = mControl->mText;
  switch (mKind) {
    case kControlKindStaticText:
      SetLabelText(GTK_LABEL(mWidget), text);
      break;
    case kControlKindPushButton:
    case kControlKindCheckBox:
      SetLabelText(ButtonLabel(mWidget), text);
      break;
    case kControlKindEditText:
      if (text != gtk_entry_get_text(GTK_ENTRY(mWidget)))
        gtk_entry_set_text(GTK_ENTRY(mWidget), text.c_str());
      break;
  }
}

void ScreenControl::SyncPopup() {
  std::vector<MenuRow> shown;
  if (OpaqueMenuRef* menu = mControl->mMenu.get())
    for (MenuItemIndex item = 1; item <= menu->mItems.size(); ++item)
      shown.push_back({menu->At(item).text, menu->IsEnabled(item)});
  GtkComboBox* popup = GTK_COMBO_BOX(mWidget);
  if (shown != mMenuShown) {
    GtkListStore* items = GTK_LIST_STORE(gtk_combo_box_get_model(popup));
    // Rows are changed in place, so that a menu open now follows.
    gint count = gtk_tree_model_iter_n_children(GTK_TREE_MODEL(items), nullptr);
    GtkTreeIter row;
    for (size_t index = 0; index < shown.size(); ++index) {
      if (gint(index) >= count)
        gtk_list_store_append(items, &row);
      else
        gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(items), &row, nullptr, gint(index));
      gtk_list_store_set(items, &row, kMenuTextColumn, shown[index].text.c_str(),
                         kMenuEnabledColumn, gboolean(shown[index].enabled), -1);
    }
    while (gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(items), &row, nullptr, gint(shown.size())))
      gtk_list_store_remove(items, &row);
    mMenuShown = std::move(shown);
  }
  gint active = mControl->mValue >= 1 && size_t(mControl->mValue) <= mMenuShown.size()
                    ? mControl->mValue - 1
                    : -1;
  if (gtk_combo_box_get_active(popup) != active) gtk_combo_box_set_active(popup, active);
}

void ScreenControl::CollectRows(UInt32 container, std::vector<std::string>* out) const {
  ListView& list = *mControl->mList;
  std::vector<DataBrowserItemID> rows = list.Rows(container, false, kDataBrowserItemAnyState);
  for (DataBrowserItemID item : rows) {
    std::string line = std::to_string(item) + "|" + std::to_string(container);
    for (const ListColumn& column : mControl->mColumns)
      line += "|" + list.Data(item, column.property).text;
    bool open = list.State(item) & kDataBrowserContainerIsOpen;
    line += open ? "|open" : list.IsContainer(item) ? "|closed" : "";
    out->push_back(line);
    CollectRows(item, out);
  }
}

void ScreenControl::ClearRows() {
  for (auto& [item, reference] : mRowRefs) gtk_tree_row_reference_free(reference);
  mRowRefs.clear();
}

void ScreenControl::FillRows(UInt32 container, GtkTreeIter* parent) {
  ListView& list = *mControl->mList;
  GtkTreeStore* store = GTK_TREE_STORE(gtk_tree_view_get_model(GTK_TREE_VIEW(mInner)));
  for (DataBrowserItemID item : list.Rows(container, false, kDataBrowserItemAnyState)) {
    GtkTreeIter row;
    gtk_tree_store_append(store, &row, parent);
    gtk_tree_store_set(store, &row, kRowIDColumn, guint(item), -1);
    gint index = kRowIDColumn + 1;
    for (const ListColumn& column : mControl->mColumns)
      gtk_tree_store_set(store, &row, index++, list.Data(item, column.property).text.c_str(), -1);
    GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(store), &row);
    mRowRefs.emplace_back(item, gtk_tree_row_reference_new(GTK_TREE_MODEL(store), path));
    gtk_tree_path_free(path);
    bool open = list.State(item) & kDataBrowserContainerIsOpen;
    if (open) {
      FillRows(item, &row);
    } else if (list.IsContainer(item)) {
      GtkTreeIter placeholder;
      gtk_tree_store_append(store, &placeholder, &row);
      gtk_tree_store_set(store, &placeholder, kRowIDColumn, guint(kDataBrowserNoItem), -1);
    }
  }
}

void ScreenControl::SyncList() {
  if (!mControl->mList) return;
  std::vector<std::string> shown;
  CollectRows(kDataBrowserNoItem, &shown);
  if (shown != mRowsShown) {
    UInt32 cursor = CursorRow();  // the keyboard stays on its row
    ClearRows();
    gtk_tree_store_clear(GTK_TREE_STORE(gtk_tree_view_get_model(GTK_TREE_VIEW(mInner))));
    FillRows(kDataBrowserNoItem, nullptr);
    for (auto& [item, reference] : mRowRefs) {
      if (!(mControl->mList->State(item) & kDataBrowserContainerIsOpen)) continue;
      GtkTreePath* path = gtk_tree_row_reference_get_path(reference);
      gtk_tree_view_expand_row(GTK_TREE_VIEW(mInner), path, FALSE);
      gtk_tree_path_free(path);
    }
    PutCursorOn(cursor);
    mRowsShown = std::move(shown);
  }
  SyncSelection();
}

void ScreenControl::PutCursorOn(UInt32 item) {
  auto found = std::find_if(mRowRefs.begin(), mRowRefs.end(),
                            [&](const auto& row) { return row.first == item; });
  if (item == kDataBrowserNoItem || found == mRowRefs.end()) return;
  GtkTreePath* path = gtk_tree_row_reference_get_path(found->second);
  gtk_tree_view_set_cursor(GTK_TREE_VIEW(mInner), path, nullptr, FALSE);
  gtk_tree_path_free(path);
}

void ScreenControl::SyncSelection() {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(mInner));
  for (auto& [item, reference] : mRowRefs) {
    GtkTreePath* path = gtk_tree_row_reference_get_path(reference);
    bool selected = mControl->mList->State(item) & kDataBrowserItemIsSelected;
    if (selected != bool(gtk_tree_selection_path_is_selected(selection, path))) {
      if (selected)
        gtk_tree_selection_select_path(selection, path);
      else
        gtk_tree_selection_unselect_path(selection, path);
    }
    gtk_tree_path_free(path);
  }
}

UInt32 ScreenControl::RowAt(GtkTreeModel* model, GtkTreeIter* iter) const {
  guint item = kDataBrowserNoItem;
  gtk_tree_model_get(model, iter, kRowIDColumn, &item, -1);
  return item;
}

UInt32 ScreenControl::CursorRow() const {
  GtkTreePath* path = nullptr;
  gtk_tree_view_get_cursor(GTK_TREE_VIEW(mInner), &path, nullptr);
  GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(mInner));
  GtkTreeIter row;
  bool found = path && gtk_tree_model_get_iter(model, &row, path);
  if (path) gtk_tree_path_free(path);
  return found ? RowAt(model, &row) : UInt32(kDataBrowserNoItem);
}

// What the user does. Each hands the action to the model, then has the screen
// follow; `self` may be gone after the action (its window closed), so only the
// backend is used after it.

void ScreenControl::OnClicked(GtkWidget*, ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  if (backend.Syncing()) return;
  backend.Actions().Click(self->mControl);
  backend.Refresh();
}

void ScreenControl::OnChanged(GtkComboBox* popup, ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  gint active = gtk_combo_box_get_active(popup);
  if (backend.Syncing() || active < 0) return;
  backend.Actions().ChoosePopupItem(self->mControl, MenuItemIndex(active + 1));
  backend.Refresh();
}

// The menu opens: the program hears the click (and may disable items) before
// the user picks one; the menu shown follows.
void ScreenControl::OnPopupShown(GObject* popup, GParamSpec*, ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  gboolean shown = FALSE;
  g_object_get(popup, "popup-shown", &shown, nullptr);
  if (backend.Syncing() || !shown) return;
  backend.Actions().OpenMenu(self->mControl);
  backend.Refresh();
}

void ScreenControl::OnEdited(GtkEditable* field, ScreenControl* self) {
  if (self->mBackend.Syncing()) return;
  const char* text = gtk_entry_get_text(GTK_ENTRY(field));
  SetControlData(self->mControl, kControlEntireControl, kControlEditTextTextTag,
                 Size(std::strlen(text)), text);
}

gboolean ScreenControl::OnFocusIn(GtkWidget*, GdkEvent*, ScreenControl* self) {
  SetKeyboardFocus(self->mControl->mWindow, self->mControl, kControlEditTextPart);
  return FALSE;
}

void ScreenControl::OnScrolled(GtkRange* range, ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  if (backend.Syncing()) return;
  SetControl32BitValue(self->mControl, SInt32(gtk_range_get_value(range)));
  backend.Actions().Click(self->mControl);
  backend.Refresh();
}

// Shows what the control drew last in the model: a repaint of the screen
// never calls the program.
gboolean ScreenControl::OnDraw(GtkWidget* widget, cairo_t* cr, ScreenControl* self) {
  const Rect& bounds = self->mControl->mBounds;
  GtkStyleContext* background = gtk_widget_get_style_context(gtk_widget_get_toplevel(widget));
  cairo_translate(cr, -bounds.left, -bounds.top);
  for (const PaneDrawing& drawn : self->mControl->mDrawn) {
    double width = drawn.area.right - drawn.area.left, height = drawn.area.bottom - drawn.area.top;
    if (drawn.kind == PaneDrawing::Kind::kErase) {
      gtk_render_background(background, cr, drawn.area.left, drawn.area.top, width, height);
      continue;
    }
    if (!drawn.image || drawn.width == 0 || drawn.height == 0) continue;
    cairo_surface_t* picture = SurfaceOf(drawn.image.get());
    cairo_save(cr);
    cairo_translate(cr, drawn.area.left, drawn.area.top);
    cairo_scale(cr, width / double(drawn.width), height / double(drawn.height));
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(picture);
  }
  return FALSE;
}

void ScreenControl::OnSelection(GtkTreeSelection* selection, ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  GtkTreeModel* model = nullptr;
  GtkTreeIter row;
  if (backend.Syncing() || !gtk_tree_selection_get_selected(selection, &model, &row)) return;
  UInt32 item = self->RowAt(model, &row);
  if (item == kDataBrowserNoItem) return;
  backend.Actions().SelectRow(self->mControl, item);
  backend.Refresh();
}

// A list that takes the keyboard puts its cursor on the first row when it
// has none, and selects it: a click on a row's expander would select the
// first row. Where the focus goes is the screen's alone.
void ScreenControl::OnGrabFocus(GtkWidget* widget, ScreenControl* self) {
  if (self->mBackend.Syncing()) return;
  g_signal_stop_emission_by_name(widget, "grab-focus");
  self->mBackend.ScreenOnly([widget] { gtk_widget_grab_focus(widget); });
}

// GTK opens or closes nothing itself: the model opens or closes the row once
// GTK is done with the click or key, and the refreshed rows come open or
// closed as the model has them. Refreshing at once would clear the rows under
// GTK, which goes on with the row it asked about.
gboolean ScreenControl::OpenOrCloseRow(GtkTreeView* view, GtkTreeIter* row, bool open) {
  if (mBackend.Syncing()) return FALSE;
  if (mRowChange == 0) {
    mRowChangeItem = RowAt(gtk_tree_view_get_model(view), row);
    mRowChangeOpens = open;
    mRowChange = g_idle_add_full(G_PRIORITY_DEFAULT, GSourceFunc(ChangeRow), this, nullptr);
  }
  return TRUE;
}

gboolean ScreenControl::ChangeRow(ScreenControl* self) {
  self->mRowChange = 0;
  ScreenBackend& backend = self->mBackend;
  if (self->mRowChangeOpens)
    backend.Actions().OpenRow(self->mControl, self->mRowChangeItem);
  else
    backend.Actions().CloseRow(self->mControl, self->mRowChangeItem);
  backend.Refresh();
  return G_SOURCE_REMOVE;
}

gboolean ScreenControl::OnTestExpand(GtkTreeView* view, GtkTreeIter* row, GtkTreePath*,
                                     ScreenControl* self) {
  return self->OpenOrCloseRow(view, row, true);
}

gboolean ScreenControl::OnTestCollapse(GtkTreeView* view, GtkTreeIter* row, GtkTreePath*,
                                       ScreenControl* self) {
  return self->OpenOrCloseRow(view, row, false);
}

void ScreenControl::OnRowActivated(GtkTreeView* view, GtkTreePath* path, GtkTreeViewColumn*,
                                   ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  GtkTreeIter row;
  GtkTreeModel* model = gtk_tree_view_get_model(view);
  if (backend.Syncing() || !gtk_tree_model_get_iter(model, &row, path)) return;
  backend.Actions().DoubleClickRow(self->mControl, self->RowAt(model, &row));
  backend.Refresh();
}

void ScreenControl::OnHeading(GtkTreeViewColumn* column, ScreenControl* self) {
  ScreenBackend& backend = self->mBackend;
  if (backend.Syncing()) return;
  auto property = UInt32(GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(column), kPropertyKey)));
  backend.Actions().SortRows(self->mControl, property, true);
  backend.Refresh();
}
