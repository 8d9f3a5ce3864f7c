#include "toolkit/TextMetrics.h"

#include <algorithm>

#include "carbon/MacErrors.h"
#include "cf/CFStringObject.h"
#include "toolkit/ToolkitModel.h"

namespace {

ThemeCursor sCursor = kThemeArrowCursor;

size_t CodePoints(const std::string& utf8) {
  return size_t(std::count_if(utf8.begin(), utf8.end(), [](char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
  }));
}

}  // namespace

size_t TextMetrics::Width(const std::string& utf8, ThemeFontID font) {
  return CodePoints(utf8) * (font == kThemeSmallSystemFont ? 6 : 7);
}

SInt16 TextMetrics::LineHeight(ThemeFontID font) { return font == kThemeSmallSystemFont ? 14 : 16; }

SInt16 TextMetrics::Baseline(ThemeFontID font) { return font == kThemeSmallSystemFont ? -3 : -4; }

OSStatus GetThemeTextDimensions(CFStringRef text, ThemeFontID font, ThemeDrawState, Boolean,
                                Point* ioBounds, SInt16* outBaseline) {
  if (!text || !ioBounds) return paramErr;
  std::string utf8 = __CFString::utf8Of(text);
  ToolkitBackend* backend = ToolkitModel::Shared().mBackend;
  SInt16 baseline = 0;
  if (backend && backend->MeasureText(utf8, font, ioBounds, &baseline)) {
    if (outBaseline) *outBaseline = baseline;
    return noErr;
  }
  size_t width = TextMetrics::Width(utf8, font);
  ioBounds->h = short(std::min<size_t>(width, INT16_MAX));
  ioBounds->v = TextMetrics::LineHeight(font);
  if (outBaseline) *outBaseline = TextMetrics::Baseline(font);
  return noErr;
}

OSStatus SetThemeCursor(ThemeCursor cursor) {
  sCursor = cursor;
  if (ToolkitBackend* backend = ToolkitModel::Shared().mBackend) backend->ShowCursor(cursor);
  return noErr;
}

ThemeCursor CurrentThemeCursor() { return sCursor; }
