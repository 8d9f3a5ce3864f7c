#pragma once
// The ids of texts interned in a CStringSoup, remembered for the short ones: a
// rebuilt document interns the same few hundred keywords and option names tens
// of thousands of times. A text of up to 16 bytes is known by its length and
// two 8-byte loads, so a repeat costs neither a byte-by-byte hash nor a probe
// of the soup's large table; a longer text, or one whose place in the small
// table was taken, goes to the soup. Use one only while its soup is not cleared.

#include <cstdint>
#include <string_view>
#include <vector>

class CStringSoup;

class ShortTextIds {
 public:
  explicit ShortTextIds(CStringSoup& soup);
  ShortTextIds(const ShortTextIds&) = delete;
  ShortTextIds& operator=(const ShortTextIds&) = delete;

  // The text's id in the soup, interning it first when it is new.
  long Insert(std::string_view text);
  // The same for a terminated text; -1 for a null one, as the soup gives.
  long Insert(const char* text) { return text != nullptr ? Insert(std::string_view(text)) : -1; }

 private:
  static constexpr std::size_t kLongestShortText = 16;
  static constexpr std::size_t kPlaces = 4096;  // a power of two

  // A short text's bytes as two words, every byte in one of them, and its id:
  // 24 bytes, so that the table stays in the nearest caches.
  struct Place {
    std::uint64_t head;
    std::uint64_t tail;
    std::uint32_t length;
    std::int32_t id;  // -1: free
    bool Holds(const Place& text) const {
      return id >= 0 && length == text.length && head == text.head && tail == text.tail;
    }
  };

  static Place WordsOf(std::string_view text);
  static std::size_t PlaceOf(const Place& text);

  CStringSoup& mSoup;
  std::vector<Place> mPlaces;
};
