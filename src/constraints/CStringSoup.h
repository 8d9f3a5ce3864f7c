#pragma once
// Interns texts: each distinct text gets a dense id in order of first insertion.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "constraints/IdTable.h"

class CStringSoup {
 public:
  CStringSoup();
  CStringSoup(const CStringSoup&) = delete;
  CStringSoup& operator=(const CStringSoup&) = delete;
  virtual ~CStringSoup();

  // The text's id, interning it first when it is new; -1 for a null text.
  virtual long Insert(const char* text);
  // The same for a text that is not terminated, as a constraint line's words
  // are where the line lies.
  long Insert(std::string_view text);
  // The text of an id, or null when no text has that id.
  virtual const char* Find(long id) const;
  // The id of an equal text, or -1.
  virtual long Find(const char* text) const;
  virtual void Clear();
  virtual long size() const;

 private:
  struct Text {
    const char* text;
    size_t length;
    size_t hash;
  };

  static Text Measure(std::string_view text);
  // The slot that holds the id of an equal text, or the empty slot where it would go.
  size_t SlotOf(const Text& text) const;
  const char* Store(const Text& text);

  std::vector<Text> mTexts;  // by id, each pointing into the blocks
  // Every document interns a text for every key, option and constraint operand
  // it reads, and the dialog looks one up for every menu item it shows.
  IdTable mIds;
  // The texts, packed into blocks that never move, so that Find(id) stays valid.
  std::vector<std::unique_ptr<char[]>> mBlocks;
  char* mFree = nullptr;
  size_t mFreeBytes = 0;
};
