#include "host/PostScriptMerger.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr char kWrapperOpen[] = "[{";
constexpr char kWrapperClose[] = "} stopped cleartomark";
constexpr size_t kClassifiedLength = PostScriptLineReader::kMinimumCapacity - 1;
constexpr uint64_t kLargestCount = std::numeric_limits<uint64_t>::max() / 16;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool IsComment(std::string_view text) {
  return text.size() >= 2 && text[0] == '%' && text[1] == '%';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// The first word after the comment's colon.
std::string_view FirstArgument(std::string_view text, size_t commentLength) {
  std::string_view rest = WithoutLeadingBlanks(text.substr(commentLength));
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  return rest.substr(0, end);
}

// "%%Title: x" -> "%%Title:"; a comment without a colon is its own name.
std::string_view CommentName(std::string_view text) {
  size_t colon = text.find(':');
  return colon == std::string_view::npos ? WithoutTrailingBlanks(text) : text.substr(0, colon + 1);
}

uint64_t CountOf(std::string_view word) {
  uint64_t count = 0;
  for (char c : word) {
    if (c < '0' || c > '9') break;
    count = count * 10 + uint64_t(c - '0');
    if (count > kLargestCount) return kLargestCount;
  }
  return count;
}

// Comments after the header that belong to the document's pages or trailer,
// not to its prolog or setup: a setup section that has to be made goes first.
bool EndsPreamble(std::string_view text) {
  if (!IsComment(text)) return !text.empty() && text[0] != '%';
  for (const char* start : {"%%Begin", "%%Page:", "%%Trailer", "%%EOF", "%%IncludeFeature"})
    if (StartsWith(text, start)) return true;
  return false;
}

// The header comments end at the first line that is no comment or that opens
// the document's structure.
bool EndsHeader(std::string_view text) {
  if (!IsComment(text)) return true;
  if (StartsWith(text, "%%EndComments")) return false;
  for (const char* start :
       {"%%Begin", "%%End", "%%Page:", "%%Trailer", "%%EOF", "%%IncludeFeature"})
    if (StartsWith(text, start)) return true;
  return false;
}

// A "[{" or "} stopped cleartomark" line, told apart only when it came whole.
bool IsWrapperLine(std::string_view text, bool whole, std::string_view wrapper) {
  return whole && WithoutTrailingBlanks(text) == wrapper;
}

// Comments that end the section a feature sits in: a feature without its end
// goes no further.
bool EndsSection(std::string_view text) {
  for (const char* end : {"%%EndComments", "%%EndProlog", "%%EndSetup", "%%EndPageSetup",
                          "%%Page:", "%%PageTrailer", "%%Trailer", "%%EOF"})
    if (StartsWith(text, end)) return true;
  return false;
}

// Features do not nest: one that begins ends the one before.
bool StartsFeature(std::string_view text) {
  return StartsWith(text, "%%BeginFeature:") || StartsWith(text, "%%IncludeFeature:");
}

// Calls `visit` with every line of the block, without its line end.
template <typename Visit>
void ForEachLine(const std::string& block, Visit visit) {
  size_t start = 0;
  while (start < block.size()) {
    size_t end = block.find_first_of("\r\n", start);
    if (end == std::string::npos) end = block.size();
    visit(std::string_view(block.data() + start, end - start));
    start = end + 1;
  }
}

// Whether one of the blocks begins a feature of the key on a line of its own.
bool WritesFeature(const std::vector<std::string>& blocks, std::string_view key) {
  bool writes = false;
  for (const std::string& block : blocks)
    ForEachLine(block, [&writes, key](std::string_view line) {
      writes = writes || (StartsWith(line, "%%BeginFeature:") &&
                          FirstArgument(line, sizeof "%%BeginFeature:" - 1) == key);
    });
  return writes;
}

size_t ReaderStep(uint64_t left) {
  return left < PostScriptLineReader::kDefaultCapacity ? size_t(left)
                                                       : PostScriptLineReader::kDefaultCapacity;
}

bool HasLineEnd(const std::string& block) {
  return !block.empty() && (block.back() == '\n' || block.back() == '\r');
}

}  // namespace

