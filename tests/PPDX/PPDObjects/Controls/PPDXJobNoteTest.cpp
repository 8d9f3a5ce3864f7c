#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNoteAPI.h"
#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/MacMemory.h"
#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"
#include "security/ZPCFSecurity.h"
#include "support/ControlTestSupport.h"
#include "support/PlatformString.h"

namespace {

struct NoteOptions {
  const char* psTemplate = nullptr;
  const char* notes = nullptr;
  UInt32 flags = 0;
  const char* language = "ISOLatin1";
  long maxLength = 64;
};

std::unique_ptr<PPDXJobNote> MakeNote(const char* keyword, const NoteOptions& options) {
  PointerList controlFlags;
  const char* code = options.psTemplate;
  CString language(options.language);
  return std::make_unique<PPDXJobNote>(
      keyword, CFSTR("Note"), controlFlags, Code(code), code ? strlen(code) : 0,
      options.notes ? new CString(options.notes) : nullptr, &language, true, options.maxLength,
      JobNoteFlag(options.flags), 2);
}

std::string Framed(const char* keyword, const std::string& option, const std::string& body) {
  return std::string("%%BeginFeature: ") + keyword + " " + option + "\n" + body + "%%EndFeature\n";
}

TEST(PPDXJobNoteTest, FlagQueriesReadTheirOwnBit) {
  const std::vector<std::pair<UInt32, bool (JobNoteFlag::*)() const>> queries = {
      {0x1, &JobNoteFlag::IsAlpha},          {0x2, &JobNoteFlag::IsNumeric},
      {0x4, &JobNoteFlag::IsDecimal},        {0x8, &JobNoteFlag::IsRequired},
      {0x10, &JobNoteFlag::Remember},        {0x20, &JobNoteFlag::IsPassword},
      {0x40, &JobNoteFlag::AlwaysDisplay},   {0x80, &JobNoteFlag::Resume},
      {0x100, &JobNoteFlag::IsMember},       {0x200, &JobNoteFlag::IsOnOffSwitch},
      {0x400, &JobNoteFlag::IsLengthReq},    {0x800, &JobNoteFlag::IsSecPrint},
      {0x2000, &JobNoteFlag::IsSpace},       {0x4000, &JobNoteFlag::IsNegative},
      {0x8000, &JobNoteFlag::IsEncrypt},     {0x10000, &JobNoteFlag::IsMultiSpace},
      {0x20000, &JobNoteFlag::IsMultiComma}, {0x40000, &JobNoteFlag::IsLCD},
      {0x80000, &JobNoteFlag::IsHyphen},     {0x100000, &JobNoteFlag::IsTwoCharFields},
      {0x200000, &JobNoteFlag::IsNoComma}};
  for (const auto& [bit, query] : queries) {
    EXPECT_TRUE((JobNoteFlag(bit).*query)()) << std::hex << bit;
    EXPECT_FALSE((JobNoteFlag(~bit).*query)()) << std::hex << bit;
    EXPECT_EQ(JobNoteFlag(bit).IsAnyText(), (bit & 0x36007) == 0) << std::hex << bit;
  }
  EXPECT_TRUE(JobNoteFlag(0x1000 | 0x400000).IsAnyText());
}

TEST(PPDXJobNoteTest, MailboxListIsCompressedInBeginLineAndTemplate) {
  auto hex = MakeNote("*ZPMailboxNum", {"(<*ZPMailboxNum>) setmailbox\n", "1,2,3,10"});
  EXPECT_EQ(Emitted(*hex), Framed("*ZPMailboxNum", "1-3,10", "<312D332C3130> setmailbox\n"));
  EXPECT_STREQ(hex->GetNotes(), "1,2,3,10");  // only the output is compressed
  auto comment = MakeNote("*ZPMailboxNum", {"%%Mailbox: <*zpmailboxnum>\n", "1,2,3,10"});
  EXPECT_EQ(Emitted(*comment), Framed("*ZPMailboxNum", "1-3,10", "%%Mailbox: 1-3,10\n"));
  auto other = MakeNote("*ZPAccount", {"%%Account: <*ZPAccount>\n", "1,2,3"});
  EXPECT_EQ(Emitted(*other), Framed("*ZPAccount", "1,2,3", "%%Account: 1,2,3\n"));
}

TEST(PPDXJobNoteTest, TemplateTakesTheTextAsHexadecimalString) {
  auto note = MakeNote("*ZPNote", {"/Note (<*ZPNote>) def\n", "AB"});
  EXPECT_EQ(Emitted(*note), Framed("*ZPNote", "AB", "/Note <4142> def\n"));
  // The cache follows the text.
  note->SetNotes("a\\");
  EXPECT_EQ(Emitted(*note), Framed("*ZPNote", "a\\", "/Note <615C> def\n"));
  note->SetNotes(nullptr);
  EXPECT_EQ(note->PostScript(nullptr), 0);
  EXPECT_EQ(MakeNote("*ZPNote", {nullptr, nullptr, 0x100})->PostScript(nullptr), 0);
}

TEST(PPDXJobNoteTest, WithoutTemplateTheFlagsAndKeywordChooseTheLine) {
  auto member = MakeNote("*ZPDept", {nullptr, "1234", 0x100});
  EXPECT_EQ(Emitted(*member), Framed("*ZPDept", "1234", "%%DeptPassword: 1234\n"));
  auto resume = MakeNote("*Notes1", {nullptr, "pw", 0x80 | 0x100});
  EXPECT_EQ(Emitted(*resume), Framed("*Notes1", "pw", "%%PersPassword: pw\n"));
  auto notes2 = MakeNote("*Notes2", {nullptr, "hello", 0x20});
  EXPECT_EQ(Emitted(*notes2), Framed("*Notes2", "hello", "%%ZPXCustom2: hello\n"));
  auto instructions = MakeNote("*Instruct", {nullptr, "staple"});
  EXPECT_EQ(Emitted(*instructions), Framed("*Instruct", "staple", "%%ZPXCustom3: staple\n"));
  auto other = MakeNote("*Notes3", {nullptr, "hello"});
  EXPECT_EQ(Emitted(*other), Framed("*Notes3", "hello", "%%EmptyOption\n"));
}

TEST(PPDXJobNoteTest, LongTextIsInjectedCutButNamedWhole) {
  const std::string text(600, 'x');
  auto note = MakeNote("*Notes1", {"%%Note: <*Notes1>\n", text.c_str(), 0, "ISOLatin1", 1024});
  EXPECT_EQ(Emitted(*note), Framed("*Notes1", text, "%%Note: " + text.substr(0, 511) + "\n"));
  // A cut never splits a character: the 511th byte begins a two-byte one here.
  const std::string accented = std::string(510, 'x') + "\xC3\xA9" + "yy";
  note->SetNotes(accented.c_str());
  EXPECT_EQ(Emitted(*note),
            Framed("*Notes1", accented, "%%Note: " + accented.substr(0, 510) + "\n"));
}

TEST(PPDXJobNoteTest, DefaultSurvivesChangesAndComesBack) {
  auto note = MakeNote("*Notes1", {nullptr, "default"});
  note->SetNotes("changed");
  EXPECT_STREQ(note->GetDefaultNotes(), "default");
  EXPECT_EQ(TakeText(note->CopyNotes()), "changed");
  ResetControlToDefault(note.get());
  EXPECT_STREQ(note->GetNotes(), "default");
  auto bare = MakeNote("*Notes2", {});
  EXPECT_EQ(TakeText(bare->CopyCurrentControlValueString()), "");
  bare->ResetToDefaultValue();
  EXPECT_STREQ(bare->GetNotes(), "");
  EXPECT_EQ(bare->GetDefaultNotes(), nullptr);
}

TEST(PPDXJobNoteTest, PresetIsEncryptedAndRestoresOnAnotherNote) {
  auto first = MakeNote("*Notes1", {nullptr, "Caf\xC3\xA9 42"});
  auto second = MakeNote("*Notes1", {nullptr, "other"});
  CFStringRef preset = first->CopyPresetValueString();
  ASSERT_NE(preset, nullptr);
  EXPECT_EQ(CFStringFind(preset, CFSTR("42"), 0).location, kCFNotFound);
  second->SetPresetValueString(preset);
  CFRelease(preset);
  EXPECT_STREQ(second->GetNotes(), "Caf\xC3\xA9 42");
  // A PPD default in the PPD's own encoding is not lost on the way.
  auto latin = MakeNote("*Notes2", {nullptr, "B\xFCro"});
  preset = latin->CopyPresetValueString();
  second->SetPresetValueString(preset);
  CFRelease(preset);
  EXPECT_STREQ(second->GetNotes(), "B\xC3\xBCro");
}

TEST(PPDXJobNoteTest, NotesShareOneConverterWhileAnyExists) {
  ASSERT_EQ(PPDXJobNote::SharedConverterUsers(), 0);
  auto first = MakeNote("*Notes1", {nullptr, nullptr, 0, "ISOLatin2"});
  TextConverter* shared = PPDXJobNote::SharedConverter();
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->GetOutputEncoding(), TextConverter::LanguageStringToEncoding("ISOLatin2"));
  auto second = MakeNote("*Notes2", {nullptr, nullptr, 0, "ISOLatin1"});
  EXPECT_EQ(PPDXJobNote::SharedConverterUsers(), 2);
  first.reset();
  EXPECT_EQ(PPDXJobNote::SharedConverter(), shared);
  second.reset();
  EXPECT_EQ(PPDXJobNote::SharedConverterUsers(), 0);
  EXPECT_EQ(PPDXJobNote::SharedConverter(), nullptr);
}

