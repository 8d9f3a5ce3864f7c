#include "cf/CFRangeClip.h"

#include <algorithm>

CFRange CFRangeClip(CFRange range, CFIndex count) {
  CFIndex location = std::clamp<CFIndex>(range.location, 0, count);
  CFIndex length = std::clamp<CFIndex>(range.length, 0, count - location);
  return CFRangeMake(location, length);
}
