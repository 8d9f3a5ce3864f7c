#pragma once
// What a widget shows, read back as text: its title and its font size.

#include <string>

#include "support/PlatformString.h"
#include "toolkit/Controls.h"

inline std::string WidgetTitle(ControlRef control) {
  CFStringRef title = nullptr;
  CopyControlTitleAsCFString(control, &title);
  return TakeText(title);
}

inline SInt16 WidgetFontSize(ControlRef control) {
  ControlFontStyleRec style = {};
  GetControlData(control, kControlEntireControl, kControlFontStyleTag, sizeof style, &style,
                 nullptr);
  return style.size;
}
