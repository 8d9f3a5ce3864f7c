// What the job's notes put into the job ticket: layout comments, comment
// lines, feature codes with encrypted text, the user-authentication record.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXUserAuthLib.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "foundation/CString.h"
#include "foundation/HexText.h"
#include "output/PrintSettingsTicket.h"
#include "output/ZPXJobTicket.h"
#include "plugin/SessionFunctions.h"
#include "security/ControllerKeys.h"
#include "security/JobNoteGlobalsTest.h"
#include "security/ReferenceCiphers.h"
#include "security/ZPXJobNoteList.h"
#include "support/ControlTestSupport.h"
#include "support/JobTicketBlocks.h"
#include "support/ParsedDocument.h"

namespace {

// A print session with its tickets and the job ticket the output adds to.
class PrintJob {
 public:
  PrintJob() {
    PMCreateSession(&mSession);
    mSettings.reset(new PrintSettingsTicket(mSession));
    mJobTicket.reset(new ZPXJobTicket(mSettings.get(), CFSTR("ZPX.PSData.test")));
  }
  ~PrintJob() {
    mJobTicket.reset();
    mSettings.reset();
    PMRelease(mSession);
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  void SetNumber(CFStringRef ticketName, CFStringRef key, SInt32 value) {
    PMTicketRef ticket = nullptr;
    ASSERT_EQ(noErr, MyGetTicket(mSession, ticketName, ticket));
    ASSERT_EQ(noErr, PMTicketSetSInt32(ticket, CFSTR("test"), key, value, false));
  }
  void SetLayout(SInt32 orientation, std::optional<SInt32> rows, std::optional<SInt32> columns) {
    SetNumber(kPDE_PMPageFormatRef, kPMOrientationKey, orientation);
    if (rows) SetNumber(kPDE_PMPrintSettingsRef, kPMLayoutRowsKey, *rows);
    if (columns) SetNumber(kPDE_PMPrintSettingsRef, kPMLayoutColumnsKey, *columns);
  }

  OSStatus Run(ZPXJobNoteList& list) { return list.outInjectionData(mJobTicket.get(), mSession); }

  std::vector<JobBlock> Blocks() const { return JobTicketBlocks(*mJobTicket); }
  std::vector<std::string> At(SInt32 site) const { return BlocksAt(Blocks(), site); }
  // The feature code of the keyword, "" when there is none.
  std::string FeatureCode(const std::string& keyword) const {
    for (const std::string& code : At(kPSInjectionSiteFeatureCode))
      if (code.rfind("%%BeginFeature: " + keyword + " ", 0) == 0) return code;
    return "";
  }
  bool Mentions(const std::string& text) const { return BlocksMention(Blocks(), text); }

  PMPrintSession Session() const { return mSession; }

 private:
  PMPrintSession mSession = nullptr;
  std::unique_ptr<PrintSettingsTicket> mSettings;
  std::unique_ptr<ZPXJobTicket> mJobTicket;
};

class ZPXJobNoteListOutputTest : public JobNoteGlobalsTest {};

const std::string kHead =
    "*PPD-Adobe: \"4.3\"\n"
    "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
    "*%ZPXGroupName FPZPNotes/Notes: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
    "*%ZPXParent FPZPNotes/Pane: True|Rolldown\n";

const std::string kDirectoryNotes =
    "*%ZPXJobNote *ZPUserAuthName/User: 64|Required\n"
    "*%ZPUserAuthName: \"(<*ZPUserAuthName>) /User exch def\"\n"
    "*%ZPXJobNote *ZPUserAuthPwd/Password: 32|Password\n"
    "*%ZPUserAuthPwd: \"(<*ZPUserAuthPwd>) /Password exch def\"\n";

PPDXJobNote* Note(ZPXPPD& document, const char* keyword) {
  return document.GetControls()->FindJobNote(keyword, true);
}

// Sets a note's text as the user types it; the text must be one the note takes.
void SetNote(ZPXPPD& document, const char* keyword, const std::string& text) {
  PPDXJobNote* note = Note(document, keyword);
  ASSERT_NE(note, nullptr) << keyword;
  ASSERT_TRUE(note->SetNotes(text.c_str())) << keyword << " " << text;
}

std::string NoteText(ZPXPPD& document, const char* keyword) {
  const char* text = Note(document, keyword)->GetNotes();
  return text != nullptr ? text : "<none>";
}

std::string SpecialOption(const std::string& keyword, const std::string& value) {
  return "*%ZPXSpecialOption " + keyword + ": " + value + "\n";
}

// The user name and password in a record's text; "<failed>" when it does not unpack.
std::string Unpacked(const std::string& text) {
  char* user = nullptr;
  char* password = nullptr;
  char* domain = nullptr;
  UAL_DomainType type;
  unsigned char guid[kUALGUIDSize];
  if (UAL_UnpackAndDecrypt(text.c_str(), &user, &password, &domain, &type, guid) != 0)
    return "<failed>";
  const std::string fields = std::string(user) + "|" + password;
  AUTH_freeBuffer(&user);
  AUTH_freeBuffer(&password);
  AUTH_freeBuffer(&domain);
  return fields;
}

// A note's hexadecimal text decrypted as the sample's key and cipher say.
Bytes SampleDecrypted(const std::string& hex) {
  return ReferenceCBC(Bytes(kJobNoteKeyTable + 16, kJobNoteKeyTable + 48),
                      Bytes(kJobNoteIV, kJobNoteIV + 16), FromHex(hex), false);
}

std::string Between(const std::string& text, const std::string& before, const std::string& after) {
  const size_t start = text.find(before);
  if (start == std::string::npos) return "";
  const size_t end = text.find(after, start + before.size());
  return end == std::string::npos ? ""
                                  : text.substr(start + before.size(), end - start - before.size());
}

TEST_F(ZPXJobNoteListOutputTest, LayoutCommentsFollowOrientationAndPagesPerSheet) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead + "*%ZPXJobNote *Notes1/N: 9|Alpha\n*%DefaultNotes1: x\n");
  const struct {
    SInt32 orientation;
    std::optional<SInt32> rows, columns;
    std::vector<std::string> comments;
    long turned;
  } cases[] = {
      {1, {}, {}, {"%%Orientation: Portrait\n"}, 1},
      {3, {}, {}, {"%%Orientation: Portrait\n"}, 3},
      {2, {}, {}, {"%%Orientation: Landscape\n"}, 2},
      {1, 1, {}, {"%%Orientation: Portrait\n"}, 1},
      {1, 1, 2, {"%%MacCoreNUp: true\n", "%%Orientation: Landscape\n"}, 4},
      {3, 2, 3, {"%%MacCoreNUp: true\n", "%%Orientation: Landscape\n"}, 4},
      {2, 2, 1, {"%%MacCoreNUp: true\n", "%%Orientation: Portrait\n"}, 1},
      {4, 3, 2, {"%%MacCoreNUp: true\n", "%%Orientation: Portrait\n"}, 1},
      {1, 2, 2, {"%%MacCoreNUp: true\n", "%%Orientation: Portrait\n"}, 1},
      {2, 1, 1, {"%%MacCoreNUp: true\n", "%%Orientation: Landscape\n"}, 2},
  };
  for (const auto& c : cases) {
    PrintJob job;
    job.SetLayout(c.orientation, c.rows, c.columns);
    ZPXJobNoteList list(document.get(), false);
    EXPECT_EQ(noErr, job.Run(list));
    EXPECT_EQ(job.At(kPSInjectionSiteHeaderComments), c.comments) << c.orientation;
    EXPECT_EQ(list.PageOrientation(), c.turned) << c.orientation;
  }

