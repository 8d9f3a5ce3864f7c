#include "toolkit/QuickDraw.h"

#include <algorithm>

Boolean PtInRect(Point point, const Rect* rect) {
  return rect && point.v >= rect->top && point.v < rect->bottom && point.h >= rect->left &&
         point.h < rect->right;
}

void OffsetRect(Rect* rect, short dh, short dv) {
  if (!rect) return;
  rect->left += dh;
  rect->right += dh;
  rect->top += dv;
  rect->bottom += dv;
}

void UnionRect(const Rect* first, const Rect* second, Rect* result) {
  if (!first || !second || !result) return;
  Rect both = {std::min(first->top, second->top), std::min(first->left, second->left),
               std::max(first->bottom, second->bottom), std::max(first->right, second->right)};
  *result = both;
}

void InsetRect(Rect* rect, short dh, short dv) {
  if (!rect) return;
  rect->left += dh;
  rect->right -= dh;
  rect->top += dv;
  rect->bottom -= dv;
}
