#include "constraints/ShortTextIds.h"

#include <cstring>

#include "constraints/CStringSoup.h"

ShortTextIds::ShortTextIds(CStringSoup& soup) : mSoup(soup), mPlaces(kPlaces, Place{0, 0, 0, -1}) {}

long ShortTextIds::Insert(std::string_view text) {
  if (text.size() > kLongestShortText) return mSoup.Insert(text);
  Place words = WordsOf(text);
  Place& place = mPlaces[PlaceOf(words)];
  if (place.Holds(words)) return place.id;
  words.id = std::int32_t(mSoup.Insert(text));
  place = words;
  return place.id;
}

// Up to 8 bytes: all in the head, the tail zero. Up to 16: the first 8 and
// the last 8, which overlap for fewer than 16.
ShortTextIds::Place ShortTextIds::WordsOf(std::string_view text) {
  Place words{0, 0, std::uint32_t(text.size()), -1};
  constexpr std::size_t kWord = sizeof words.head;
  if (text.size() <= kWord) {
    if (!text.empty()) std::memcpy(&words.head, text.data(), text.size());
    return words;
  }
  std::memcpy(&words.head, text.data(), kWord);
  std::memcpy(&words.tail, text.data() + text.size() - kWord, kWord);
  return words;
}

// Texts that differ only in their last bytes differ only in the high bits of
// their words: those are folded down before the place is taken from the low bits.
std::size_t ShortTextIds::PlaceOf(const Place& words) {
  std::uint64_t mixed = words.head ^ ((words.tail << 29) | (words.tail >> 35)) ^ words.length;
  mixed ^= mixed >> 32;
  mixed *= 0xff51afd7ed558ccdULL;
  mixed ^= mixed >> 29;
  return std::size_t(mixed) & (kPlaces - 1);
}
