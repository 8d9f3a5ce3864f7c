#pragma once
// Text sizes without a font renderer: each character (code point) of the
// system font is 7 pixels wide and a line 16 high; of the small font 6 and 14.

#include <string>

#include "toolkit/Appearance.h"

class TextMetrics {
 public:
  static size_t Width(const std::string& utf8, ThemeFontID font);
  static SInt16 LineHeight(ThemeFontID font);
  static SInt16 Baseline(ThemeFontID font);
};