TEST(PPDXJobNoteTest, RebuildFromFlattenedStoreKeepsEveryField) {
  auto note = MakeNote("*ZPMailboxNum", {"(<*ZPMailboxNum>) setmailbox\n", "4,5", 0x28022});
  note->SetNotes("7,8,9");
  note->SetNotesOnValue(true);
  Settings settings;
  ASSERT_EQ(0, note->Save(settings, 5003));
  char** flattened = nullptr;
  ASSERT_EQ(0, settings.GetSettingsHandle(&flattened));
  Settings copy(flattened);
  DisposeHandle(flattened);
  CString language("ISOLatin1");
  PPDXJobNote rebuilt(copy, 5003, &language);
  EXPECT_STREQ(GetJobNoteNotes(&rebuilt), "7,8,9");
  EXPECT_STREQ(GetJobNoteDefaultNotes(&rebuilt), "4,5");
  EXPECT_EQ(GetJobNoteMaxLength(&rebuilt), 64);
  EXPECT_EQ(GetJobNoteMinLength(&rebuilt), 2);
  EXPECT_EQ(GetJobNoteFlags(&rebuilt), 0x28022u);
  EXPECT_TRUE(GetJobNoteNotesOnValue(&rebuilt));
  EXPECT_EQ(Emitted(rebuilt), Emitted(*note));

  // An empty text is text: it still frames a snippet after the round trip.
  note->SetNotes("");
  Settings emptied;
  ASSERT_EQ(0, note->Save(emptied, 5003));
  PPDXJobNote rebuiltEmpty(emptied, 5003, &language);
  EXPECT_STREQ(rebuiltEmpty.GetNotes(), "");
  EXPECT_EQ(Emitted(rebuiltEmpty), Emitted(*note));
  // Restore takes only the text, and a missing one means none.
  EXPECT_EQ(0, rebuilt.Restore(emptied, 5004));
  EXPECT_EQ(rebuilt.GetNotes(), nullptr);
  EXPECT_EQ(rebuilt.PostScript(nullptr), 0);
}