  // Without an orientation in the page format no comments, but the notes still.
  PrintJob job;
  job.SetNumber(kPDE_PMPrintSettingsRef, kPMLayoutRowsKey, 2);
  job.SetNumber(kPDE_PMPrintSettingsRef, kPMLayoutColumnsKey, 1);
  ZPXJobNoteList list(document.get(), false);
  EXPECT_EQ(noErr, job.Run(list));
  EXPECT_TRUE(job.At(kPSInjectionSiteHeaderComments).empty());
  EXPECT_EQ(job.At(kPSInjectionSiteJobNoteComments), std::vector<std::string>{"%%ZPXCustom1: x\n"});
  EXPECT_EQ(list.PageOrientation(), 0);
}

TEST_F(ZPXJobNoteListOutputTest, TheSampleWritesEveryKindOfLineAndCode) {
  std::unique_ptr<ZPXPPD> document = ParseFile(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
  SetNote(*document, "*Instruct", "Call me");
  SetNote(*document, "*DeptPassword", "4711");
  SetNote(*document, "*ZPXPrintTime", "22:30");
  SetNote(*document, "*ZPUserAuthName", "dom/:ann");
  SetNote(*document, "*ZPUserAuthPwd", "s3cret");
  SetNote(*document, "*ZPMailboxNum", "1,2,3");
  PrintJob job;
  job.SetLayout(1, {}, {});
  gUserAuthNameWasInited = false;
  ZPXJobNoteList list(document.get(), false);
  EXPECT_TRUE(gUserAuthNameWasInited);
  ASSERT_EQ(noErr, job.Run(list));
  EXPECT_FALSE(gUserAuthNameWasInited);
  EXPECT_EQ(gZPXPPD, document.get());

  const std::vector<std::string> lines = job.At(kPSInjectionSiteJobNoteComments);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "%%ZPXCustom1: Proof\n");
  EXPECT_EQ(lines[1], "%%ZPXCustom3: Call me\n");
  // The department password encrypted: AES-256 under the sample's third key.
  const std::string hex = Between(lines[2], "%%DeptPassword: ", "\n");
  ASSERT_EQ(hex.size(), 32u) << lines[2];
  Bytes expected = {'4', '7', '1', '1', 0};
  expected.insert(expected.end(), 11, 10);
  EXPECT_EQ(SampleDecrypted(hex), expected);
  EXPECT_EQ(lines[3], "%%ZPXPrintTime: 22:30\n");
  // The name note adds no line; the record carries it, "/:" escaped.
  EXPECT_EQ(Unpacked(Between(lines[4], "%%ZPXUATag: ", "\n")), "dom//:ann|s3cret");
  EXPECT_EQ(NoteText(*document, "*ZPUserAuthName"), "dom//:ann");

  // Feature codes carry the encrypted text, hexadecimal again in the template;
  // the notes have their plain text back.
  const std::string deptCode = job.FeatureCode("*DeptPassword");
  EXPECT_EQ(deptCode, "%%BeginFeature: *DeptPassword " + hex + "\n<" +
                          UpperHex(reinterpret_cast<const unsigned char*>(hex.data()), hex.size()) +
                          "> /ZPXDeptPassword exch def\n%%EndFeature\n");
  EXPECT_EQ(NoteText(*document, "*DeptPassword"), "4711");
  const std::string passwordHex =
      Between(job.FeatureCode("*ZPUserAuthPwd"), "*ZPUserAuthPwd ", "\n");
  EXPECT_EQ(SampleDecrypted(passwordHex).size(), 16u);
  EXPECT_EQ(NoteText(*document, "*ZPUserAuthPwd"), "s3cret");
  EXPECT_NE(job.FeatureCode("*ZPUserAuthName")
                .find(UpperHex(reinterpret_cast<const unsigned char*>("dom//:ann"), 9)),
            std::string::npos);
  EXPECT_EQ(Between(job.FeatureCode("*ZPMailboxNum"), "*ZPMailboxNum ", "\n"), "1-3");
  // Nothing protected leaves in clear or merely hexadecimal.
  for (const std::string secret : {"4711", "s3cret"}) {
    EXPECT_FALSE(job.Mentions(secret)) << secret;
    EXPECT_FALSE(job.Mentions(
        UpperHex(reinterpret_cast<const unsigned char*>(secret.data()), secret.size())))
        << secret;
  }
}