PostScriptMerger::PostScriptMerger(const JobInjections& injections, PostScriptLineReader& input,
                                   JobOutput& output)
    : mInjections(injections), mInput(input), mOutput(output) {
  for (const std::string& block : mInjections.mHeaderComments)
    ForEachLine(block, [this](std::string_view line) {
      if (IsComment(line) && !StartsWith(line, "%%+"))
        mReplacedNames.emplace_back(CommentName(line));
    });
  // The extension leaves the page size off its list: the print system's
  // merge takes the document's out only when the extension writes its own.
  mRemovedKeys = mInjections.mSuppressedFeatures;
  if (WritesFeature(mInjections.mSetupBlocks, "*PageSize"))
    mRemovedKeys.insert(mRemovedKeys.end(), {"*PageSize", "*PageRegion"});
}

PostScriptMerger::Result PostScriptMerger::Merge() {
  LinePiece piece;
  if (!mInput.NextPiece(piece)) return mInput.Failed() ? kReadFailed : kNotPostScript;
  if (piece.mLength < 2 || piece.mText[0] != '%' || piece.mText[1] != '!') return kNotPostScript;
  mLineEnd = "\n";
  mFirstLineOpen = true;
  Copy(piece);
  FirstLineEnd(piece);
  while (mInput.NextPiece(piece)) {
    if (piece.mStartsLine)
      Line(piece);
    else
      Continuation(piece);
    if (mCountedLeft > 0) CopyCounted();
  }
  if (mInput.Failed()) return kReadFailed;
  Finish();
  return mOutput.Flush() ? kMerged : kWriteFailed;
}

void PostScriptMerger::Line(const LinePiece& piece) {
  // Lines are told apart by what every reader holds of them in one piece, so
  // that the job does not depend on the size of the reader's buffer.
  std::string_view text(piece.mText, std::min(piece.mLength, kClassifiedLength));
  const bool whole = piece.mEndsLine && piece.mLength + 2 <= PostScriptLineReader::kMinimumCapacity;
  mDroppingLine = false;
  if (Embedded(text, piece)) return;
  if (Removed(text, whole)) {
    mDroppingLine = !piece.mEndsLine;
    return;
  }
  if (HeldWrapper(text, whole)) return;
  if (!mRemovedKeys.empty() && IsWrapperLine(text, whole, kWrapperOpen)) {
    mWrapper.assign(piece.mText, piece.mLength + piece.mEndLength);
    mWrapperHeld = true;
    mWrapperEmptied = false;
    return;
  }
  InSection(text, piece);
}

void PostScriptMerger::Continuation(const LinePiece& piece) {
  FirstLineEnd(piece);
  if (!mDroppingLine) Copy(piece);
}

void PostScriptMerger::FirstLineEnd(const LinePiece& piece) {
  if (!mFirstLineOpen || !piece.mEndsLine) return;
  mFirstLineOpen = false;
  if (piece.mEndLength > 0) mLineEnd.assign(piece.mText + piece.mLength, piece.mEndLength);
}

bool PostScriptMerger::Embedded(std::string_view text, const LinePiece& piece) {
  if (mEmbeddedDepth == 0) return false;
  Copy(piece);
  if (StartsWith(text, "%%BeginDocument"))
    ++mEmbeddedDepth;
  else if (StartsWith(text, "%%EndDocument"))
    --mEmbeddedDepth;
  else
    CountedSection(text);
  return true;
}

bool PostScriptMerger::Removed(std::string_view text, bool whole) {
  if (mRemovingFeature && InRemovedFeature(text, whole)) return true;
  bool feature = IsSuppressed(text, "%%BeginFeature:");
  if (!feature && !IsSuppressed(text, "%%IncludeFeature:")) return false;
  mRemovingFeature = feature;
  mWrapperEmptied = mWrapperHeld;
  return true;
}