// A line end in the text would close the feature frame and start PostScript
// of the user's own: no text with a control character gets in, from anywhere.
TEST(PPDXJobNoteTest, ControlCharactersAreRefusedWhereverTheTextComesFrom) {
  auto plain = MakeNote("*ZPNote", {nullptr, "none"});
  EXPECT_FALSE(plain->SetNotes("hi\n%%EndFeature\nerasepage showpage"));
  EXPECT_FALSE(plain->SetNotes("tab\there") || plain->SetNotes("del\x7F") ||
               plain->SetNotes("a\rb"));
  plain->SetCurrentControlWithCFString(CFSTR("x\ny"));
  CFRef<CFStringRef> preset(
      ZPCFCreateEncryptedString(CFSTR("x\ny"), CFSTR("7A3E1C90-5B2D-4F68-9E07-C1D24B8A6F35")));
  plain->SetPresetValueString(preset.get());
  EXPECT_STREQ(plain->GetNotes(), "none");
  EXPECT_EQ(Emitted(*plain), Framed("*ZPNote", "none", "%%EmptyOption\n"));

  auto refused = MakeNote("*ZPNote", {nullptr, "a\x1B[2J"});
  EXPECT_EQ(refused->GetNotes(), nullptr);
  EXPECT_EQ(refused->GetDefaultNotes(), nullptr);

  // A restored text with one gives way to the default.
  Settings settings;
  ASSERT_EQ(0, plain->Save(settings, 5001));
  const char injected[] = "1\n%%EndFeature\nerasepage";
  ASSERT_EQ(0, settings.Remove(FourCC("jNtT"), 5001));
  ASSERT_EQ(0, settings.Add(FourCC("jNtT"), 5001, injected, long(sizeof injected - 1)));
  CString language("ISOLatin1");
  PPDXJobNote rebuilt(settings, 5001, &language);
  EXPECT_STREQ(rebuilt.GetNotes(), "none");
  EXPECT_TRUE(rebuilt.SetNotes("4"));
  EXPECT_EQ(0, rebuilt.Restore(settings, 5001));
  EXPECT_STREQ(rebuilt.GetNotes(), "none");
  // So does a default of the blob: with both refused the note has no text.
  ASSERT_EQ(0, settings.Remove(FourCC("jNDT"), 5001));
  ASSERT_EQ(0, settings.Add(FourCC("jNDT"), 5001, "x\x1B", 2));
  PPDXJobNote noDefault(settings, 5001, &language);
  EXPECT_EQ(noDefault.GetDefaultNotes(), nullptr);
  EXPECT_EQ(noDefault.GetNotes(), nullptr);
  EXPECT_EQ(noDefault.PostScript(nullptr), 0);
}