// The job of a document with the account notes, the directory switch given
// as `ldap` (none when null) and the notes set as the user types them (a null
// name is left unset); `packer` stands in for the record's maker when given.
struct AccountJob {
  AccountJob(const char* ldap, const char* name, const char* password,
             ZPXJobNoteList::UserAuthPacker packer = nullptr)
      : document(ParseText(kHead + (ldap ? SpecialOption("*ZPXAuthenticateWithLDAP", ldap) : "") +
                           kDirectoryNotes)) {
    if (name != nullptr) SetNote(*document, "*ZPUserAuthName", name);
    SetNote(*document, "*ZPUserAuthPwd", password);
    ZPXJobNoteList list(document.get(), false);
    if (packer != nullptr) list.SetUserAuthPacker(packer);
    EXPECT_EQ(noErr, job.Run(list));
  }
  std::vector<std::string> Lines() const { return job.At(kPSInjectionSiteJobNoteComments); }

  std::unique_ptr<ZPXPPD> document;
  PrintJob job;
};

TEST_F(ZPXJobNoteListOutputTest, DirectoryAuthenticationDecidesTheAccountNotes) {
  // Off: the password line is its bare prefix, without line end, and the
  // password has no code; the name is an ordinary note with a code.
  {
    AccountJob off(nullptr, "ann", "s3cret");
    EXPECT_EQ(off.Lines(), std::vector<std::string>{"%%ZPXUATag: "});
    EXPECT_EQ(off.job.FeatureCode("*ZPUserAuthPwd"), "");
    EXPECT_NE(off.job.FeatureCode("*ZPUserAuthName"), "");
    EXPECT_FALSE(off.job.Mentions("s3cret"));
    EXPECT_FALSE(off.job.Mentions("733363726574"));
  }
  // On, without the copier's own authentication: the record only.
  AccountJob on("True", "ann", "s3cret");
  ASSERT_EQ(on.Lines().size(), 1u);
  EXPECT_EQ(Unpacked(Between(on.Lines()[0], "%%ZPXUATag: ", "\n")), "ann|s3cret");
  EXPECT_TRUE(on.job.At(kPSInjectionSiteFeatureCode).empty());
  // The value must be exactly "True".
  EXPECT_EQ(AccountJob("true", "ann", "s3cret").Lines(), std::vector<std::string>{"%%ZPXUATag: "});

  // The first "/:" is escaped unless a "//" comes first; the escaped name is
  // the note's text afterwards. A name that is not UTF-8 is sent empty, and an
  // empty or unset name makes the record carry no password either.
  const struct {
    const char* name;
    const char* sent;
  } names[] = {{"a/:b/:c", "a//:b/:c"},      {"a//b/:c", "a//b/:c"}, {"/:", "//:"},
               {"Zo\xC3\xAB", "Zo\xC3\xAB"}, {"\xFF\xFE", ""},       {nullptr, ""}};
  for (const auto& n : names) {
    SCOPED_TRACE(n.name != nullptr ? n.name : "<unset>");
    AccountJob account("True", n.name, "pw");
    ASSERT_EQ(account.Lines().size(), 1u);
    const std::string record = Between(account.Lines()[0], "%%ZPXUATag: ", "\n");
    EXPECT_EQ(Unpacked(record), n.sent[0] != '\0' ? std::string(n.sent) + "|pw" : "|");
    if (n.sent[0] != '\0') {
      EXPECT_EQ(NoteText(*account.document, "*ZPUserAuthName"), n.sent);
    }
  }
}

