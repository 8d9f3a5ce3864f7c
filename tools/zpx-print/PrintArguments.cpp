#include "PrintArguments.h"

#include <cstring>

namespace {

constexpr const char* kOrientations[] = {"portrait", "landscape", "reverse-portrait",
                                         "reverse-landscape"};

bool Copies(const std::string& text, long& copies) {
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  copies = std::stol(text);
  return copies >= 1 && copies <= PrintArguments::kMaximumCopies;
}

bool Orientation(const std::string& text, int& orientation) {
  for (int index = 0; index < 4; ++index)
    if (text == kOrientations[index]) orientation = index + 1;
  return orientation != 0;
}

}  // namespace

PrintFailure PrintArguments::Parse(int argc, const char* const* argv) {
  for (int index = 1; index < argc; ++index) {
    const std::string word = argv[index];
    const bool takesValue = word == "--ppd" || word == "-o" || word == "--copies" ||
                            word == "--orientation" || word == "--title" || word == "--output";
    if (takesValue && index + 1 >= argc) return PrintFailure::BadInput(word + " needs a value");
    const std::string value = takesValue ? argv[++index] : "";
    if (word == "--ppd") {
      mPPD = value;
    } else if (word == "-o") {
      size_t equals = value.find('=');
      if (equals == std::string::npos || equals == 0)
        return PrintFailure::BadInput("\"" + value + "\" is not KEY=VALUE");
      std::string key = value.substr(0, equals);
      if (key[0] != '*') key.insert(0, "*");
      mOptions.emplace_back(key, value.substr(equals + 1));
    } else if (word == "--copies") {
      if (!Copies(value, mCopies)) return PrintFailure::BadInput("--copies takes 1 to 9999");
    } else if (word == "--orientation") {
      mOrientation = 0;
      if (!Orientation(value, mOrientation))
        return PrintFailure::BadInput("--orientation takes portrait, landscape, reverse-portrait "
                                      "or reverse-landscape");
    } else if (word == "--title") {
      mTitle = value;
    } else if (word == "--output") {
      mOutput = value;
    } else if (word == "--forget") {
      mForget = true;
    } else if (word == "--gui") {
      mGui = true;
    } else if (word.size() > 1 && word[0] == '-') {
      return PrintFailure::BadInput("unknown option " + word);
    } else if (!mDocument.empty()) {
      return PrintFailure::BadInput("one document at most");
    } else {
      mDocument = word;
    }
  }
  if (mPPD.empty()) return PrintFailure::BadInput("--ppd FILE is required");
  return PrintFailure::None();
}

std::string PrintArguments::JobName() const {
  if (!mTitle.empty()) return mTitle;
  if (mDocument.empty()) return "stdin";
  return mDocument.substr(mDocument.find_last_of('/') + 1);
}
