#pragma once
// A localized string table: the text of a ".strings" file, entries written
//   "key" = "value";
// with /* */ and // comments, the escapes \" \\ \n \t \r and \Uxxxx, and
// "key"; standing for an entry whose value is its key. The file is UTF-8 (with
// or without a byte-order mark) or UTF-16 with a byte-order mark. Tables come
// from bundles on disk: their size is bounded and a malformed one is refused
// whole.

#include <cstddef>
#include <string>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

class CFStringsTable {
 public:
  static constexpr size_t kMaximumSize = 1 << 20;

  CFStringsTable();
  // Replaces the entries by the table's; false (and no entries) when the
  // bytes are not a table.
  bool Parse(const UInt8* bytes, size_t length);
  // Borrowed; null when the table has no such key.
  CFStringRef Find(CFStringRef key) const;
  CFIndex Count() const { return CFDictionaryGetCount(mEntries.get()); }

 private:
  bool ParseText(const std::u16string& text);
  void Clear();

  CFRef<CFMutableDictionaryRef> mEntries;
};