// The flags and lengths describe the field; the note stores what it is given.
TEST(PPDXJobNoteTest, FlagsAndLengthsDoNotBindTheStoredText) {
  auto room = MakeNote("*N1", {nullptr, "Room 12", JobNoteFlag::kNumeric, "ISOLatin1", 4});
  EXPECT_STREQ(room->GetDefaultNotes(), "Room 12");
  EXPECT_EQ(Emitted(*room), Framed("*N1", "Room 12", "%%EmptyOption\n"));
  EXPECT_TRUE(room->SetNotes("12a, 1.5 and more"));
  EXPECT_STREQ(room->GetNotes(), "12a, 1.5 and more");

  Settings settings;
  ASSERT_EQ(0, room->Save(settings, 5001));
  CString language("ISOLatin1");
  PPDXJobNote rebuilt(settings, 5001, &language);
  EXPECT_STREQ(rebuilt.GetNotes(), "12a, 1.5 and more");
  EXPECT_STREQ(rebuilt.GetDefaultNotes(), "Room 12");
  CFRef<CFStringRef> preset(room->CopyPresetValueString());
  room->ResetToDefaultValue();
  room->SetPresetValueString(preset.get());
  EXPECT_STREQ(room->GetNotes(), "12a, 1.5 and more");
}

TEST(PPDXJobNoteTest, TheRuleJudgesWhatAPersonGives) {
  using Rule = JobNoteTextRule;
  const Rule plain(JobNoteFlag(0), 0, 64);
  EXPECT_EQ(plain.Judge("a\nb"), Rule::kControlCharacter);
  EXPECT_EQ(plain.Judge("Caf\xC3\xA9, 42 (rush)"), Rule::kAccepted);
  EXPECT_EQ(plain.Judge(std::string(65, 'x').c_str()), Rule::kTooLong);
  EXPECT_EQ(plain.Judge(std::string(64, 'x').c_str()), Rule::kAccepted);

  const Rule mailbox(
      JobNoteFlag(JobNoteFlag::kNumeric | JobNoteFlag::kMultiComma | JobNoteFlag::kHyphen), 0, 32);
  EXPECT_TRUE(mailbox.Accepts("1-3,10"));
  for (const char* text : {"12a", "1 2", "1.5"})
    EXPECT_EQ(mailbox.Judge(text), Rule::kCharacterNotTaken) << text;

  const Rule name(JobNoteFlag(JobNoteFlag::kAlpha | JobNoteFlag::kSpace | JobNoteFlag::kNoComma |
                              JobNoteFlag::kMinLength),
                  2, 31);
  EXPECT_TRUE(name.Accepts("Jos\xC3\xA9 Ruiz") && name.Accepts(""));
  EXPECT_EQ(name.Judge("R2D2"), Rule::kCharacterNotTaken);
  EXPECT_EQ(name.Judge("Ruiz,Jose"), Rule::kCharacterNotTaken);
  EXPECT_EQ(name.Judge("J"), Rule::kTooShort);
  const Rule amount(JobNoteFlag(JobNoteFlag::kDecimal | JobNoteFlag::kNegative), 0, 12);
  EXPECT_TRUE(amount.Accepts("-0.5"));
  EXPECT_EQ(amount.Judge("1e5"), Rule::kCharacterNotTaken);
}

