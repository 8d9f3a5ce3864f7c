#pragma once
// What the pane does to its controls besides binding them to options: fonts,
// titles, sizes that follow the titles, and pictures from the bundle.

#include <cstddef>

#include "toolkit/Controls.h"

class ControlUtils {
 public:
  enum : size_t { kResourcePathSize = 1024 };
  // The limits SizeControl keeps to.
  enum : short { kMaxButtonTextWidth = 200, kMaxPopupWidth = 190 };

  // Sets the parts of the control's font style whose argument is not
  // negative; paramErr without a control.
  static OSStatus setControlFontInfo(ControlRef control, SInt16 font, SInt16 size, SInt16 style,
                                     SInt16 justification);
  static OSStatus SetControlTitle(ControlRef control, CFStringRef title);
  // `title` in the application's text encoding.
  static OSStatus SetControlTitle(ControlRef control, const char* title);
  // Fits the control to its title (its menu for a pop-up), keeping the left
  // edge when `anchorLeft`, else the right edge.
  static void SizeControl(ControlRef control, bool anchorLeft);
  // The bundle's resources folder with a final "/", in kResourcePathSize
  // bytes; false (and an empty buffer) without a bundle or when it does not fit.
  static bool GetResourceURL(char* buffer);
  // Erases the control's area and draws the picture of the resources folder
  // into it; a picture that cannot be loaded leaves the area erased.
  static void DrawPNG(CGrafPtr port, ControlRef control, const char* relativePath);
  // Follows the press on the control until the mouse is released,
  // highlighting it while the mouse is inside; whether it was released inside.
  static bool TrackClick(ControlRef control);
};
