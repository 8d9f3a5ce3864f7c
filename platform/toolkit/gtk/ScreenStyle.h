#pragma once
// The style sheet that lets GTK widgets take exactly the model's bounds: the
// theme's minimum sizes and paddings are made for larger controls than the
// interface files give (a 20-pixel button, a pop-up narrower than its longest
// item).

class ScreenStyle {
 public:
  // Applies the sheet to every window of the default screen.
  static void Install();
  // The class of the label that measures and shows the small system font.
  static constexpr const char* kSmallClass = "small";
};
