#pragma once
// What a window shows on the display, compared with a reference picture in
// tests/fixtures/screens/: at most 0.5 % of the pixels may be off by more than
// 32 in a channel. The picture taken is always left in the build folder
// (screens/<name>.png), and on a mismatch a difference picture beside it
// (<name>-difference.png, the pixels off in red); scripts/screen-references
// copies the pictures taken into the references for a person to look at.

#include <gtk/gtk.h>

#include <cstdlib>
#include <string>

#include <sys/stat.h>

namespace screenshot {

constexpr int kChannelTolerance = 32;
constexpr double kPixelTolerance = 0.005;

inline int Channel(const unsigned char* row, int x, int channel) { return row[x * 4 + channel]; }

}  // namespace screenshot

// What the display shows of the window, as a person sees it.
inline cairo_surface_t* TakeScreenShot(GtkWidget* window) {
  int width = gtk_widget_get_allocated_width(window),
      height = gtk_widget_get_allocated_height(window);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  GdkPixbuf* shown = gdk_pixbuf_get_from_window(gtk_widget_get_window(window), 0, 0, width, height);
  cairo_t* cr = cairo_create(surface);
  if (shown) {
    gdk_cairo_set_source_pixbuf(cr, shown, 0, 0);
    cairo_paint(cr);
    g_object_unref(shown);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

// Empty when the window looks like the reference `name`; else what differs.
inline std::string CompareScreenShot(GtkWidget* window, const std::string& name) {
  using namespace screenshot;
  std::string folder = std::string(ZPX_TEST_OUTPUT) + "/screens";
  mkdir(folder.c_str(), 0755);
  cairo_surface_t* actual = TakeScreenShot(window);
  cairo_surface_write_to_png(actual, (folder + "/" + name + ".png").c_str());
  std::string referencePath = std::string(ZPX_FIXTURES) + "/screens/" + name + ".png";
  cairo_surface_t* reference = cairo_image_surface_create_from_png(referencePath.c_str());
  std::string verdict;
  int width = cairo_image_surface_get_width(actual),
      height = cairo_image_surface_get_height(actual);
  if (cairo_surface_status(reference) != CAIRO_STATUS_SUCCESS) {
    verdict = "no reference " + referencePath;
  } else if (cairo_image_surface_get_width(reference) != width ||
             cairo_image_surface_get_height(reference) != height) {
    verdict = "size " + std::to_string(width) + "x" + std::to_string(height) + ", reference " +
              std::to_string(cairo_image_surface_get_width(reference)) + "x" +
              std::to_string(cairo_image_surface_get_height(reference));
  } else {
    cairo_surface_t* difference = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(reference);
    long off = 0;
    for (int y = 0; y < height; ++y) {
      const unsigned char* shown =
          cairo_image_surface_get_data(actual) + y * cairo_image_surface_get_stride(actual);
      const unsigned char* wanted =
          cairo_image_surface_get_data(reference) + y * cairo_image_surface_get_stride(reference);
      auto* marks = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(difference) +
                                                y * cairo_image_surface_get_stride(difference));
      for (int x = 0; x < width; ++x) {
        bool differs = false;
        for (int channel = 0; channel < 4; ++channel)
          differs = differs || std::abs(Channel(shown, x, channel) - Channel(wanted, x, channel)) >
                                   kChannelTolerance;
        off += differs;
        marks[x] = differs ? 0xFFFF0000u : 0xFFFFFFFFu;
      }
    }
    cairo_surface_mark_dirty(difference);
    if (double(off) > kPixelTolerance * width * height) {
      verdict = std::to_string(off) + " of " + std::to_string(width * height) + " pixels differ";
      cairo_surface_write_to_png(difference, (folder + "/" + name + "-difference.png").c_str());
    }
    cairo_surface_destroy(difference);
  }
  cairo_surface_destroy(reference);
  cairo_surface_destroy(actual);
  return verdict;
}
