#include "toolkit/gtk/ScreenBackend.h"

#include <algorithm>
#include <utility>

#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"
#include "toolkit/gtk/ScreenStyle.h"

bool ScreenBackend::sOpen = false;

namespace {

// How long Settle waits for the display server at most.
constexpr gint64 kSettleLimit = 5 * G_USEC_PER_SEC;

GtkWidget* MeasuringLabel(bool small) {
  GtkWidget* label = gtk_label_new("");
  g_object_ref_sink(label);
  if (small)
    gtk_style_context_add_class(gtk_widget_get_style_context(label), ScreenStyle::kSmallClass);
  return label;
}

}  // namespace

std::unique_ptr<ScreenBackend> ScreenBackend::Open(
    std::string* error, std::function<void(const std::string&)> stalled) {
  if (sOpen) {
    *error = "the screen is open already";
    return nullptr;
  }
  // What was shown headless would appear out of nowhere.
  if (ToolkitModel::Shared().FrontWindow()) {
    *error = "a window is shown already: the screen is chosen before anything is shown";
    return nullptr;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    const char* display = g_getenv("DISPLAY");
    *error = std::string("cannot open the display named by DISPLAY (") +
             (display ? display : "not set") + ")";
    return nullptr;
  }
  // Pango reads the font configuration in a thread of its own once the font
  // map is made: made now, that reading goes on beside the program's work
  // up to its first text measured, instead of holding that text up.
  pango_cairo_font_map_get_default();
  ScreenStyle::Install();
  return std::unique_ptr<ScreenBackend>(new ScreenBackend(std::move(stalled)));
}

ScreenBackend::ScreenBackend(std::function<void(const std::string&)> stalled)
    : mStalled(std::move(stalled)),
      mSystemFont(MeasuringLabel(false)),
      mSmallFont(MeasuringLabel(true)),
      mSource([this] { Refresh(); }) {
  ToolkitModel::Shared().mBackend = this;
  sOpen = true;
}

ScreenBackend::~ScreenBackend() {
  sOpen = false;
  if (ToolkitModel::Shared().mBackend == this) ToolkitModel::Shared().mBackend = nullptr;
  mViews.clear();
  g_object_unref(mSystemFont);
  g_object_unref(mSmallFont);
  for (GdkCursor* cursor : {mArrowCursor, mWaitCursor})
    if (cursor) g_object_unref(cursor);
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
}

ScreenWindow* ScreenBackend::ViewOf(WindowRef window) const {
  auto found = std::find_if(mViews.begin(), mViews.end(),
                            [&](const auto& view) { return view->Shows(window); });
  return found == mViews.end() ? nullptr : found->get();
}

ScreenWindow* ScreenBackend::ViewOrNew(WindowRef window) {
  if (ScreenWindow* view = ViewOf(window)) return view;
  mViews.push_back(std::make_unique<ScreenWindow>(*this, window));
  return mViews.back().get();
}

ScreenWindow* ScreenBackend::ParentOf(WindowRef window) const {
  if (window->mSheetParent) return ViewOf(window->mSheetParent);
  if (window->mClass == kDocumentWindowClass) return nullptr;
  const std::vector<WindowRef>& windows = ToolkitModel::Shared().Windows();
  auto document = std::find_if(windows.rbegin(), windows.rend(), [&](WindowRef other) {
    return other != window && other->mVisible && other->mClass == kDocumentWindowClass;
  });
  return document == windows.rend() ? nullptr : ViewOf(*document);
}

void ScreenBackend::Refresh() {
  if (mSyncing) return;
  mSyncing = true;
  ToolkitModel& model = ToolkitModel::Shared();
  mViews.erase(std::remove_if(mViews.begin(), mViews.end(),
                              [&](const auto& view) {
                                return !model.IsLive(view->Model()) || !view->Shows(view->Model());
                              }),
               mViews.end());
  for (WindowRef window : model.Windows()) ViewOrNew(window);
  // While a modal loop runs, only its window takes the user's input.
  WindowRef modal = model.mModalLoops.Innermost();
  for (WindowRef window : model.Windows())
    ViewOf(window)->Sync(ParentOf(window), !modal || modal == window);
  ApplyCursor();
  mSyncing = false;
}

void ScreenBackend::ScreenOnly(const std::function<void()>& change) {
  const bool syncing = std::exchange(mSyncing, true);
  change();
  mSyncing = syncing;
  Refresh();
}

// One cursor object per kind, so that a window already showing it is left
// alone: setting it again is a request to the display on every refresh.
void ScreenBackend::ApplyCursor() {
  const bool waiting = mCursor == kThemeWatchCursor;
  GdkCursor*& cursor = waiting ? mWaitCursor : mArrowCursor;
  if (!cursor)
    cursor = gdk_cursor_new_from_name(gdk_display_get_default(), waiting ? "wait" : "default");
  for (const auto& view : mViews)
    if (GdkWindow* shown = gtk_widget_get_window(view->Widget()))
      if (gdk_window_get_cursor(shown) != cursor) gdk_window_set_cursor(shown, cursor);
}

