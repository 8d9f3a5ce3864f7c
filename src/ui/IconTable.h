#pragma once
// The pictures beside the pane's rows: which file shows which value of which
// option, read from the bundle's "icons/lookup.csv". Lines are
//   anything,keyword,value,path        or        anything,keyword,path
// (the second form, whose third field lies below "icons", has an empty value).
// Fields keep fixed sizes; a line or field that does not fit is left out whole.

#include <cstddef>
#include <cstdio>
#include <vector>

class IconTable {
 public:
  enum : size_t {
    kMaxEntries = 999,
    kFieldSize = 64,  // keyword and value, with their NUL
    kPathSize = 128,  // with its NUL
    kLineSize = 1024  // 1023 bytes and the NUL
  };

  // The process's table, filled once by the first icon widget.
  static IconTable& Shared();

  bool Empty() const { return mEntries.empty(); }
  size_t Count() const { return mEntries.size(); }
  // Adds the file's entries after those already held, up to kMaxEntries.
  void Read(FILE* file);
  // Reads the file at `path`; false when it cannot be opened.
  bool ReadFile(const char* path);
  // The path of the first entry whose keyword and value equal these exactly;
  // the empty text when none does.
  const char* PathFor(const char* keyword, const char* value) const;
  // The path of entry `index`, in file order; the empty text past the last.
  const char* PathAt(size_t index) const;

 private:
  struct Entry {
    char keyword[kFieldSize];
    char value[kFieldSize];
    char path[kPathSize];
  };

  // One line without its line end; false when it would not fit in `line`.
  static bool NextLine(FILE* file, char* line);
  void AddLine(char* line);

  std::vector<Entry> mEntries;
};
