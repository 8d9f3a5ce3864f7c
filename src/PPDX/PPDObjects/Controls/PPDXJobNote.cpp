#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "PPDX/PPDObjects/Controls/CommaSeparatedInts.h"
#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/MacErrors.h"
#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "security/ZPCFSecurity.h"

namespace {

constexpr unsigned long kNotesKey = FourCC("jNtT");
constexpr unsigned long kDefaultNotesKey = FourCC("jNDT");
constexpr unsigned long kMaxLengthKey = FourCC("jMxL");
constexpr unsigned long kMinLengthKey = FourCC("jMnL");
constexpr unsigned long kFlagsKey = FourCC("jNtF");
constexpr unsigned long kNotesOnKey = FourCC("jNOn");

// Every note's preset string is encrypted under this one password.
CFStringRef PresetPassword() { return CFSTR("7A3E1C90-5B2D-4F68-9E07-C1D24B8A6F35"); }

constexpr const char* kMailboxKeyword = "*ZPMailboxNum";
// The controller takes at most this many bytes of a note's text in its code.
constexpr size_t kMaxInjectedLength = 511;

struct CommentForKeyword {
  const char* keyword;
  const char* prefix;
};

// "*Instruct" is the keyword under which the job-note comments know the
// instructions; the shorter form is kept for PPDs that use it.
constexpr CommentForKeyword kCommentsForKeywords[] = {
    {"*Notes1", "%%ZPXCustom1: "},
    {"*Notes2", "%%ZPXCustom2: "},
    {"*Instruc", "%%ZPXCustom3: "},
    {"*Instruct", "%%ZPXCustom3: "},
};

const char* CommentPrefix(const JobNoteFlag& flags, const char* keyword) {
  if (flags.Resume()) return "%%PersPassword: ";
  if (flags.IsMember()) return "%%DeptPassword: ";
  if (keyword == nullptr) return nullptr;
  for (const CommentForKeyword& row : kCommentsForKeywords)
    if (std::strcmp(keyword, row.keyword) == 0) return row.prefix;
  return nullptr;
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0xC0; }

// The first kMaxInjectedLength bytes of the text, moved back to the start of a
// character of the system encoding (UTF-8) when the cut would split one. Bytes that
// do not form UTF-8 (a PPD default in its own encoding) are cut where they are.
std::string ValueText(const std::string& text) {
  if (text.size() <= kMaxInjectedLength) return text;
  size_t start = kMaxInjectedLength;
  while (start > kMaxInjectedLength - 3 && IsContinuationByte(text[start])) --start;
  const bool splitsCharacter =
      IsContinuationByte(text[kMaxInjectedLength]) && IsLeadByte(text[start]);
  return text.substr(0, splitsCharacter ? start : kMaxInjectedLength);
}

unsigned char* CopyBytes(const std::string& bytes) {
  auto* copy = static_cast<unsigned char*>(std::malloc(bytes.size()));
  if (copy != nullptr) std::memcpy(copy, bytes.data(), bytes.size());
  return copy;
}

// Text written by this note (an empty text included, which is text all the same).
CString* ReadNoteText(SettingsEntryReader& reader, unsigned long key) {
  long size = 0;
  if (reader.Size(key, size) != noErr) return nullptr;
  return size == 0 ? new CString("") : reader.Text(key);
}

CString* CopyOf(const CString* text) { return text != nullptr ? new CString(*text) : nullptr; }

}  // namespace

TextConverter* PPDXJobNote::sConverter = nullptr;
long PPDXJobNote::sConverterUsers = 0;

PPDXJobNote::PPDXJobNote() {
  SetType(CNTL_JOBNOTE);
  AcquireConverter(nullptr);
}

PPDXJobNote::PPDXJobNote(const char* keyword, CFStringRef displayName, PointerList& flags,
                         unsigned char* psTemplate, long templateLength, CString* notes,
                         CString* language, bool visible, long maxLength,
                         const JobNoteFlag& noteFlags, long minLength)
    : PPDXControl(keyword, displayName, flags, psTemplate, templateLength, visible, nullptr),
      mNotes(notes),
      mMaxLength(maxLength),
      mMinLength(minLength),
      mNoteFlags(noteFlags),
      mDefaultNotes(CopyOf(notes)) {
  SetType(CNTL_JOBNOTE);
  AcquireConverter(language);
  // A default with a control character is no default.
  if (!JobNoteTextRule::IsSafe(GetNotes())) {
    mNotes.reset();
    mDefaultNotes.reset();
  }
}

