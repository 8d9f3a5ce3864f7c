#include "MakerEntryReader.h"

#include <algorithm>

namespace zpxtool {
namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// Whether the entry's quoted value is still open: an odd count of quotes. The
// comments ("*%") hold no values that run over lines.
bool ValueOpen(const std::string& text) {
  if (StartsWith(text, "*%")) return false;
  return std::count(text.begin(), text.end(), '"') % 2 == 1;
}

size_t WordEnd(const std::string& text, size_t from) {
  const size_t end = text.find_first_of(" \t\r\n:/", from);
  return end == std::string::npos ? text.size() : end;
}

}  // namespace

bool MakerEntryReader::ReadLine(std::string& line) {
  if (mHasAhead) {
    line.swap(mAhead);
    mHasAhead = false;
    return true;
  }
  line.clear();
  if (!std::getline(mIn, line)) return !line.empty();
  if (!mIn.eof()) line += '\n';
  return true;
}

bool MakerEntryReader::Next(MakerEntry& entry) {
  entry = MakerEntry();
  std::string line;
  if (!ReadLine(line)) return false;
  entry.text = line;
  while (ValueOpen(entry.text) && ReadLine(line)) {
    entry.text += line;
    if (entry.text.size() > kMaxEntry) {
      mTooLong = true;
      return false;
    }
  }
  if (ReadLine(mAhead)) {
    mHasAhead = mAhead.substr(0, WordEnd(mAhead, 0)) != "*End";
    if (!mHasAhead) entry.text += mAhead;
  }
  NameEntry(entry);
  return true;
}

void MakerEntryReader::NameEntry(MakerEntry& entry) {
  const std::string& text = entry.text;
  if (!StartsWith(text, "*")) return;
  const size_t keywordEnd = WordEnd(text, 0);
  entry.keyword = text.substr(0, keywordEnd);
  const size_t option = text.find_first_not_of(" \t:", keywordEnd);
  if (option == std::string::npos) return;
  entry.option = text.substr(option, WordEnd(text, option) - option);
}

}  // namespace zpxtool