bool PostScriptMerger::InRemovedFeature(std::string_view text, bool whole) {
  if (mRemovedEmbeddedDepth > 0) {
    if (StartsWith(text, "%%BeginDocument"))
      ++mRemovedEmbeddedDepth;
    else if (StartsWith(text, "%%EndDocument"))
      --mRemovedEmbeddedDepth;
    else
      CountedSection(text);
    return true;
  }
  if (StartsWith(text, "%%EndFeature")) {
    EndRemoval(false);
    return true;
  }
  const bool closes = IsWrapperLine(text, whole, kWrapperClose);
  if (EndsSection(text)) {
    EndRemoval(true);
    return false;
  }
  // The wrapper around the feature closes, or another feature begins.
  if (StartsFeature(text) || (closes && mRemovedOpeners == 0)) {
    EndRemoval(false);
    return false;
  }
  if (IsWrapperLine(text, whole, kWrapperOpen))
    ++mRemovedOpeners;
  else if (closes)
    --mRemovedOpeners;
  else if (StartsWith(text, "%%BeginDocument"))
    mRemovedEmbeddedDepth = 1;
  else
    CountedSection(text);
  return true;
}

void PostScriptMerger::EndRemoval(bool sectionEnd) {
  mRemovingFeature = false;
  const uint64_t openers = std::exchange(mRemovedOpeners, 0);
  if (sectionEnd || openers == 0) return;
  // Wrappers that begin inside the feature's lines and close after them: the
  // wrapper held for the feature comes first, the last of them is held in
  // turn, as the document might drop what it wraps next.
  ReleaseWrapper();
  for (uint64_t left = openers; left > 1; --left) InsertBlock(kWrapperOpen);
  mWrapper = kWrapperOpen + mLineEnd;
  mWrapperHeld = true;
  mWrapperEmptied = false;
}

bool PostScriptMerger::HeldWrapper(std::string_view text, bool whole) {
  if (!mWrapperHeld) return false;
  if (mWrapperEmptied) {
    if (IsWrapperLine(text, whole, kWrapperClose)) {
      mWrapperHeld = false;
      return true;
    }
    // Its closing line cannot come after the end of its section.
    if (EndsSection(text)) {
      mWrapperHeld = false;
      return false;
    }
  }
  ReleaseWrapper();
  return false;
}

void PostScriptMerger::ReleaseWrapper() {
  if (!mWrapperHeld) return;
  mWrapperHeld = false;
  mOutput.Write(mWrapper);
  mLastLineOpen = false;
}

void PostScriptMerger::InSection(std::string_view text, const LinePiece& piece) {
  switch (mSection) {
    case kHeader:
      Header(text, piece);
      return;
    case kBeforeSetup:
      BeforeSetup(text, piece);
      return;
    case kProlog:
      if (StartsWith(text, "%%EndProlog")) mSection = kBeforeSetup;
      break;
    case kSetup:
      if (StartsWith(text, "%%EndSetup")) {
        InsertSetupBlocks();
        mSection = kBody;
      }
      break;
    case kBody:
      break;
  }
  Copy(piece);
  if (StartsWith(text, "%%BeginDocument"))
    mEmbeddedDepth = 1;
  else
    CountedSection(text);
}

void PostScriptMerger::Header(std::string_view text, const LinePiece& piece) {
  if (mDroppingContinuation && StartsWith(text, "%%+")) {
    mDroppingLine = !piece.mEndsLine;
    return;
  }
  mDroppingContinuation = false;
  if (StartsWith(text, "%%EndComments")) {
    InsertHeaderComments();
    mSection = kBeforeSetup;
    Copy(piece);
    return;
  }
  if (EndsHeader(text)) {
    InsertHeaderComments();
    mSection = kBeforeSetup;
    return BeforeSetup(text, piece);
  }
  if (IsReplacedHeaderComment(text)) {
    mDroppingContinuation = true;
    mDroppingLine = !piece.mEndsLine;
    return;
  }
  Copy(piece);
}

void PostScriptMerger::BeforeSetup(std::string_view text, const LinePiece& piece) {
  if (StartsWith(text, "%%BeginProlog")) {
    mSection = kProlog;
  } else if (StartsWith(text, "%%BeginSetup")) {
    mSection = kSetup;
  } else if (EndsPreamble(text)) {
    InsertMadeSetup();
    mSection = kBody;
    return InSection(text, piece);
  }
  Copy(piece);
}

void PostScriptMerger::Copy(const LinePiece& piece) {
  mOutput.Write(piece.mText, piece.mLength + piece.mEndLength);
  mLastLineOpen = piece.mEndLength == 0;
}