PPDXJobNote::PPDXJobNote(Settings& settings, long index, CString* language,
                         DocumentStorage* storage)
    : PPDXControl(settings, index, nullptr, storage) {
  SetType(CNTL_JOBNOTE);
  AcquireConverter(language);
  SettingsEntryReader reader(settings, index);
  SInt32 number = 0;
  if (reader.Number(kMaxLengthKey, number)) mMaxLength = number;
  if (reader.Number(kMinLengthKey, number)) mMinLength = number;
  UInt32 bits = 0;
  if (reader.Number(kFlagsKey, bits)) mNoteFlags = JobNoteFlag(bits);
  if (reader.Number(kNotesOnKey, number)) mNotesOn = number != 0;
  mDefaultNotes.reset(SafeText(ReadNoteText(reader, kDefaultNotesKey)));
  RestoreNotes(reader);
}

PPDXJobNote::~PPDXJobNote() {
  ClearCache();
  ReleaseConverter();
}

void PPDXJobNote::AcquireConverter(const CString* language) {
  if (sConverterUsers++ > 0) return;
  unsigned long systemEncoding = TextConverter::GetCurrentEncoding();
  const char* name = language != nullptr ? static_cast<const char*>(*language) : nullptr;
  sConverter = new TextConverter(systemEncoding, TextConverter::LanguageStringToEncoding(name));
}

void PPDXJobNote::ReleaseConverter() {
  if (--sConverterUsers > 0) return;
  delete sConverter;
  sConverter = nullptr;
}

const char* PPDXJobNote::GetNotes() const {
  return mNotes ? static_cast<const char*>(*mNotes) : nullptr;
}

const char* PPDXJobNote::GetDefaultNotes() const {
  return mDefaultNotes ? static_cast<const char*>(*mDefaultNotes) : nullptr;
}

bool PPDXJobNote::SetNotes(const char* text) {
  if (!JobNoteTextRule::IsSafe(text)) return false;
  ClearCache();
  if (mNotes)
    *mNotes = text;
  else
    mNotes.reset(new CString(text));
  return true;
}

JobNoteTextRule PPDXJobNote::TextRule() const {
  return JobNoteTextRule(mNoteFlags, mMinLength, mMaxLength);
}

std::string PPDXJobNote::Refusal(const char* text) const {
  const JobNoteTextRule rule = TextRule();
  const JobNoteTextRule::Verdict verdict = rule.Judge(text);
  if (verdict == JobNoteTextRule::kAccepted) return "";
  return std::string(Keyword() != nullptr ? Keyword() : "the note") + " " + rule.Explain(verdict);
}

CString* PPDXJobNote::SafeText(CString* text) {
  if (text == nullptr || JobNoteTextRule::IsSafe(*text)) return text;
  delete text;
  return nullptr;
}

// A blob may come from anywhere: a text with a control character gives way to
// the default.
void PPDXJobNote::RestoreNotes(SettingsEntryReader& reader) {
  long size = 0;
  const bool saved = reader.Size(kNotesKey, size) == noErr;
  CString* text = SafeText(ReadNoteText(reader, kNotesKey));
  mNotes.reset(text != nullptr || !saved ? text : CopyOf(mDefaultNotes.get()));
  ClearCache();
}

void PPDXJobNote::ResetToDefaultValue() {
  const char* defaultNotes = GetDefaultNotes();
  SetNotes(defaultNotes != nullptr ? defaultNotes : "");
}

void PPDXJobNote::SetCurrentControlWithCFString(CFStringRef value) {
  const CString text(value);
  SetNotes(text);
}

CFStringRef PPDXJobNote::CopyNotes() const {
  const char* text = GetNotes();
  if (text == nullptr)
    return CFStringCreateWithCString(kCFAllocatorDefault, "", kCFStringEncodingUTF8);
  CFStringRef notes =
      CFStringCreateWithCString(kCFAllocatorDefault, text, CFStringGetSystemEncoding());
  if (notes != nullptr) return notes;
  // A PPD default arrives in the PPD's encoding, which need not be valid in the
  // system's; it must not come back empty. Mac OS Roman takes every byte.
  const unsigned long ppdEncoding =
      sConverter != nullptr ? sConverter->GetOutputEncoding() : TextConverter::kUnknownEncoding;
  if (ppdEncoding != TextConverter::kUnknownEncoding)
    notes = CFStringCreateWithCString(kCFAllocatorDefault, text, CFStringEncoding(ppdEncoding));
  return notes != nullptr
             ? notes
             : CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingMacRoman);
}

