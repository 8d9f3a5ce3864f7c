#include "PrintArguments.h"

#include <cstring>

namespace {

constexpr const char* kCopiesOption = "*ZPCopies";
constexpr const char* kOrientationOption = "*ZP_PAPER_ORIENTATION";

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

bool NumberUp(const std::string& text, int& numberUp) {
  for (const char* allowed : {"1", "2", "4", "6", "9", "16"})
    if (text == allowed) numberUp = std::stoi(text);
  return text == std::to_string(numberUp);
}

// KEY=VALUE with the key written as the PPD does, with "*".
bool KeyValue(const std::string& text, std::pair<std::string, std::string>& option) {
  size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  option.first = text.substr(0, equals);
  if (option.first[0] != '*') option.first.insert(0, "*");
  option.second = text.substr(equals + 1);
  return true;
}

// A PPD keyword, which a prompt may show as it is.
bool IsKeyword(const std::string& text) {
  const size_t start = !text.empty() && text[0] == '*' ? 1 : 0;
  return text.size() > start && text.size() <= 64 &&
         text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-.",
                                start) == std::string::npos;
}

}  // namespace

PrintFailure PrintArguments::Parse(int argc, const char* const* argv) {
  for (int index = 1; index < argc; ++index) {
    const std::string word = argv[index];
    const bool takesValue = word == "--ppd" || word == "--printer" || word == "-o" ||
                            word == "--job-options" || word == "--copies" ||
                            word == "--number-up" || word == "--orientation" || word == "--title" ||
                            word == "--output" || word == "--ask" || word == "--secrets";
    if (takesValue && index + 1 >= argc) return PrintFailure::BadInput(word + " needs a value");
    const std::string value = takesValue ? argv[++index] : "";
    if (word == "--ppd") {
      mPPD = value;
    } else if (word == "--printer") {
      mQueue = value;
    } else if (word == "--list") {
      mList = true;
    } else if (word == "-o") {
      std::pair<std::string, std::string> option;
      if (!KeyValue(value, option))
        return PrintFailure::BadInput("\"" + value + "\" is not KEY=VALUE");
      mOptions.push_back(option);
    } else if (word == "--job-options") {
      mJobOptionsFile = value;
    } else if (word == "--copies") {
      if (!Copies(value, mCopies)) return PrintFailure::BadInput("--copies takes 1 to 9999");
      mCopiesGiven = true;
    } else if (word == "--number-up") {
      if (!NumberUp(value, mNumberUp))
        return PrintFailure::BadInput("--number-up takes 1, 2, 4, 6, 9 or 16");
    } else if (word == "--orientation") {
      mOrientation = 0;
      mOrientationGiven = true;
      if (!Orientation(value, mOrientation))
        return PrintFailure::BadInput(
            "--orientation takes portrait, landscape, reverse-portrait "
            "or reverse-landscape");
    } else if (word == "--title") {
      mTitle = value;
    } else if (word == "--output") {
      mOutput = value;
    } else if (word == "--forget") {
      mForget = true;
    } else if (word == "--gui") {
      mGui = true;
    } else if (word == "--server-job") {
      mServerJob = true;
    } else if (word == "--ask") {
      if (!IsKeyword(value)) return PrintFailure::BadInput("--ask takes an option's key");
      mAskedKeys.push_back(value[0] == '*' ? value : "*" + value);
    } else if (word == "--secrets") {
      mSecretsFile = value;
    } else if (word == "--help" || word == "-h") {
      mHelp = true;
      return PrintFailure::None();
    } else if (word == "--version") {
      mVersion = true;
      return PrintFailure::None();
    } else if (word.size() > 1 && word[0] == '-') {
      return PrintFailure::BadInput("unknown option " + word);
    } else if (!mDocument.empty()) {
      return PrintFailure::BadInput("one document at most");
    } else {
      mDocument = word;
    }
  }
  if (mList) return PrintFailure::None();
  if (mPPD.empty() == mQueue.empty())
    return PrintFailure::BadInput("--ppd FILE or --printer QUEUE is required, not both");
  return PrintFailure::None();
}

std::string PrintArguments::JobName() const {
  if (!mTitle.empty()) return mTitle;
  if (mDocument.empty()) return "stdin";
  return mDocument.substr(mDocument.find_last_of('/') + 1);
}

std::vector<std::pair<std::string, std::string>> PrintArguments::JobOptions() const {
  std::vector<std::pair<std::string, std::string>> options;
  if (!mServerJob && mCopiesGiven) options.push_back({kCopiesOption, std::to_string(mCopies)});
  // The controller's option knows two orientations; which way round a reverse
  // one lies the print system's orientation tells.
  if (!mServerJob && mOrientationGiven)
    options.push_back({kOrientationOption, mOrientation % 2 == 1 ? "Portrait" : "Landscape"});
  options.insert(options.end(), mJobOptions.begin(), mJobOptions.end());
  return options;
}

bool PrintArguments::ParseChoice(const std::string& text,
                                 std::pair<std::string, std::string>& option) {
  return KeyValue(text, option);
}
