#pragma once
// Theme fonts, text measurement and the cursor.

#include "cf/CFString.h"
#include "toolkit/QuickDraw.h"

typedef UInt16 ThemeFontID;
enum : ThemeFontID { kThemeSystemFont = 0, kThemeSmallSystemFont = 1 };
typedef UInt32 ThemeDrawState;
enum : ThemeDrawState { kThemeStateInactive = 0, kThemeStateActive = 1 };
typedef UInt32 ThemeCursor;
enum : ThemeCursor { kThemeArrowCursor = 0, kThemeWatchCursor = 7 };

// Width (h) and height (v) of the text in the font; the headless backend gives
// every character the same width (see TextMetrics.h).
OSStatus GetThemeTextDimensions(CFStringRef text, ThemeFontID font, ThemeDrawState state,
                                Boolean wrapToWidth, Point* ioBounds, SInt16* outBaseline);
OSStatus SetThemeCursor(ThemeCursor cursor);
// The cursor last set; not a call of the platform's: tests read it.
ThemeCursor CurrentThemeCursor();
