#pragma once
// The entries of a maker's PPD in file order, each as it stands in the file:
// its main keyword, its option (the word after the keyword, or after the colon
// of *CloseUI and *Default... lines) and its whole text, with the lines of a
// quoted value that runs over several lines and the *End that closes it.

#include <istream>
#include <string>

namespace zpxtool {

struct MakerEntry {
  std::string keyword;  // "" for a line that names none (a blank line)
  std::string option;
  std::string text;  // with its line ends
};

class MakerEntryReader {
 public:
  // No entry is longer than this: a quoted value that never closes stops the
  // reading instead of taking the rest of the file.
  static constexpr size_t kMaxEntry = 256 * 1024;

  explicit MakerEntryReader(std::istream& in) : mIn(in) {}

  // False at the end of the file, or at an entry longer than kMaxEntry.
  bool Next(MakerEntry& entry);
  bool TooLong() const { return mTooLong; }

 private:
  bool ReadLine(std::string& line);
  static void NameEntry(MakerEntry& entry);

  std::istream& mIn;
  std::string mAhead;
  bool mHasAhead = false;
  bool mTooLong = false;
};

}  // namespace zpxtool
