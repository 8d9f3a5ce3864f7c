#pragma once
// Interns texts: each distinct text gets a dense id in order of first insertion.

#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

class CStringSoup {
 public:
  CStringSoup();
  CStringSoup(const CStringSoup&) = delete;
  CStringSoup& operator=(const CStringSoup&) = delete;
  virtual ~CStringSoup();

  // The text's id, interning it first when it is new; -1 for a null text.
  virtual long Insert(const char* text);
  // The text of an id, or null when no text has that id.
  virtual const char* Find(long id) const;
  // The id of an equal text, or -1.
  virtual long Find(const char* text) const;
  virtual void Clear();
  virtual long size() const;

 private:
  std::vector<std::unique_ptr<char[]>> m_blocks;
  // The dialog looks a text up for every menu item it shows; the index keeps that
  // independent of how many texts the document has.
  std::unordered_map<std::string_view, long> m_ids;
};
