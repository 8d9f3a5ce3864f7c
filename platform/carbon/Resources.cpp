#include "carbon/Resources.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace {

const size_t kMaxLine = 1023;
const size_t kMaxText = 255;
const size_t kMaxFileSize = 1 << 20;
const short kSystemFile = 0;

// Entries by (list id, index).
typedef std::map<std::pair<short, short>, std::string> StringLists;

std::map<short, StringLists> gFiles;
short gCurrent = kSystemFile;
short gLastRefNum = kSystemFile;

// Reads a whole decimal number within [low, high] that ends at `end`.
bool ReadNumber(const char* text, const char* end, long low, long high, long* value) {
  char* stop = nullptr;
  long number = std::strtol(text, &stop, 10);
  if (stop != end || stop == text || number < low || number > high) return false;
  *value = number;
  return true;
}

// One line without its line end; false when it breaks the rules.
bool ReadLine(const std::string& line, StringLists& lists, long* listID) {
  if (line.empty() || line[0] == '#') return true;
  const char* text = line.c_str();
  if (line.compare(0, 5, "STR# ") == 0)
    return ReadNumber(text + 5, text + line.size(), -32768, 32767, listID);
  const char* space = std::strchr(text, ' ');
  long index = 0;
  if (space == nullptr || line.size() - (space + 1 - text) > kMaxText || *listID > 32767 ||
      !ReadNumber(text, space, 1, 32767, &index))
    return false;
  lists[{static_cast<short>(*listID), static_cast<short>(index)}] = space + 1;
  return true;
}

bool ReadFile(std::FILE* file, StringLists& lists) {
  long listID = 32768;  // no list started yet
  char buffer[kMaxLine + 2];
  size_t total = 0;
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
    size_t length = std::strlen(buffer);
    bool ended = length > 0 && buffer[length - 1] == '\n';
    total += length;
    if (total > kMaxFileSize || (!ended && (length > kMaxLine || !std::feof(file)))) return false;
    std::string line(buffer, length - (ended ? 1 : 0));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!ReadLine(line, lists, &listID)) return false;
  }
  return !std::ferror(file);
}

}  // namespace

short OpenStringListFile(const char* folderPath, const char* fileName) {
  if (folderPath == nullptr || fileName == nullptr || gLastRefNum == 32767) return -1;
  std::string path = std::string(folderPath) + "/" + fileName;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return -1;
  StringLists lists;
  bool read = ReadFile(file, lists);
  std::fclose(file);
  if (!read) return -1;
  gFiles[++gLastRefNum] = std::move(lists);
  gCurrent = gLastRefNum;
  return gCurrent;
}

void CloseResFile(short refNum) {
  if (gFiles.erase(refNum) == 0) return;
  if (gCurrent == refNum) gCurrent = kSystemFile;
}

short CurResFile() { return gCurrent; }

void UseResFile(short refNum) {
  if (refNum != kSystemFile && gFiles.count(refNum) == 0) return;
  gCurrent = refNum;
}

void GetIndString(Str255 theString, short strListID, short index) {
  theString[0] = 0;
  auto file = gFiles.find(gCurrent);
  if (file == gFiles.end()) return;
  auto entry = file->second.find({strListID, index});
  if (entry == file->second.end()) return;
  size_t length = entry->second.size() < kMaxText ? entry->second.size() : kMaxText;
  std::memcpy(theString + 1, entry->second.data(), length);
  theString[0] = static_cast<unsigned char>(length);
}