void PostScriptMerger::CountedSection(std::string_view text) {
  if (!IsComment(text)) return;
  if (StartsWith(text, "%%BeginBinary:")) {
    mCountedLeft = CountOf(FirstArgument(text, sizeof "%%BeginBinary:" - 1));
    mCountingLines = false;
  } else if (StartsWith(text, "%%BeginData:")) {
    // "%%BeginData: count [type [Bytes|Lines]]"
    std::string_view rest = WithoutTrailingBlanks(text.substr(sizeof "%%BeginData:" - 1));
    mCountedLeft = CountOf(FirstArgument(rest, 0));
    mCountingLines = rest.size() > 5 && rest.substr(rest.size() - 5) == "Lines" &&
                     IsBlank(rest[rest.size() - 6]);
  }
}

void PostScriptMerger::CopyCounted() {
  // Those of a removed feature go with it.
  const bool keep = !mRemovingFeature;
  if (mCountingLines) {
    LinePiece piece;
    while (mCountedLeft > 0 && mInput.NextPiece(piece)) {
      if (keep) Copy(piece);
      if (piece.mEndsLine) --mCountedLeft;
    }
  } else {
    const char* bytes = nullptr;
    size_t length = 0;
    while (mCountedLeft > 0 && mInput.NextBytes(ReaderStep(mCountedLeft), bytes, length)) {
      mCountedLeft -= length;
      if (!keep) continue;
      mOutput.Write(bytes, length);
      mLastLineOpen = bytes[length - 1] != '\n' && bytes[length - 1] != '\r';
    }
  }
  mCountedLeft = 0;
}

void PostScriptMerger::Finish() {
  // A wrapper that held only removed features has no closing line to come.
  if (mWrapperEmptied) mWrapperHeld = false;
  ReleaseWrapper();
  switch (mSection) {
    case kHeader:
      InsertHeaderComments();
      InsertMadeSetup();
      break;
    case kBeforeSetup:
    case kProlog:
      InsertMadeSetup();
      break;
    case kSetup:
      InsertSetupBlocks();
      break;
    case kBody:
      break;
  }
}

void PostScriptMerger::InsertHeaderComments() {
  for (const std::string& block : mInjections.mHeaderComments) InsertBlock(block);
}

void PostScriptMerger::InsertSetupBlocks() {
  for (const std::string& block : mInjections.mSetupBlocks) {
    bool feature = StartsWith(block, "%%BeginFeature:");
    if (feature) InsertBlock(kWrapperOpen);
    InsertBlock(block);
    if (feature) InsertBlock(kWrapperClose);
  }
}

void PostScriptMerger::InsertMadeSetup() {
  if (mInjections.mSetupBlocks.empty()) return;
  InsertBlock("%%BeginSetup");
  InsertSetupBlocks();
  InsertBlock("%%EndSetup");
}

void PostScriptMerger::InsertBlock(const std::string& block) {
  if (block.empty()) return;
  if (mLastLineOpen) mOutput.Write(mLineEnd);
  mOutput.Write(block);
  if (!HasLineEnd(block)) mOutput.Write(mLineEnd);
  mLastLineOpen = false;
}

bool PostScriptMerger::IsSuppressed(std::string_view text, const char* comment) const {
  if (!IsComment(text) || !StartsWith(text, comment)) return false;
  std::string_view key = FirstArgument(text, std::char_traits<char>::length(comment));
  // A custom value ("*CustomKEY", the value before the code) goes with its
  // feature: it may be a job note's secret.
  static constexpr std::string_view kCustom = "*Custom";
  const bool custom = key.substr(0, kCustom.size()) == kCustom;
  for (const std::string& removed : mRemovedKeys) {
    if (removed.empty()) continue;
    if (key == removed) return true;
    if (custom && key.substr(kCustom.size()) == std::string_view(removed).substr(1)) return true;
  }
  return false;
}

bool PostScriptMerger::IsReplacedHeaderComment(std::string_view text) const {
  if (mReplacedNames.empty() || !IsComment(text)) return false;
  std::string_view name = CommentName(text);
  for (const std::string& replaced : mReplacedNames)
    if (name == replaced) return true;
  return false;
}