int FailingPacker(const char*, const char*, const char*, UAL_DomainType, int, char** out) {
  *out = nullptr;
  return -1;
}

TEST_F(ZPXJobNoteListOutputTest, ARecordThatCannotBeMadeLeavesThePrefixAlone) {
  AccountJob account("True", "ann", "s3cret", FailingPacker);
  const PrintJob& job = account.job;
  EXPECT_EQ(account.Lines(), std::vector<std::string>{"%%ZPXUATag: \n"});
  EXPECT_FALSE(job.Mentions("s3cret"));
  EXPECT_FALSE(job.Mentions("733363726574"));
}

TEST_F(ZPXJobNoteListOutputTest, NotesTooLongToEncryptAreLeftOutAndEmptyOnesSkipped) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead + SpecialOption("*UseSpecialAlgorithm", "2") +
                "*%ZPXJobNote *DeptPassword/Department: 200|Password|Encrypt\n"
                "*%ZPXJobNote *Notes1/Note: 200|Alpha\n*%ZPXJobNote *Notes2/Note 2: 200|Alpha\n"
                "*%ZPXJobNote *ZPAccount/Account: 200|Numeric|Encrypt\n"
                "*%ZPXJobNote *ZPUserAuthName/User: 64|Alpha|Encrypt\n*%ZPXJobNote "
                "*ZPUserAuthPwd/Pw: 9|Alpha\n");
  SetNote(*document, "*DeptPassword", std::string(127, '7'));
  SetNote(*document, "*Notes1", "kept");
  SetNote(*document, "*ZPAccount", std::string(127, '1'));
  SetNote(*document, "*ZPUserAuthName", "ann");
  PrintJob job;
  ZPXJobNoteList list(document.get(), false);
  ASSERT_EQ(noErr, job.Run(list));
  const std::vector<std::string> lines = job.At(kPSInjectionSiteJobNoteComments);
  // No department line, no empty second note; the encrypted name is its
  // hexadecimal text alone and leaves directory authentication off.
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "%%ZPXCustom1: kept\n");
  EXPECT_EQ(lines[1].size(), 33u);
  EXPECT_EQ(lines[1].find_first_not_of("0123456789ABCDEF"), 32u);
  EXPECT_EQ(lines[2], "%%ZPXUATag: ");
  EXPECT_EQ(job.FeatureCode("*DeptPassword"), "");
  EXPECT_EQ(job.FeatureCode("*ZPAccount"), "");
  EXPECT_NE(job.FeatureCode("*ZPUserAuthName"), "");
  EXPECT_NE(job.FeatureCode("*Notes1"), "");
  EXPECT_EQ(job.FeatureCode("*Notes2"), "");
}

