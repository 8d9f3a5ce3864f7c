#include "ui/IconTable.h"

#include <cstring>

namespace {

// Copies a field that fits in `size` bytes with its NUL; false otherwise.
bool CopyField(char* to, const char* from, size_t size) {
  size_t length = std::strlen(from);
  if (length >= size) return false;
  std::memcpy(to, from, length + 1);
  return true;
}

void SkipRestOfLine(FILE* file) {
  int c;
  while ((c = std::fgetc(file)) != EOF && c != '\n') {
  }
}

// Keywords, values and picture paths never hold control characters: a line that
// still has one once its line end is gone is not an entry (a stray carriage
// return would otherwise end up inside a path).
bool HasControlCharacter(const char* line) {
  for (; *line != '\0'; ++line)
    if (static_cast<unsigned char>(*line) < 0x20) return true;
  return false;
}

}  // namespace

IconTable& IconTable::Shared() {
  static IconTable table;
  return table;
}

bool IconTable::NextLine(FILE* file, char* line) {
  size_t length = std::strlen(line);
  if (length > 0 && line[length - 1] == '\n') {
    line[--length] = '\0';
  } else if (length == kLineSize - 1) {
    // A full buffer is a whole line only when the line ends right here.
    int next = std::fgetc(file);
    if (next != EOF && next != '\n') {
      SkipRestOfLine(file);
      return false;
    }
  }
  if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';
  return true;
}

void IconTable::Read(FILE* file) {
  char line[kLineSize];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (!NextLine(file, line)) continue;
    if (mEntries.size() < kMaxEntries) AddLine(line);
  }
}

bool IconTable::ReadFile(const char* path) {
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) return false;
  Read(file);
  std::fclose(file);
  return true;
}

void IconTable::AddLine(char* line) {
  if (HasControlCharacter(line)) return;
  char* save = nullptr;
  if (strtok_r(line, ",", &save) == nullptr) return;  // the first field says nothing
  const char* keyword = strtok_r(nullptr, ",", &save);
  const char* third = strtok_r(nullptr, ",", &save);
  if (keyword == nullptr || third == nullptr) return;
  const char* value = "";
  const char* path = third;
  if (std::strstr(third, "icons") == nullptr) {
    value = third;
    path = strtok_r(nullptr, ",", &save);
    if (path == nullptr) return;
  }
  if (std::strstr(path, "png") == nullptr) return;
  Entry entry;
  if (CopyField(entry.keyword, keyword, kFieldSize) && CopyField(entry.value, value, kFieldSize) &&
      CopyField(entry.path, path, kPathSize))
    mEntries.push_back(entry);
}

const char* IconTable::PathFor(const char* keyword, const char* value) const {
  for (const Entry& entry : mEntries)
    if (std::strcmp(entry.keyword, keyword) == 0 && std::strcmp(entry.value, value) == 0)
      return entry.path;
  return "";
}

const char* IconTable::PathAt(size_t index) const {
  return index < mEntries.size() ? mEntries[index].path : "";
}