CFStringRef PPDXJobNote::CopyCurrentControlValueString() { return CopyNotes(); }

CFStringRef PPDXJobNote::CopyPresetValueString() {
  CFRef<CFStringRef> plain(CopyCurrentControlValueString());
  return ZPCFCreateEncryptedString(plain.get(), PresetPassword());
}

void PPDXJobNote::SetPresetValueString(CFStringRef value) {
  CFRef<CFStringRef> plain(ZPCFCreateDecryptedString(value, PresetPassword()));
  SetCurrentControlWithCFString(plain.get());
}

long PPDXJobNote::PostScript(unsigned char* out) {
  const char* text = GetNotes();
  if (text == nullptr || Keyword() == nullptr) return 0;
  std::string workingCopy(text);
  if (std::strcmp(Keyword(), kMailboxKeyword) == 0) {
    CompressCommaSeparatedListOfInts(&workingCopy[0]);
    workingCopy.resize(std::strlen(workingCopy.c_str()));
  }
  if (mCache == nullptr) BuildCache(ValueText(workingCopy).c_str());
  return GeneratePSOutputData(out, mCache, mCacheLength, workingCopy.c_str(), true);
}

long PPDXJobNote::PostScriptWithEncryptedText(const char* hexText, unsigned char* out) {
  if (hexText == nullptr || hexText[std::strspn(hexText, "0123456789ABCDEF")] != '\0') return 0;
  std::unique_ptr<CString> own = std::move(mNotes);
  mNotes.reset(new CString(hexText));
  ClearCache();
  const long length = PostScript(out);
  mNotes = std::move(own);
  ClearCache();
  return length;
}

void PPDXJobNote::BuildCache(const char* valueText) {
  mCacheLength = 0;
  const long templateLength = PPDXControl::PostScript(nullptr);
  if (templateLength < 1) {
    BuildPDLString(valueText);
    return;
  }
  std::unique_ptr<unsigned char[]> psTemplate(
      new (std::nothrow) unsigned char[size_t(templateLength)]);
  if (!psTemplate) return;
  PPDXControl::PostScript(psTemplate.get());
  unsigned char* injected = nullptr;
  const long length = Inject(Keyword(), psTemplate.get(), templateLength, valueText, injected);
  AdoptCache(injected, length);
}

void PPDXJobNote::BuildPDLString(const char* text) {
  ClearCache();
  const char* prefix = CommentPrefix(mNoteFlags, Keyword());
  const std::string line = prefix != nullptr
                               ? std::string(prefix) + (text != nullptr ? text : "") + "\n"
                               : std::string("%%EmptyOption\n");
  AdoptCache(CopyBytes(line), long(line.size()));
}

void PPDXJobNote::AdoptCache(unsigned char* bytes, long length) {
  ClearCache();
  if (bytes == nullptr || length < 1) {
    std::free(bytes);
    return;
  }
  mCache = bytes;
  mCacheLength = length;
}

void PPDXJobNote::ClearCache() {
  std::free(mCache);
  mCache = nullptr;
  mCacheLength = 0;
}

short PPDXJobNote::Restore(Settings& settings, long index) {
  SettingsEntryReader reader(settings, index);
  RestoreNotes(reader);
  return noErr;
}

short PPDXJobNote::Save(Settings& settings, long index) {
  short error = PPDXControl::Save(settings, index);
  if (error != noErr) return error;
  SettingsEntryWriter writer(settings, index);
  writer.Bytes(kMarker, "J", 1)
      .Text(kNotesKey, GetNotes())
      .Text(kDefaultNotesKey, GetDefaultNotes())
      .Number<SInt32>(kMaxLengthKey, SInt32(mMaxLength))
      .Number<SInt32>(kMinLengthKey, SInt32(mMinLength))
      .Number<UInt32>(kFlagsKey, mNoteFlags.Value())
      .Number<SInt32>(kNotesOnKey, mNotesOn ? 1 : 0);
  return writer.Error();
}