bool ScreenBackend::Settled() const {
  for (const auto& view : mViews) {
    GtkWidget* window = view->Widget();
    if (!gtk_widget_get_visible(window)) continue;
    if (!gtk_widget_get_mapped(window)) return false;
    gint width = 0, height = 0;
    gtk_window_get_size(GTK_WINDOW(window), &width, &height);
    if (gtk_widget_get_allocated_width(window) != width ||
        gtk_widget_get_allocated_height(window) != height)
      return false;
  }
  return true;
}

void ScreenBackend::Settle() {
  Refresh();
  gint64 limit = g_get_monotonic_time() + kSettleLimit;
  do {
    gdk_display_sync(gdk_display_get_default());
    while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
    Refresh();
  } while (!Settled() && g_get_monotonic_time() < limit && (g_usleep(2000), true));
  AwaitFrames(limit);
  gdk_display_sync(gdk_display_get_default());
}

// A window's frame clock holds a repaint back until the display's next frame
// is due, so nothing may be pending while what changed is not painted yet:
// each shown window paints one frame asked for now, with whatever its
// widgets asked to repaint before.
void ScreenBackend::AwaitFrames(gint64 limit) {
  std::vector<std::pair<GdkFrameClock*, bool>> clocks;
  for (const auto& view : mViews)
    if (gtk_widget_get_mapped(view->Widget()))
      if (GdkFrameClock* clock = gtk_widget_get_frame_clock(view->Widget()))
        clocks.emplace_back(clock, false);
  std::vector<gulong> handlers;
  for (auto& [clock, painted] : clocks) {
    handlers.push_back(g_signal_connect_swapped(
        clock, "after-paint", G_CALLBACK(+[](bool* done) { *done = true; }), &painted));
    gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
  }
  auto allPainted = [&] {
    return std::all_of(clocks.begin(), clocks.end(),
                       [](const auto& clock) { return clock.second; });
  };
  while (!allPainted() && g_get_monotonic_time() < limit) g_main_context_iteration(nullptr, TRUE);
  for (size_t index = 0; index < clocks.size(); ++index)
    g_signal_handler_disconnect(clocks[index].first, handlers[index]);
}

void ScreenBackend::QueueModalStep(std::function<void()> step) {
  mModalSteps.push_back(std::move(step));
}

bool ScreenBackend::PerformModalStep(WindowRef) {
  if (!mModalSteps.empty()) {
    Settle();
    std::function<void()> step = std::move(mModalSteps.front());
    mModalSteps.pop_front();
    step();
    Refresh();
    return true;
  }
  Refresh();
  if (!mStalled || ScreenRunLoopSource::TimerArmed()) {
    g_main_context_iteration(nullptr, TRUE);  // the user's turn
    return true;
  }
  bool pending = g_main_context_pending(nullptr);
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
  return pending;
}

void ScreenBackend::ModalLoopStalled(WindowRef window) {
  std::string title = ToolkitModel::Shared().IsLive(window) ? window->mTitle : "?";
  if (mStalled) mStalled("modal loop of window \"" + title + "\" has no step left");
}

bool ScreenBackend::Clock(EventTime* now) {
  *now = ScreenRunLoopSource::RealClock();
  return true;
}

bool ScreenBackend::DisplayBounds(CGRect* bounds) {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return false;
  GdkRectangle area;
  gdk_monitor_get_geometry(monitor, &area);
  *bounds = CGRectMake(area.x, area.y, area.width, area.height);
  return true;
}

bool ScreenBackend::MeasureText(const std::string& utf8, ThemeFontID font, Point* size,
                                SInt16* baseline) {
  GtkWidget* label = font == kThemeSmallSystemFont ? mSmallFont : mSystemFont;
  PangoLayout* layout = gtk_widget_create_pango_layout(label, utf8.c_str());
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  int above = pango_layout_get_baseline(layout) / PANGO_SCALE;
  g_object_unref(layout);
  size->h = short(std::min(width, 32767));
  size->v = short(std::min(height, 32767));
  *baseline = SInt16(above - height);
  return true;
}

void ScreenBackend::Beep() { gdk_display_beep(gdk_display_get_default()); }

void ScreenBackend::ShowCursor(ThemeCursor cursor) {
  mCursor = cursor;
  ApplyCursor();
}

void ScreenBackend::ComeToFront() {
  Refresh();
  if (ScreenWindow* front = ViewOf(ToolkitModel::Shared().FrontWindow()))
    gtk_window_present(GTK_WINDOW(front->Widget()));
}
