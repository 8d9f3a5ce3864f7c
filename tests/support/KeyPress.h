#pragma once
// A key pressed and released in a shown window, synthesized in-process as
// the display delivers a person's key: GTK hands it to the widget that has
// the window's focus (or to a grabbing menu).

#include <gtk/gtk.h>

inline void PressKey(GtkWidget* toplevel, guint keyval,
                     GdkModifierType state = GdkModifierType(0)) {
  GdkWindow* window = gtk_widget_get_window(toplevel);
  GdkDisplay* display = gdk_window_get_display(window);
  GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count);
  for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.keyval = keyval;
    event->key.state = state;
    event->key.time = GDK_CURRENT_TIME;
    event->key.hardware_keycode = count > 0 ? guint16(keys[0].keycode) : 0;
    gdk_event_set_device(event, keyboard);
    gtk_main_do_event(event);
    gdk_event_free(event);
  }
  g_free(keys);
}
