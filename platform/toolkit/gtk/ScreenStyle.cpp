#include "toolkit/gtk/ScreenStyle.h"

#include <gtk/gtk.h>

namespace {

constexpr const char kSheet[] = R"css(
* { min-height: 0; min-width: 0; font-size: 13px; }
.small, .small * { font-size: 11px; }
button { padding: 0 6px; }
button.combo { padding: 0 4px; }
combobox arrow { min-width: 12px; min-height: 12px; }
checkbutton { padding: 0; }
check { margin: 0 4px 0 0; min-width: 14px; min-height: 14px; }
entry { padding: 0 4px; }
scrollbar slider { min-width: 6px; min-height: 6px; }
treeview.view { padding: 0 2px; }
)css";

}  // namespace

void ScreenStyle::Install() {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kSheet, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}