// A note whose template is "(<*ZPBig>) " and `padding` more bytes.
PPDXJobNote* BigNote(size_t padding, const char* text) {
  const std::string psTemplate = "(<*ZPBig>) " + std::string(padding, '%');
  PointerList flags;
  return new PPDXJobNote("*ZPBig", CFSTR("Big"), flags, Code(psTemplate.c_str()),
                         long(psTemplate.size()), new CString(text), nullptr, true, 200,
                         JobNoteFlag(JobNoteFlag::kEncrypt), 0);
}

// The feature code is measured with the encrypted text in place, which is
// longer than the plain one: sized from the plain text, the buffer would be
// too small.
TEST_F(ZPXJobNoteListOutputTest, FeatureCodeIsSizedWithTheEncryptedText) {
  const std::string text(60, 'p');
  const long frame = std::unique_ptr<PPDXJobNote>(BigNote(0, text.c_str()))->PostScript(nullptr);
  // Plain codes of exactly the stack buffer's size and of one byte more.
  for (long plainSize : {5120L, 5121L}) {
    ZPXPPD document(PARSE_ALL);  // owns the note
    PPDXJobNote* note = BigNote(size_t(plainSize - frame), text.c_str());
    document.GetControls()->Add(note);
    ASSERT_EQ(note->PostScript(nullptr), plainSize);

    PrintJob job;
    ZPXJobNoteList list(&document, false);
    ASSERT_EQ(noErr, job.Run(list));
    const std::string code = job.FeatureCode("*ZPBig");
    EXPECT_EQ(note->GetNotes(), text);
    // The same code as the note gives with its encrypted text set by hand.
    char hex[ZPXJobNote::kEncryptedTextSize];
    ASSERT_TRUE(static_cast<ZPXJobNote*>(list.index(0))->encryptNote(nullptr, text.c_str(), hex));
    note->SetNotes(hex);
    EXPECT_EQ(code, Emitted(*note));
    EXPECT_GT(code.size(), size_t(plainSize) + 100);
  }
}

TEST_F(ZPXJobNoteListOutputTest, AnInvalidJobTicketGetsNothing) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead + "*%ZPXJobNote *Notes1/N: 9|Alpha\n*%DefaultNotes1: x\n");
  PrintJob job;
  ZPXJobTicket invalid(nullptr, CFSTR("ZPX.PSData.test"));
  ASSERT_FALSE(invalid.IsValid());
  gZPXPPD = nullptr;
  ZPXJobNoteList list(document.get(), false);
  EXPECT_EQ(paramErr, list.outInjectionData(&invalid, job.Session()));
  EXPECT_EQ(paramErr, list.outInjectionData(nullptr, job.Session()));
  EXPECT_EQ(gZPXPPD, document.get());
}

}  // namespace
