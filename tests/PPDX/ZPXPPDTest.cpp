#include "PPDX/ZPXPPD.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXErrorCode.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/PPDObjects/PPDXShortcutsAPI.h"
#include "constraints/UIConstraints.h"
#include "support/ControlTestSupport.h"
#include "support/DisplayOption.h"
#include "support/ParsedDocument.h"
#include "support/PlatformString.h"
#include "support/WalkedKeywords.h"

namespace {

// One error as Errors lists it.
struct Listed {
  PPDXErrorCode code;
  std::string keyword{};
  bool fatal = false;
};
constexpr bool kFatal = true;

// What Errors gives for these errors.
std::string Listing(std::initializer_list<Listed> errors) {
  std::string listed;
  for (const Listed& error : errors)
    listed += std::to_string(error.code) + (error.fatal ? "!:" : ":") + error.keyword + " ";
  if (!listed.empty()) listed.pop_back();
  return listed;
}

PPDXControl* AnyControl(ZPXPPD& document, const char* keyword) {
  _DISPLAY_OPTIONS_ saved = ZPXPPD::Options();
  ZPXPPD::Options(DISPLAY_ALL);
  CNTL_TYPE type;
  PPDXControl* control = document.GetControls()->Find(keyword, type, true);
  ZPXPPD::Options(saved);
  return control;
}

std::string DisplayName(PPDXElement* element) {
  return element != nullptr ? TextOf(element->CFStringUserName()) : "<none>";
}

// The head of a document with one page, its scroll pane and a roll-down.
const std::string kHead =
    "*PPD-Adobe: \"4.3\"\n"
    "*%ZPXPropPage FPPage/Page: True\n"
    "*%ZPXGroupName Pane/Pane: True\n"
    "*%ZPXGroupName Roll/Options: True\n"
    "*%ZPXParent Pane/FPPage: True|Scrollpane\n"
    "*%ZPXParent Roll/Pane: True|Rolldown\n";

std::string PopupBlock(const std::string& key, const std::string& body) {
  return "*%ZPXFlags *" + key + ": Setup\n*%ZPXGroup *" + key + " Roll/" + key + "\n*OpenUI *" +
         key + "/" + key + ": PickOne\n" + body + "*CloseUI: *" + key + "\n";
}

TEST(ZPXPPDTest, EveryErrorPathReportsItsCodeKeywordAndFatality) {
  struct Case {
    const char* fixture;
    std::string errors;
    bool valid;
  } cases[] = {
      {"property-page-without-name", Listing({{kPPDXErrPropertyPageWithoutName}}), true},
      {"group-line-without-keyword", Listing({{kPPDXErrBadGroupLine}}), true},
      {"group-line-unknown-block", Listing({{kPPDXErrBadGroupLine, "*ZPFold"}}), true},
      {"job-note-key-mismatch",
       Listing({{kPPDXErrBadJobNoteKey, "*ZPNote"}, {kPPDXErrBadJobNoteKey}}), true},
      {"range-three-numbers", Listing({{kPPDXErrBadRangeLine, "*ZPCopies"}}), true},
      {"range-syntax",
       Listing({{kPPDXErrBadRangeLine, "*ZPCopies"}, {kPPDXErrBadRangeLine, "*ZPOther"}}), true},
      {"openui-without-option", Listing({{kPPDXErrOpenUIWithoutKeyword, "*ZPFold"}}), true},
      {"boolean-bad-option", Listing({{kPPDXErrBooleanNotTrueOrFalse, "*ZPJog"}}), true},
      {"openuizpx-skipped", Listing({{kPPDXErrOpenUIZPXSkipped, "*ZPColor"}}), true},
      {"openuizpx-unclosed",
       Listing({{kPPDXErrOpenUIZPXSkipped, "*ZPColor"},
                {kPPDXErrOpenUIZPXNotClosed, "*ZPColor", kFatal}}),
       false},
      {"popup-unclosed", Listing({{kPPDXErrBadOptionBlock, "*ZPFold", kFatal}}), false},
      {"popup-two-defaults", Listing({{kPPDXErrBadOptionBlock, "*ZPFold", kFatal}}), false},
      {"group-name-without-name", Listing({{kPPDXErrGroupNameWithoutName}}), true},
      {"roll-down-under-property-page",
       Listing({{kPPDXErrBadParent, "FPPage"}, {kPPDXErrBadParent, "Nowhere"}}), true},
      {"parent-line-incomplete",
       Listing({{kPPDXErrIncompleteParentLine, "Roll"}, {kPPDXErrIncompleteParentLine}}), true},
      {"flags-followed-by-blank-line", Listing({{kPPDXErrBadFlagsLine, "*ZPFold"}}), true},
      {"flags-followed-by-unknown-line", Listing({{kPPDXErrBadFlagsLine, "*ZPFold"}}), true},
      {"flags-without-keyword", Listing({{kPPDXErrBadFlagsLine}}), true},
      {"empty", Listing({{kPPDXErrUnreadableFile, "", kFatal}}), false},
      {"shortcut-refused-and-unresolved",
       Listing({{kPPDXErrBadShortcut, "*ZP_PROP_WATERMARK"}, {kPPDXErrBadShortcut, "*ZPMissing"}}),
       true},
      {"duplicates",
       Listing({{kPPDXErrDuplicateName, "*ZPTray"},
                {kPPDXErrDuplicateName, "FPPage"},
                {kPPDXErrDuplicateName, "Roll"}}),
       true},
      {"header-only", Listing({{kPPDXErrNoPropertyPage}, {kPPDXErrNoGroup}, {kPPDXErrNoOption}}),
       true},
      {"version-4-2", Listing({{kPPDXErrNotVersion43, "", kFatal}}), false},
      {"control-in-plain-group", Listing({{kPPDXErrOptionInNoRollDown, "*ZPFold"}}), true},
      {"openui-without-translation", Listing({{kPPDXErrBadOpenUIType, "*ZPFold"}}), true},
      {"popup-without-default", Listing({{kPPDXErrNoDefault, "*ZPFold"}}), true},
      {"range-without-postscript", Listing({{kPPDXErrRangeWithoutPostScript, "*ZPCopies"}}), true},
      {"constraint-without-second-key", Listing({{kPPDXErrConstraintWithoutSecondKey, "*ZPTray"}}),
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::unique_ptr<ZPXPPD> document =
        ParseFile(std::string(ZPX_FIXTURES) + "/ppd/" + c.fixture + ".ppd");
    EXPECT_EQ(Errors(*document), c.errors);
    EXPECT_EQ(document->IsValidPPD(), c.valid);
  }
  std::unique_ptr<ZPXPPD> missing = ParseFile(std::string(ZPX_FIXTURES) + "/ppd/no-such.ppd");
  EXPECT_EQ(Errors(*missing), Listing({{kPPDXErrUnreadableFile, "", kFatal}}));
}

TEST(ZPXPPDTest, FatalBlocksStopTheParseAndKeepWhatCameBefore) {
  std::unique_ptr<ZPXPPD> unclosed =
      ParseFile(std::string(ZPX_FIXTURES) + "/ppd/popup-unclosed.ppd");
  EXPECT_NE(AnyControl(*unclosed, "*ZPTray"), nullptr);
  EXPECT_EQ(AnyControl(*unclosed, "*ZPFold"), nullptr);

  // A 300-byte line ends the parse quietly; a control after it is never made.
  std::string longLine = "*% " + std::string(297, 'x') + "\n";
  std::unique_ptr<ZPXPPD> cut =
      ParseText(kHead + PopupBlock("ZPTray", "*DefaultZPTray: A\n*ZPTray A/A: \"a\"\n") + longLine +
                PopupBlock("ZPFold", "*DefaultZPFold: B\n*ZPFold B/B: \"b\"\n"));
  EXPECT_EQ(Errors(*cut), "");
  EXPECT_NE(AnyControl(*cut, "*ZPTray"), nullptr);
  EXPECT_EQ(AnyControl(*cut, "*ZPFold"), nullptr);
  EXPECT_TRUE(cut->IsValidPPD());
  cut->AllErrorsFatal(true);
  EXPECT_TRUE(cut->IsValidPPD());

  // The rest of an over-long line that a block fetched is never read as a line.
  std::unique_ptr<ZPXPPD> rest = ParseText(
      kHead + "*%ZPXFlags *ZPA: Setup\n*%" + std::string(253, 'x') + "*%ZPXFlags *ZPB: Setup\n" +
      "*%ZPXGroup *ZPB Roll/B\n*OpenUI *ZPB/B: PickOne\n*DefaultZPB: A\n*ZPB A/A: \"\"\n*CloseUI: "
      "*ZPB\n");
  EXPECT_EQ(Errors(*rest), Listing({{kPPDXErrNoOption}}));
  EXPECT_EQ(AnyControl(*rest, "*ZPB"), nullptr);

  std::unique_ptr<ZPXPPD> skipped =
      ParseFile(std::string(ZPX_FIXTURES) + "/ppd/openuizpx-skipped.ppd");
  EXPECT_TRUE(skipped->IsValidPPD());
  skipped->AllErrorsFatal(true);
  EXPECT_FALSE(skipped->IsValidPPD());
}

TEST(ZPXPPDTest, PopupDefaultsAndBooleanBlocks) {
  std::unique_ptr<ZPXPPD> document = ParseText(
      kHead +
      // The default may follow the options it names.
      PopupBlock("ZPLate", "*ZPLate A/A: \"a\"\n*ZPLate B/B: \"b\"\n*DefaultZPLate: B\n") +
      PopupBlock("ZPNone", "*DefaultZPNone: Z\n*ZPNone A/A: \"a\"\n*ZPNone B/B: \"b\"\n") +
      "*%ZPXFlags *ZPJog: Spooler\n*%ZPXGroup *ZPJog Roll/Jog\n*OpenUI *ZPJog/Jog: Boolean\n"
      "*DefaultZPJog: True\n*ZPJog True/On: \"<</Jog 3>> setpagedevice\"\n*ZPJog Maybe/?: \"x\"\n"
      "*ZPJog False/Off: \"\"\n*CloseUI: *ZPJog\n" +
      // The bad Boolean option costs nothing after its block.
      PopupBlock("ZPAfter", "*DefaultZPAfter: A\n*ZPAfter A/A: \"\"\n") +
      // A standard option that no *%ZPXFlags announces makes nothing.
      "*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: A4\n*PageSize A4/A4: \"a4\"\n"
      "*CloseUI: *PageSize\n");
  EXPECT_EQ(Errors(*document), Listing({{kPPDXErrBooleanNotTrueOrFalse, "*ZPJog"}}));
  auto* late = dynamic_cast<PPDXPopupControl*>(AnyControl(*document, "*ZPLate"));
  ASSERT_NE(late, nullptr);
  EXPECT_STREQ(late->GetDefaultKeyword(), "B");
  EXPECT_EQ(late->GetValue(), 2);
  auto* none = dynamic_cast<PPDXPopupControl*>(AnyControl(*document, "*ZPNone"));
  ASSERT_NE(none, nullptr);
  EXPECT_STREQ(none->GetDefaultKeyword(), "A");
  auto* jog = dynamic_cast<PPDXBooleanControl*>(AnyControl(*document, "*ZPJog"));
  ASSERT_NE(jog, nullptr);
  EXPECT_TRUE(jog->IsTrue());
  EXPECT_STREQ(jog->TrueDisplayText(), "On");
  EXPECT_STREQ(jog->FalseDisplayText(), "Off");
  EXPECT_EQ(jog->GetParent(), document->GetGroups()->Find("Roll", true));
  EXPECT_NE(AnyControl(*document, "*ZPAfter"), nullptr);
  EXPECT_EQ(AnyControl(*document, "*PageSize"), nullptr);
  EXPECT_EQ(document->GetControls()->PopupCount() + document->GetControls()->BooleanCount(), 4u);
}

TEST(ZPXPPDTest, BooleanDefaultLinesTakeTheWordAfterTheColon) {
  struct Case {
    const char* line;
    bool value;
    std::string errors;
  } cases[] = {
      {"*Default: True\n", true, ""},
      {"*Default: False\n", false, ""},
      // The word read is the keyword, which is not True: a default of false.
      {"*Default: *ZPJog: True\n", false, ""},
      {"*DefaultZPJog: True\n", true, ""},
      {"", false, Listing({{kPPDXErrNoDefault, "*ZPJog"}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::unique_ptr<ZPXPPD> document =
        ParseText(kHead +
                  "*%ZPXFlags *ZPJog: Spooler\n*%ZPXGroup *ZPJog Roll/Jog\n*OpenUI *ZPJog/Jog: "
                  "Boolean\n" +
                  c.line +
                  "*ZPJog True/On: \"on\"\n*ZPJog False/Off: \"off\"\n"
                  "*CloseUI: *ZPJog\n");
    EXPECT_EQ(Errors(*document), c.errors);
    auto* jog = dynamic_cast<PPDXBooleanControl*>(AnyControl(*document, "*ZPJog"));
    ASSERT_NE(jog, nullptr);
    EXPECT_EQ(jog->IsTrue(), c.value);
  }
  // A popup's *Default line must name the popup; one naming another is no default.
  std::unique_ptr<ZPXPPD> popups = ParseText(
      kHead + PopupBlock("ZPTray", "*Default: *ZPTray: B\n*ZPTray A/A: \"\"\n*ZPTray B/B: \"\"\n") +
      PopupBlock("ZPFold", "*Default: *ZPTray: B\n*ZPFold A/A: \"\"\n*ZPFold B/B: \"\"\n"));
  EXPECT_EQ(Errors(*popups), Listing({{kPPDXErrNoDefault, "*ZPFold"}}));
  auto* tray = dynamic_cast<PPDXPopupControl*>(AnyControl(*popups, "*ZPTray"));
  ASSERT_NE(tray, nullptr);
  EXPECT_STREQ(tray->GetDefaultKeyword(), "B");
}

TEST(ZPXPPDTest, OptionLineWithoutKeywordIsAChoiceWithAnEmptyKeyword) {
  std::unique_ptr<ZPXPPD> document = ParseText(
      kHead +
      PopupBlock("ZPTray",
                 "*DefaultZPTray: B\n*ZPTray A/A: \"a\"\n*ZPTray /Nameless: \"n\"\n"
                 "*ZPTray B/B: \"b\"\n") +
      PopupBlock("ZPFold", "*DefaultZPFold: None\n*ZPFold None/N: \"\"\n*ZPFold Half/H: \"\"\n") +
      "*UIConstraints: *ZPTray *ZPFold Half\n");
  EXPECT_EQ(Errors(*document), "");
  auto* tray = dynamic_cast<PPDXPopupControl*>(AnyControl(*document, "*ZPTray"));
  ASSERT_NE(tray, nullptr);
  std::vector<std::string> keywords;
  std::vector<std::string> names;
  for (_PopupItem* item = tray->FirstItem(); item != nullptr; item = tray->NextItem()) {
    keywords.push_back(item->keyword != nullptr ? static_cast<const char*>(*item->keyword)
                                                : "<none>");
    names.push_back(TextOf(item->name));
  }
  EXPECT_EQ(keywords, (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(names, (std::vector<std::string>{"A", "Nameless", "B"}));
  EXPECT_EQ(tray->GetValue(), 3);
  // The wildcard line reaches the nameless choice as it reaches the others.
  SetValue(*document, "*ZPFold", "Half");
  EXPECT_TRUE(document->IsKVConstrained("*ZPTray", ""));
  EXPECT_TRUE(document->IsKVConstrained("*ZPTray", "A"));
}

TEST(ZPXPPDTest, IntegerRangesKeepEveryDigitAndSaturate) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead +
                "*%ZPXFlags *ZPBig: Setup\n*%ZPXGroup *ZPBig Roll/Big\n*%ZPXRange *ZPBig/Big: "
                "(9007199254740993;9223372036854775807;1;9007199254740993) \"<ZPBig> x\"\n"
                "*%ZPXFlags *ZPHuge: Setup\n*%ZPXGroup *ZPHuge Roll/Huge\n*%ZPXRange *ZPHuge/Huge: "
                "(-99999999999999999999;99999999999999999999;7;12.9) \"<ZPHuge> x\"\n"
                "*%ZPXFlags *ZPReal: Setup\n*%ZPXGroup *ZPReal Roll/Real\n*%ZPXFloatRange "
                "*ZPReal/Real: (0.5;2.5;0.25;1.5) \"<ZPReal> x\"\n");
  EXPECT_EQ(Errors(*document), "");
  auto* big = dynamic_cast<PPDXRangeControl*>(AnyControl(*document, "*ZPBig"));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->MinVal(), 9007199254740993L);
  EXPECT_EQ(big->MaxVal(), std::numeric_limits<long>::max());
  EXPECT_EQ(big->DefaultValue(), 9007199254740993L);
  EXPECT_EQ(Value(*document, "*ZPBig"), "9007199254740993");
  auto* huge = dynamic_cast<PPDXRangeControl*>(AnyControl(*document, "*ZPHuge"));
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->MinVal(), std::numeric_limits<long>::min());
  EXPECT_EQ(huge->MaxVal(), std::numeric_limits<long>::max());
  EXPECT_EQ(huge->Increment(), 7);
  EXPECT_EQ(huge->DefaultValue(), 12);  // the digits before the point
  auto* real = dynamic_cast<PPDXFloatRangeControl*>(AnyControl(*document, "*ZPReal"));
  ASSERT_NE(real, nullptr);
  EXPECT_EQ(real->MinVal(), 0.5f);
  EXPECT_EQ(real->Increment(), 0.25f);
  EXPECT_EQ(real->DefaultValue(), 1.5f);
}

TEST(ZPXPPDTest, JobNotesTakeTheirFollowingLineAndFlagWords) {
  std::unique_ptr<ZPXPPD> document = ParseText(
      kHead +
      "*%ZPXGroupName FPZPNotes/Notes: True\n*%ZPXParent FPZPNotes/Pane: True|Rolldown\n"
      "*%ZPXJobNote *ZPQuoted/Quoted: 10|Alpha\n*%DefaultZPQuoted: \"text\"\n"
      "*%ZPXJobNote *ZPPlain/Plain: 10|Alpha\n"
      "*%ZPXFlags *ZPAfter: Setup\n*%ZPXGroup *ZPAfter Roll/After\n"
      "*%ZPXJobNote *ZPAfter/After: 12|Numeric|MinLength7\n*%ZPAfter: \"(<*ZPAfter>) show\"\n"
      "*%ZPXJobNote *ZPStandalone/Standalone: 8|MinLength5|MinLength\n*%DefaultZPStandalone: 42\n");
  EXPECT_EQ(Errors(*document), "");
  auto* quoted = dynamic_cast<PPDXJobNote*>(AnyControl(*document, "*ZPQuoted"));
  ASSERT_NE(quoted, nullptr);
  EXPECT_EQ(quoted->GetDefaultNotes(), nullptr);
  EXPECT_EQ(quoted->GetParent(), document->GetGroups()->Find("FPZPNotes", true));
  // The standalone note left the *%ZPXFlags line to the loop, which made *ZPAfter.
  auto* after = dynamic_cast<PPDXJobNote*>(AnyControl(*document, "*ZPAfter"));
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->MinLength(), 7);
  EXPECT_EQ(after->Flags().Value(), JobNoteFlag::kNumeric | JobNoteFlag::kMinLength);
  EXPECT_EQ(after->GetParent(), document->GetGroups()->Find("Roll", true));
  auto* standalone = dynamic_cast<PPDXJobNote*>(AnyControl(*document, "*ZPStandalone"));
  ASSERT_NE(standalone, nullptr);
  EXPECT_STREQ(standalone->GetDefaultNotes(), "42");
  EXPECT_EQ(standalone->Flags().Value(), JobNoteFlag::kMinLength);
  EXPECT_EQ(standalone->MinLength(), 0);
}

// The flags describe a note's field: the maker's default stands whether or not
// a person could type it, and reaches the job. Only a control character, which
// would break the feature frame, keeps a default out.
TEST(ZPXPPDTest, NoteDefaultsTheirFlagsRefuseAreKeptAndReachTheJob) {
  std::unique_ptr<ZPXPPD> document =
      ParseFile(std::string(ZPX_FIXTURES) + "/ppd/job-note-defaults.ppd");
  EXPECT_EQ(Errors(*document), "");
  auto* room = dynamic_cast<PPDXJobNote*>(AnyControl(*document, "*N1"));
  ASSERT_NE(room, nullptr);
  EXPECT_STREQ(room->GetDefaultNotes(), "Room 12");
  EXPECT_EQ(Emitted(*room), "%%BeginFeature: *N1 Room 12\n%%EmptyOption\n%%EndFeature\n");
  auto* path = dynamic_cast<PPDXJobNote*>(AnyControl(*document, "*ZPMailboxName"));
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(Emitted(*path),
            "%%BeginFeature: *ZPMailboxName /var/spool/zpx/job.ps\n%%EmptyOption\n%%EndFeature\n");

  std::unique_ptr<ZPXPPD> control =
      ParseText(kHead + "*%ZPXJobNote *N1/N: 32\n*%DefaultN1: a\x01b\n");
  auto* note = dynamic_cast<PPDXJobNote*>(AnyControl(*control, "*N1"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->GetDefaultNotes(), nullptr);
  EXPECT_EQ(note->PostScript(nullptr), 0);
}

TEST(ZPXPPDTest, MinimumLengthDigitsAndExtensionLevels) {
  struct Case {
    const char* word;
    long minimum;
  } cases[] = {{"MinLength", 0},   {"MinLength7", 7},   {"MinLength12", 12},
               {"MinLengthx", -1}, {"MinLength1x", -3}, {"MinLength123", -2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    std::unique_ptr<ZPXPPD> document = ParseText(
        kHead + "*%ZPXFlags *ZPN: Spooler\n*%ZPXGroup *ZPN Roll/N\n*%ZPXJobNote *ZPN/N: 9|" +
        c.word + "\n");
    auto* note = dynamic_cast<PPDXJobNote*>(AnyControl(*document, "*ZPN"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->MinLength(), c.minimum);
  }
  const std::string note = kHead + "*%ZPXJobNote *ZPN/N: 9|Member|Encrypt\n";
  ZPXPPD::SetExtensions(EXTENSIONS_LEVEL2);
  EXPECT_EQ(Errors(*ParseText(note)), Listing({{kPPDXErrJobNoteFlagBeyondLevel, "*ZPN"},
                                               {kPPDXErrNoOption}}));  // and no note
  ZPXPPD::SetExtensions(EXTENSIONS_LEVEL0);
  EXPECT_EQ(Errors(*ParseText(kHead + "*%ZPXJobNote *ZPN/N: 9|Member\n")), "");
  ZPXPPD::SetExtensions(EXTENSIONS_ALL);
  std::unique_ptr<ZPXPPD> all = ParseText(note);
  auto* allWords = dynamic_cast<PPDXJobNote*>(AnyControl(*all, "*ZPN"));
  ASSERT_NE(allWords, nullptr);
  EXPECT_EQ(allWords->Flags().Value(), JobNoteFlag::kMember | JobNoteFlag::kEncrypt);
}

TEST(ZPXPPDTest, ConstraintsShortcutsAndLookupsSeeEveryControl) {
  std::unique_ptr<ZPXPPD> document = ParseText(
      kHead + "*%ZPShortcut *ZPTray\n*UIConstraints: *ZPTray *ZPFold\n" +
      PopupBlock("ZPTray", "*DefaultZPTray: Upper\n*ZPTray Upper/U: \"\"\n*ZPTray None/N: \"\"\n") +
      PopupBlock("ZPFold", "*DefaultZPFold: Half\n*ZPFold Half/H: \"\"\n*ZPFold None/N: \"\"\n") +
      // An orphan, and a second announcement of it while orphans are not displayed.
      "*%ZPXFlags *ZPLoose: Setup\n*OpenUI *ZPLoose/Loose: PickOne\n*DefaultZPLoose: A\n"
      "*ZPLoose A/A: \"\"\n*CloseUI: *ZPLoose\n*%ZPXFlags *ZPLoose: Setup\n");
  EXPECT_EQ(Errors(*document), Listing({{kPPDXErrOptionInNoRollDown, "*ZPLoose"},
                                        {kPPDXErrDuplicateName, "*ZPLoose"}}));
  ASSERT_NE(document->GetShortcuts(), nullptr);
  EXPECT_EQ(document->GetShortcuts()->Count(), 1u);
  UIConstraints* constraints = document->GetUIConstraints();
  // Both options open: every pair except those with None is excluded.
  EXPECT_TRUE(constraints->IsKVConstrained("*ZPTray", "Upper"));
  EXPECT_FALSE(constraints->IsKVConstrained("*ZPTray", "None"));
  constraints->UpdateKVCache("*ZPFold", "None");
  EXPECT_FALSE(constraints->IsKVConstrained("*ZPTray", "Upper"));
}

TEST(ZPXPPDTest, ShortcutsNameControlsOfAnyKindAndWalksShowOnlyPopups) {
  DisplayOption shown(DISPLAY_ATTACHED_VISIBLE);
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead +
                "*%ZPShortcut *ZPText\n*%ZPShortcut *ZPLoose\n*%ZPShortcut *ZPMissing\n"
                "*%ZPShortcut *ZPTray\n*%ZPXJobNote *ZPText/Text: 9|Alpha\n" +
                PopupBlock("ZPTray", "*DefaultZPTray: Upper\n*ZPTray Upper/U: \"\"\n") +
                // An orphan, which the display option hides.
                "*%ZPXFlags *ZPLoose: Setup\n*OpenUI *ZPLoose/Loose: PickOne\n*DefaultZPLoose: A\n"
                "*ZPLoose A/A: \"\"\n*CloseUI: *ZPLoose\n");
  EXPECT_EQ(Errors(*document), Listing({{kPPDXErrOptionInNoRollDown, "*ZPLoose"},
                                        {kPPDXErrBadShortcut, "*ZPMissing"}}));
  PPDXShortcuts* shortcuts = document->GetShortcuts();
  ASSERT_NE(shortcuts, nullptr);
  EXPECT_EQ(shortcuts->Count(), 3u);
  EXPECT_EQ(WalkedKeywords(*shortcuts, FirstShortcut, NextShortcut),
            (std::vector<std::string>{"*ZPLoose", "*ZPTray"}));
  EXPECT_EQ(shortcuts->Find("*ZPText", true), nullptr);
  EXPECT_EQ(shortcuts->Find("*ZPTray", true), AnyControl(*document, "*ZPTray"));
}

TEST(ZPXPPDTest, PlacementHiddenElementsAndOrphans) {
  const std::string text =
      kHead +
      "*%ZPXPropPage FPHidden/A<41 42>C x>y<41>\n"
      "*OpenGroup: InstallableOptions/Installable Options\n"
      "*%ZPXFlags *ZPFinisher: Setup\n*OpenUI *ZPFinisher/: PickOne\n*DefaultZPFinisher: None\n"
      "*ZPFinisher None/None: \"\"\n*CloseUI: *ZPFinisher\n*CloseGroup: InstallableOptions\n"
      "*%ZPXFlags *ZPLoose: Setup\n*OpenUI *ZPLoose/Loose: Boolean\n*DefaultZPLoose: False\n"
      "*CloseUI: *ZPLoose\n*%ZPXGroupName Unused/Unused \xC3\xA9: True\n";
  std::unique_ptr<ZPXPPD> all = ParseText(text);
  EXPECT_EQ(Errors(*all), Listing({{kPPDXErrOptionInNoRollDown, "*ZPLoose"}}));
  // Hex substrings decode where they close; a lone ">" is text.
  EXPECT_EQ(DisplayName(all->GetProperties()->Find("FPHidden", true)), "AABC x>yA");
  PPDXGroup* installable = all->GetGroups()->Find("InstallableOptions", true);
  ASSERT_NE(installable, nullptr);
  PPDXControl* finisher = AnyControl(*all, "*ZPFinisher");
  ASSERT_NE(finisher, nullptr);
  EXPECT_EQ(finisher->GetParent(), installable);
  EXPECT_EQ(DisplayName(finisher), "");
  // Declared but never used: made after the parse, its name read as UTF-8.
  EXPECT_EQ(DisplayName(all->GetGroups()->Find("Unused", true)), "Unused \xC3\xA9");

  // Without orphans a block needs its own group, even among the installable options.
  std::unique_ptr<ZPXPPD> strict = ParseText(text, PARSE_NONE);
  EXPECT_EQ(Errors(*strict), Listing({{kPPDXErrOptionOutsideGroups, "*ZPFinisher"},
                                      {kPPDXErrOptionOutsideGroups, "*ZPLoose"},
                                      {kPPDXErrNoOption}}));
  EXPECT_EQ(strict->GetProperties()->Find("FPHidden", true), nullptr);
  EXPECT_EQ(strict->GetGroups()->Find("Unused", true), nullptr);

  // A name declared twice makes its group from the first declaration.
  std::unique_ptr<ZPXPPD> twice = ParseText(
      kHead + "*%ZPXGroupName Twice/First: True\n*%ZPXGroupName Twice/Second: True\n" +
      "*%ZPXFlags *ZPTwice: Setup\n*%ZPXGroup *ZPTwice Twice/Twice\n*OpenUI *ZPTwice/Twice: "
      "PickOne\n*DefaultZPTwice: A\n*ZPTwice A/A: \"\"\n*CloseUI: *ZPTwice\n");
  EXPECT_EQ(DisplayName(twice->GetGroups()->Find("Twice", true)), "First");
}

TEST(ZPXPPDTest, LinesAcrossTheFileWindow) {
  // Comment lines that bring the next line's end to the window's edge.
  auto padTo = [](size_t length, size_t end) {
    std::string pad;
    while (length + pad.size() + 104 <= end) pad += "*%" + std::string(98, '-') + "\n";
    size_t rest = end - length - pad.size();
    return pad + "*%" + std::string(rest - 3, '-') + "\n";
  };
  // A CR LF split by the window is one line end: the flags line keeps its block.
  std::string head = kHead;
  std::string flags = "*%ZPXFlags *ZPTray: Setup\r";
  std::string text = head + padTo(head.size(), 10000 - flags.size()) + flags +
                     "\n*%ZPXGroup *ZPTray Roll/Tray\n*OpenUI *ZPTray/Tray: PickOne\n"
                     "*DefaultZPTray: A\n*ZPTray A/A: \"\"\n*CloseUI: *ZPTray\n";
  std::unique_ptr<ZPXPPD> split = ParseText(text);
  EXPECT_EQ(Errors(*split), "");
  EXPECT_NE(AnyControl(*split, "*ZPTray"), nullptr);

  // A line whose two pieces exceed 255 bytes stops the parse like one inside a window.
  std::string longLine = "*% " + std::string(296, 'x') + "\n";
  std::string stopped = head + padTo(head.size(), 9900) + longLine +
                        PopupBlock("ZPFold", "*DefaultZPFold: A\n*ZPFold A/A: \"\"\n");
  std::unique_ptr<ZPXPPD> cut = ParseText(stopped);
  EXPECT_EQ(Errors(*cut), Listing({{kPPDXErrNoOption}}));
  EXPECT_EQ(AnyControl(*cut, "*ZPFold"), nullptr);
}

TEST(ZPXPPDTest, TheBundledSampleIsAFullValidModel) {
  std::unique_ptr<ZPXPPD> document = ParseFile(std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd");
  EXPECT_EQ(Errors(*document), Listing({{kPPDXErrOpenUIZPXSkipped, "*ZPColorProfile"}}));
  EXPECT_TRUE(document->IsValidPPD());
  EXPECT_STREQ(document->PCFileName(), "ZPX9000.PPD");
  EXPECT_STREQ(document->MakerVersion(), "ZPX Controller 2.1");
  EXPECT_NE(document->GetStringTextEncoding(), 0u);
  auto* size = dynamic_cast<PPDXCustomPageSizeControl*>(AnyControl(*document, "*CustomPrintSize"));
  ASSERT_NE(size, nullptr);
  EXPECT_EQ(size->MinWidth(), 288.0f);
  EXPECT_EQ(size->MaxHeight(), 1728.0f);
  auto* special = dynamic_cast<PPDXSpecialOption*>(AnyControl(*document, "*ZPWorkflowQueue"));
  ASSERT_NE(special, nullptr);
  EXPECT_STREQ(*special->GetValue(), "print");
  auto* stapler = dynamic_cast<PPDXPopupControl*>(AnyControl(*document, "*ZPStapler"));
  ASSERT_NE(stapler, nullptr);
  // A value continued over several lines keeps each line.
  std::vector<unsigned char> code(size_t(stapler->GetKeywordPSData("TopLeft", nullptr)) + 1, 0);
  stapler->GetKeywordPSData("TopLeft", code.data());
  EXPECT_NE(std::strstr(reinterpret_cast<const char*>(code.data()),
                        "3\n    /StapleDetails << /Type 1 /Position 0 >>\n  >> setpagedevice\n"),
            nullptr);
  UIConstraints* constraints = document->GetUIConstraints();
  EXPECT_FALSE(constraints->IsKVConstrained("*ZPDuplex", "Top"));
  constraints->UpdateKVCache("*ZPMediaType", "Transparency");
  EXPECT_TRUE(constraints->IsKVConstrained("*ZPDuplex", "Top"));
}

TEST(ZPXPPDTest, ReferencesAndDisplayOptionsAroundDestruction) {
  ZPXPPD::Options(DISPLAY_VISIBLE);
  ZPXPPD* document = new ZPXPPD(PARSE_ALL);
  EXPECT_EQ(Errors(*document), "");
  EXPECT_FALSE(document->IsValidPPD());
  document->Retain();
  EXPECT_FALSE(document->Release());
  EXPECT_TRUE(document->Release());
  EXPECT_EQ(ZPXPPD::Options(), DISPLAY_VISIBLE);
  ZPXPPD::Options(DISPLAY_ATTACHED_VISIBLE);
}

}  // namespace
