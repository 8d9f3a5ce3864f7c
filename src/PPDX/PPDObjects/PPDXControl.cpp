#include "PPDX/PPDObjects/PPDXControl.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "constraints/UIConstraints.h"
#include "foundation/CString.h"
#include "foundation/DocumentStorage.h"
#include "foundation/HexText.h"
#include "foundation/PointerListOf.h"

namespace {

constexpr unsigned long kOrderKey = FourCC("Ordr");
constexpr unsigned long kPostScriptKey = FourCC("PSDt");
constexpr unsigned long kFlagsKey = FourCC("CFlg");
constexpr char kFlagSeparator = '|';

constexpr const char* kReservedKeywords[] = {
    "*ZPTintora",
    "*ZP_PROP_COLORMODE",
    "*ZP_PROP_TN_PURE_BLACK",
    "*ZP_PROP_TN_OVER_PRINT",
    "*ZP_PROP_TN_RGB_SEPARATION",
    "*ZP_PROP_TN_SOURCE_PROFILES",
    "*ZP_PROP_TN_SIMULATION",
    "*ZP_PROP_TN_SPOTCOLORS",
    "*ZP_PROP_TN_OUTPUT_PROFILE",
    "*ZP_PROP_TN_SIM_SPEED",
    "*ZP_PROP_TN_COLOR_SMART",
    "*ZP_PROP_TN_GAMMA",
    "*ZP_PROP_TN_WHITEPOINT",
    "*ZP_PROP_TN_PHOSPHORS",
    "*ZP_PROP_TN_CRD",
    "*ZP_PROP_TN_CRD_IMAGES",
    "*ZP_PROP_TN_CRD_GRAPHICS",
    "*ZP_PROP_TN_CRD_TEXT",
    "*ZP_PROP_TN_CRD_IMAGES_HT",
    "*ZP_PROP_TN_CRD_GRAPHICS_HT",
    "*ZP_PROP_TN_CRD_TEXT_HT",
    "*ZP_LOCAL_PROP_FIRSTPAGESOURCE",
    "*ZP_LOCAL_PROP_FIRSTPAGEMEDIA",
    "*ZP_LOCAL_PROP_BACKPAGESOURCE",
    "*ZP_LOCAL_PROP_BACKPAGEMEDIA",
    "*ZP_PROP_WATERMARK_FIRSTPAGEONLY",
    "*ZP_PROP_WATERMARK_FOREGROUND",
    "*ZP_PROP_WATERMARK_OUTLINE",
    "*ZP_PROP_WATERMARK",
    "*ZP_PROP_LOCAL_ZPLANDSCAPE",
};

// Appends the pieces of a snippet to `out` when there is one, and counts them
// either way, so that measuring and writing cannot disagree.
class SnippetWriter {
 public:
  explicit SnippetWriter(unsigned char* out) : mOut(out), mSize(0) {}
  void Append(const void* bytes, long length) {
    if (mOut != nullptr) std::memcpy(mOut + mSize, bytes, size_t(length));
    mSize += length;
  }
  void Append(const char* text) { Append(text, long(std::strlen(text))); }
  long Size() const { return mSize; }

 private:
  unsigned char* mOut;
  long mSize;
};

bool MatchesIgnoringCase(const std::string& text, size_t at, const std::string& find) {
  for (size_t i = 0; i < find.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[at + i])) !=
        std::tolower(static_cast<unsigned char>(find[i])))
      return false;
  return true;
}

std::string ReplaceAll(const std::string& text, const std::string& find, const std::string& with,
                       bool ignoreCase) {
  if (find.empty()) return text;
  std::string result;
  size_t at = 0;
  while (at < text.size()) {
    const bool found =
        text.size() - at >= find.size() && (ignoreCase ? MatchesIgnoringCase(text, at, find)
                                                       : text.compare(at, find.size(), find) == 0);
    if (found) {
      result += with;
      at += find.size();
    } else {
      result += text[at++];
    }
  }
  return result;
}

// "<" + two upper-case hexadecimal digits per byte + ">".
std::string HexString(const std::string& value) {
  return "<" + UpperHex(reinterpret_cast<const unsigned char*>(value.data()), value.size()) + ">";
}

}  // namespace

PPDXControl::PPDXControl()
    : mType(CNTL_NONE), mOrder(0), mPSData(nullptr), mPSLength(0), mConstraints(nullptr) {}

PPDXControl::PPDXControl(const char* keyword, CFStringRef displayName, PointerList& flags,
                         unsigned char* psData, long psLength, bool visible,
                         UIConstraints* constraints)
    : PPDXElement(keyword, displayName, visible),
      mType(CNTL_NONE),
      mOrder(0),
      mPSData(psData),
      mPSLength(psLength),
      mConstraints(constraints) {
  mFlags.Splice(flags);
}

PPDXControl::PPDXControl(Settings& settings, long index, UIConstraints* constraints,
                         DocumentStorage* storage)
    : PPDXElement(settings, index),
      mType(CNTL_NONE),
      mOrder(0),
      mPSData(nullptr),
      mPSLength(0),
      mConstraints(constraints) {
  if (storage != nullptr) mFlags.PlaceNodesIn(*storage);
  SettingsEntryReader reader(settings, index);
  reader.Number(kOrderKey, mOrder);
  reader.Bytes(kPostScriptKey, mPSData, mPSLength);
  std::unique_ptr<CString> words(reader.Text(kFlagsKey));
  if (words) AppendFlagWords(static_cast<const char*>(*words));
}