// One phrase per refusal, from the flags and lengths alone, so that every
// place that checks a value words it alike and none repeats a secret.
TEST(PPDXJobNoteTest, ARefusalNamesTheOptionAndTheRuleButNeverTheText) {
  NoteOptions pin;
  pin.flags = JobNoteFlag::kNumeric | JobNoteFlag::kPassword | JobNoteFlag::kMinLength;
  pin.maxLength = 8;
  auto secure = MakeNote("*ZPSecurePIN", pin);  // MakeNote gives a minimum of 2
  EXPECT_EQ(secure->Refusal("123456789"), "*ZPSecurePIN needs 2 to 8 digits");
  EXPECT_EQ(secure->Refusal("1"), "*ZPSecurePIN needs 2 to 8 digits");
  EXPECT_EQ(secure->Refusal("12a4"), "*ZPSecurePIN takes digits only");
  EXPECT_EQ(secure->Refusal("12\n4"), "*ZPSecurePIN takes no control characters");
  EXPECT_EQ(secure->Refusal("1234"), "");

  auto mailbox =
      MakeNote("*ZPMailboxName", {nullptr, nullptr, JobNoteFlag::kAlpha | JobNoteFlag::kNumeric});
  EXPECT_EQ(mailbox->Refusal("/out/job.ps"), "*ZPMailboxName takes letters and digits only");
  auto note = MakeNote("*N1", {nullptr, nullptr, JobNoteFlag::kNoComma, "ISOLatin1", 32});
  EXPECT_EQ(note->Refusal(std::string(33, '7').c_str()), "*N1 takes at most 32 characters");
  EXPECT_EQ(note->Refusal("a,b"), "*N1 takes no commas");

  using Rule = JobNoteTextRule;
  const Rule cost(JobNoteFlag(JobNoteFlag::kDecimal | JobNoteFlag::kNegative | JobNoteFlag::kSpace |
                              JobNoteFlag::kMultiComma | JobNoteFlag::kMinLength),
                  1, 0);
  EXPECT_EQ(cost.Explain(Rule::kCharacterNotTaken),
            "takes digits, decimal points, spaces, hyphens and commas only");
  const Rule one(JobNoteFlag(JobNoteFlag::kAlpha | JobNoteFlag::kNumeric | JobNoteFlag::kMinLength),
                 1, 1);
  EXPECT_EQ(one.Explain(Rule::kTooLong), "needs 1 letter or digit");
  const Rule atLeast(JobNoteFlag(JobNoteFlag::kMinLength), 5, 0);
  EXPECT_EQ(atLeast.Explain(Rule::kTooShort), "needs at least 5 characters");
}

// The job's output puts a note's ciphertext into its code although no flags
// of the note describe it; the note keeps its own text and code.
TEST(PPDXJobNoteTest, EncryptedTextStandsInForTheTextOnlyInTheSnippet) {
  NoteOptions options;
  options.psTemplate = "(<*ZPPin>) /Pin exch def\n";
  options.notes = "4711";
  options.flags = JobNoteFlag::kNumeric | JobNoteFlag::kEncrypt;
  options.maxLength = 8;
  std::unique_ptr<PPDXJobNote> note = MakeNote("*ZPPin", options);
  const std::string plain = Emitted(*note);
  EXPECT_FALSE(note->TextRule().Accepts("0A1B2C3D4E5F"));  // no flags describe ciphertext

  std::vector<unsigned char> out(
      size_t(note->PostScriptWithEncryptedText("0A1B2C3D4E5F", nullptr)));
  ASSERT_EQ(long(out.size()), note->PostScriptWithEncryptedText("0A1B2C3D4E5F", out.data()));
  EXPECT_EQ(std::string(out.begin(), out.end()),
            Framed("*ZPPin", "0A1B2C3D4E5F", "<304131423243334434453546> /Pin exch def\n"));
  EXPECT_STREQ(note->GetNotes(), "4711");
  EXPECT_EQ(Emitted(*note), plain);

  for (const char* notCiphertext : {"0a1b", "12 34", "AB\n", "G0"})
    EXPECT_EQ(note->PostScriptWithEncryptedText(notCiphertext, nullptr), 0) << notCiphertext;
  EXPECT_EQ(note->PostScriptWithEncryptedText(nullptr, nullptr), 0);
}

TEST(PPDXJobNoteTest, FlatFunctionsTakeNull) {
  SetJobNoteNotes(nullptr, "x");
  EXPECT_EQ(GetJobNoteNotes(nullptr), nullptr);
  EXPECT_EQ(CopyJobNoteNotes(nullptr), nullptr);
  EXPECT_FALSE(IsJobNoteAnyText(nullptr) || GetJobNoteFlags(nullptr));
}

}  // namespace
