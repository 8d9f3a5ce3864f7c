#pragma once
// Points and rectangles in window coordinates (top-left origin, y down) and the
// arithmetic the pane does on them.

#include "carbon/MacTypes.h"

struct Point {
  short v;
  short h;
};

struct Rect {
  short top;
  short left;
  short bottom;
  short right;
};

typedef struct OpaqueGrafPtr* GrafPtr;
typedef GrafPtr CGrafPtr;

// Inside means top/left inclusive, bottom/right exclusive.
Boolean PtInRect(Point point, const Rect* rect);
void OffsetRect(Rect* rect, short dh, short dv);
// The smallest rectangle holding both; `result` may be either source.
void UnionRect(const Rect* first, const Rect* second, Rect* result);
// Moves every side inwards (outwards for negative amounts).
void InsetRect(Rect* rect, short dh, short dv);