CString* PPDXControl::NewFlag(const char* word) {
  DocumentStorage* storage = mFlags.NodeStorage();
  return storage != nullptr ? storage->Make<CString>(word, *storage) : new CString(word);
}

void PPDXControl::AppendFlagWords(const std::string& words) {
  size_t start = 0;
  while (start < words.size()) {
    size_t end = words.find(kFlagSeparator, start);
    if (end == std::string::npos) end = words.size();
    if (end > start) mFlags.PushBack(NewFlag(words.substr(start, end - start).c_str()));
    start = end + 1;
  }
}

PPDXControl::~PPDXControl() {
  PointerListOf<CString>(mFlags).EndAll();
  std::free(mPSData);
}

long PPDXControl::PostScript(unsigned char* out) {
  if (out != nullptr && mPSLength >= 1) std::memcpy(out, mPSData, size_t(mPSLength));
  return mPSLength;
}

CFStringRef PPDXControl::CopyPresetValueString() { return CopyCurrentControlValueString(); }

void PPDXControl::SetPresetValueString(CFStringRef value) { SetCurrentControlWithCFString(value); }

bool PPDXControl::IsInstallableOption() { return false; }

bool PPDXControl::ValidKeyword(const char* keyword) {
  if (keyword == nullptr) return false;
  for (const char* reserved : kReservedKeywords)
    if (std::strcmp(keyword, reserved) == 0) return false;
  return true;
}

const char* PPDXControl::FirstControlFlag() {
  mFlagCursor = mFlags.Begin();
  return CurrentControlFlag();
}

const char* PPDXControl::NextControlFlag() {
  if (mFlagCursor == mFlags.End()) return nullptr;
  ++mFlagCursor;
  return CurrentControlFlag();
}

const char* PPDXControl::CurrentControlFlag() const {
  const CString* flag = PointerListOf<const CString>::At(mFlagCursor);
  return flag != nullptr ? static_cast<const char*>(*flag) : nullptr;
}

bool PPDXControl::FindControlFlag(const char* name) {
  if (name == nullptr) return false;
  for (const char* flag = FirstControlFlag(); flag != nullptr; flag = NextControlFlag())
    if (std::strcmp(flag, name) == 0) return true;
  return false;
}

short PPDXControl::Save(Settings& settings, long index) {
  short error = PPDXElement::Save(settings, index);
  if (error != noErr) return error;
  SettingsEntryWriter writer(settings, index);
  writer.Number<SInt16>(kOrderKey, mOrder);
  if (mPSData != nullptr && mPSLength > 0) writer.Bytes(kPostScriptKey, mPSData, mPSLength);
  if (!mFlags.Empty()) {
    std::string words;
    for (const CString* flag : PointerListOf<const CString>(mFlags))
      (words += *flag) += kFlagSeparator;
    writer.Text(kFlagsKey, words.c_str());
  }
  return writer.Error();
}

void PPDXControl::UpdateKVCache(const char* keyword, const char* value) {
  if (mConstraints != nullptr) mConstraints->UpdateKVCache(keyword, value);
}

long PPDXControl::GeneratePSOutputData(unsigned char* out, unsigned char* data, long length,
                                       const char* option, bool frame) {
  SnippetWriter snippet(out);
  if (frame) {
    snippet.Append("%%BeginFeature: ");
    snippet.Append(Keyword() != nullptr ? Keyword() : "");
    snippet.Append(" ");
    snippet.Append(option != nullptr ? option : "");
    snippet.Append("\n");
  }
  if (data != nullptr && length >= 1)
    snippet.Append(data, length);
  else
    snippet.Append("\n");
  if (frame) snippet.Append("%%EndFeature\n");
  return snippet.Size();
}

long PPDXControl::Inject(const char* name, const unsigned char* data, long length,
                         const char* value, unsigned char*& out) {
  out = nullptr;
  const std::string placeholder = std::string("<") + (name != nullptr ? name : "") + ">";
  const char* textBytes = reinterpret_cast<const char*>(data);
  const std::string text(
      textBytes != nullptr ? textBytes : "",
      textBytes != nullptr && length > 0 ? strnlen(textBytes, size_t(length)) : 0);
  const bool comment = text.compare(0, 2, "%%") == 0;
  const std::string plain = value != nullptr ? value : "";
  const bool hex = !plain.empty() && mType == CNTL_JOBNOTE && !comment;
  std::string replacement = hex ? HexString(plain) : plain;
  // Outside a DSC comment the value lands in PostScript, where a backslash escapes.
  if (!comment) replacement = ReplaceAll(replacement, "\\", "\\\\", false);
  std::string result = ReplaceAll(text, placeholder, replacement, true);
  // A string literal written around the placeholder becomes the hexadecimal string.
  if (hex) result = ReplaceAll(result, "(" + replacement + ")", replacement, false);

  auto* buffer = static_cast<unsigned char*>(std::malloc(result.size() + 1));
  if (buffer == nullptr) return 0;
  std::memcpy(buffer, result.c_str(), result.size() + 1);
  out = buffer;
  return long(result.size());
}
