// Comparison and search of platform strings.

#include "cf/CFCharacters.h"
#include "cf/CFRangeClip.h"
#include "cf/CFStringObject.h"

namespace {

// Simple case folding for the scripts the system's texts use: Latin, Greek
// and Cyrillic.
char16_t foldCase(char16_t unit) {
  if (unit < 0x80) return unit >= u'A' && unit <= u'Z' ? unit + 0x20 : unit;
  if ((unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) || (unit >= 0x391 && unit <= 0x3AB) ||
      (unit >= 0x410 && unit <= 0x42F))
    return unit + 0x20;
  if (unit >= 0x400 && unit <= 0x40F) return unit + 0x50;
  bool evenUpper = (unit >= 0x100 && unit <= 0x137) || (unit >= 0x14A && unit <= 0x177);
  bool oddUpper = (unit >= 0x139 && unit <= 0x148) || (unit >= 0x179 && unit <= 0x17E);
  if ((evenUpper && unit % 2 == 0) || (oddUpper && unit % 2 == 1)) return unit + 1;
  return unit;
}

class UnitMatcher {
 public:
  explicit UnitMatcher(CFStringCompareFlags options)
      : ignoreCase_((options & kCFCompareCaseInsensitive) != 0) {}
  char16_t key(char16_t unit) const { return ignoreCase_ ? foldCase(unit) : unit; }
  bool same(char16_t first, char16_t second) const { return key(first) == key(second); }

 private:
  bool ignoreCase_;
};

CFComparisonResult sign(long difference) {
  return difference < 0   ? kCFCompareLessThan
         : difference > 0 ? kCFCompareGreaterThan
                          : kCFCompareEqualTo;
}

// Compares the digit runs at `i` and `j` by their value and moves past them.
CFComparisonResult compareNumbers(std::u16string_view first, size_t& i, std::u16string_view second,
                                  size_t& j) {
  auto skipZeros = [](std::u16string_view text, size_t& at) {
    while (at + 1 < text.size() && text[at] == u'0' && CFIsASCIIDigit(text[at + 1])) ++at;
  };
  skipZeros(first, i);
  skipZeros(second, j);
  size_t firstEnd = i, secondEnd = j;
  while (firstEnd < first.size() && CFIsASCIIDigit(first[firstEnd])) ++firstEnd;
  while (secondEnd < second.size() && CFIsASCIIDigit(second[secondEnd])) ++secondEnd;
  long lengths = static_cast<long>(firstEnd - i) - static_cast<long>(secondEnd - j);
  CFComparisonResult result = sign(lengths);
  for (; result == kCFCompareEqualTo && i < firstEnd; ++i, ++j) result = sign(first[i] - second[j]);
  i = firstEnd;
  j = secondEnd;
  return result;
}

CFComparisonResult compareTexts(std::u16string_view first, std::u16string_view second,
                                CFStringCompareFlags options) {
  UnitMatcher matcher(options);
  bool numerically = (options & kCFCompareNumerically) != 0;
  size_t i = 0, j = 0;
  while (i < first.size() && j < second.size()) {
    CFComparisonResult result;
    if (numerically && CFIsASCIIDigit(first[i]) && CFIsASCIIDigit(second[j])) {
      result = compareNumbers(first, i, second, j);
    } else {
      result = sign(matcher.key(first[i]) - matcher.key(second[j]));
      ++i;
      ++j;
    }
    if (result != kCFCompareEqualTo) return result;
  }
  return sign(static_cast<long>(first.size() - i) - static_cast<long>(second.size() - j));
}

bool matchesAt(std::u16string_view text, size_t at, std::u16string_view pattern,
               const UnitMatcher& matcher) {
  for (size_t k = 0; k < pattern.size(); ++k)
    if (!matcher.same(text[at + k], pattern[k])) return false;
  return true;
}

}  // namespace

CFComparisonResult CFStringCompare(CFStringRef text1, CFStringRef text2,
                                   CFStringCompareFlags options) {
  return compareTexts(__CFString::textOf(text1), __CFString::textOf(text2), options);
}

CFComparisonResult CFStringCompareWithOptions(CFStringRef text1, CFStringRef text2,
                                              CFRange rangeToCompare,
                                              CFStringCompareFlags options) {
  std::u16string_view units = __CFString::textOf(text1);
  CFRange clipped = CFRangeClip(rangeToCompare, static_cast<CFIndex>(units.size()));
  return compareTexts(
      units.substr(static_cast<size_t>(clipped.location), static_cast<size_t>(clipped.length)),
      __CFString::textOf(text2), options);
}

Boolean CFStringFindWithOptions(CFStringRef text, CFStringRef toFind, CFRange rangeToSearch,
                                CFStringCompareFlags options, CFRange* result) {
  std::u16string_view units = __CFString::textOf(text);
  std::u16string_view pattern = __CFString::textOf(toFind);
  CFRange range = CFRangeClip(rangeToSearch, static_cast<CFIndex>(units.size()));
  CFIndex patternLength = static_cast<CFIndex>(pattern.size());
  if (patternLength == 0 || patternLength > range.length) return false;
  CFIndex first = range.location;
  CFIndex last = range.location + range.length - patternLength;
  bool backwards = (options & kCFCompareBackwards) != 0;
  if (options & kCFCompareAnchored) {
    if (backwards)
      first = last;
    else
      last = first;
  }
  UnitMatcher matcher(options);
  CFIndex step = backwards ? -1 : 1;
  for (CFIndex at = backwards ? last : first; at >= first && at <= last; at += step) {
    if (matchesAt(units, static_cast<size_t>(at), pattern, matcher)) {
      if (result) *result = CFRangeMake(at, patternLength);
      return true;
    }
  }
  return false;
}

CFRange CFStringFind(CFStringRef text, CFStringRef toFind, CFStringCompareFlags options) {
  CFRange found;
  if (CFStringFindWithOptions(text, toFind, CFRangeMake(0, CFStringGetLength(text)), options,
                              &found))
    return found;
  return CFRangeMake(kCFNotFound, 0);
}
