#pragma once
// An interface file of pane rows for widget tests and benchmarks: the window
// "Rows" with, for k = 1 to 4, a pop-up row (title `Ttle` 2000 + k, pop-up
// `Cntl` 2000 + k, picture `Bitm` 2000 + k) and a check-box row (`Cntl`
// 3000 + k, picture `Bitm` 3000 + k), and a pop-up `Cntl` 2005 without title.

#include <string>

namespace rowsinterface {

// A control of the window at (x, y); `properties` as GtkBuilder elements.
inline std::string Placed(const std::string& gtkClass, const std::string& id, int x, int y,
                          const std::string& properties) {
  return "<child><object class=\"" + gtkClass + "\" id=\"Rows:" + id + "\">" + properties +
         "</object><packing><property name=\"x\">" + std::to_string(x) +
         "</property><property name=\"y\">" + std::to_string(y) + "</property></packing></child>\n";
}

inline std::string Width(int width) {
  return "<property name=\"width-request\">" + std::to_string(width) + "</property>";
}

// A hidden 24 x 24 picture pane (the pane's size), shown by its widget.
inline std::string Picture(int number, int x, int y) {
  return Placed("GtkDrawingArea", "Bitm:" + std::to_string(number), x, y,
                Width(24) +
                    "<property name=\"height-request\">24</property>"
                    "<property name=\"visible\">False</property>");
}

}  // namespace rowsinterface

inline std::string RowsInterface() {
  using namespace rowsinterface;
  std::string rows;
  for (int k = 1; k <= 4; ++k) {
    const int y = 10 + 45 * k;
    rows += Placed("GtkLabel", "Ttle:" + std::to_string(2000 + k), 10, y,
                   "<property name=\"label\">Title</property>" + Width(120));
    rows += Placed("GtkComboBoxText", "Cntl:" + std::to_string(2000 + k), 140, y, Width(150));
    rows += Picture(2000 + k, 300, y);
    rows += Placed("GtkCheckButton", "Cntl:" + std::to_string(3000 + k), 360, y,
                   "<property name=\"label\">Box</property>" + Width(120));
    rows += Picture(3000 + k, 500, y);
  }
  rows += Placed("GtkComboBoxText", "Cntl:2005", 140, 240, Width(150));
  return "<?xml version=\"1.0\"?>\n<interface>\n<object class=\"GtkWindow\" id=\"Rows\">"
         "<property name=\"default-width\">600</property>"
         "<property name=\"default-height\">300</property>\n"
         "<child><object class=\"GtkFixed\">\n" +
         rows + "</object></child>\n</object>\n</interface>\n";
}
