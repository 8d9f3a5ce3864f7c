#pragma once
// One watermark: a line of text drawn across the page, centred and rotated,
// in a font, size and colour, on the first page or on every page. It is kept
// as a comma-separated description (the form the printer preferences store
// holds) and written into the job as a PostScript resource that draws it
// before each chosen page is output.

#include <string>

class ZPXWatermark {
 public:
  // Fields in order, empty ones collapsed: x, y, red, green, blue, -, "1" for
  // the first page only, -, angle in tenths of a degree, -, -, font size, font
  // name, text. A text stops at the next comma; without it the text is empty.
  explicit ZPXWatermark(const char* description);

  // First page only exactly when the text is "True".
  void SetFirstPageOnly(const wchar_t* text);

  // The text as the controller of the bundle's server language reads it, in
  // upper-case hexadecimal, two digits a byte. The watermark's own text stays
  // as the user gave it.
  const char* GetWMTextInHex();

  // The resource that draws the watermark: the font re-encoded to ISO Latin 1
  // unless the server language is Japanese; turned for landscape (platform
  // orientation 2) or reverse landscape (4). Calls GetWMTextInHex.
  std::string PostScriptResource(long orientation);

  long XOffset() const { return mXOffset; }
  long YOffset() const { return mYOffset; }
  long Angle() const { return mAngle; }
  long FontSize() const { return mFontSize; }
  bool FirstPageOnly() const { return mFirstPageOnly; }
  long Red() const { return mRed; }
  long Green() const { return mGreen; }
  long Blue() const { return mBlue; }
  const std::string& Description() const { return mDescription; }
  const std::string& FontName() const { return mFontName; }
  const std::string& Text() const { return mText; }

  static constexpr size_t kDescriptionSize = 1023;
  static constexpr size_t kFontNameSize = 63;
  static constexpr size_t kTextSize = 255;

 private:
  std::string FilledTemplate(bool reencodeFont, long orientation) const;

  long mXOffset = 0;
  long mYOffset = 0;
  long mAngle = 0;
  long mFontSize = 0;
  bool mFirstPageOnly = false;
  long mRed = 0;
  long mGreen = 0;
  long mBlue = 0;
  std::string mDescription;
  std::string mFontName;
  std::string mText;
  std::string mHexText;
};
