#include "security/ZPXJobNoteList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "security/JobNoteGlobalsTest.h"
#include "security/SpecialOptionValue.h"
#include "support/ModelControls.h"
#include "support/ParsedDocument.h"

namespace {

class ZPXJobNoteListTest : public JobNoteGlobalsTest {};

std::vector<std::string> Keywords(const ZPXJobNoteList& list) {
  std::vector<std::string> keywords;
  for (LinkElementDualIterator position(list); *position != nullptr; ++position)
    keywords.push_back(static_cast<ZPXJobNote*>(*position)->Control()->Keyword());
  return keywords;
}

TEST_F(ZPXJobNoteListTest, OneNotePerJobNoteControlInCollectionOrder) {
  std::unique_ptr<ZPXPPD> document = ParseText(
      "*PPD-Adobe: \"4.3\"\n"
      "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
      "*%ZPXGroupName FPZPNotes/Notes: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
      "*%ZPXParent FPZPNotes/Pane: True|Rolldown\n"
      "*%ZPXJobNote *Notes1/Notes: 40|Alpha\n"
      "*%ZPXSpecialOption *UseSpecialKey: 2\n"
      "*%ZPXJobNote *ZPSecurePIN/PIN: 8|Numeric|Password|Encrypt\n"
      "*%ZPXFlags *ZPTray: Setup\n*%ZPXGroup *ZPTray FPZPNotes/Tray\n*OpenUI *ZPTray/Tray: "
      "PickOne\n*DefaultZPTray: A\n"
      "*ZPTray A/A: \"\"\n*CloseUI: *ZPTray\n"
      "*%ZPXJobNote *ZPUserAuthPwd/Password: 32|Password\n"
      "*%ZPXJobNote *ZPAccount/Account: 16|Numeric\n");
  ASSERT_EQ(Errors(*document), "");
  gUserAuthNameWasInited = false;
  ZPXJobNoteList list(document.get(), false);
  EXPECT_TRUE(gUserAuthNameWasInited);
  EXPECT_TRUE(list.isValid());
  EXPECT_EQ(list.Error(), 0);
  EXPECT_EQ(Keywords(list),
            (std::vector<std::string>{"*Notes1", "*ZPSecurePIN", "*ZPUserAuthPwd", "*ZPAccount"}));
  EXPECT_EQ(list.countProtectedFields(), 2);

  ASSERT_NE(list.find("*ZPAccount"), nullptr);
  EXPECT_EQ(list.find("*ZPAccount"), list.index(3));
  EXPECT_EQ(list.find("*ZPAcc"), nullptr);
  EXPECT_EQ(list.find("*ZPTray"), nullptr);
  EXPECT_EQ(list.find(nullptr), nullptr);

  // Built to keep notes on, every control is switched on.
  ZPXJobNoteList kept(document.get(), true);
  EXPECT_FALSE(gUserAuthNameWasInited);
  for (LinkElementDualIterator position(kept); *position != nullptr; ++position)
    EXPECT_TRUE(static_cast<ZPXJobNote*>(*position)->Control()->GetNotesOnValue());
}

TEST_F(ZPXJobNoteListTest, DocumentsWithoutNotesGiveEmptyValidLists) {
  std::unique_ptr<ZPXPPD> document = ParseText("*PPD-Adobe: \"4.3\"\n");
  ZPXJobNoteList empty(document.get(), false);
  EXPECT_EQ(empty.count(), 0);
  EXPECT_TRUE(empty.isValid());
  EXPECT_EQ(empty.countProtectedFields(), 0);
  EXPECT_EQ(empty.find("*Notes1"), nullptr);

  ZPXJobNoteList none(nullptr, false);
  EXPECT_EQ(none.count(), 0);
  EXPECT_TRUE(none.isValid());
}

// The list counts in 16 bits: notes past the count's end are left out, not
// wrapped over the first ones.
TEST_F(ZPXJobNoteListTest, AtMostTheNotesTheListCanCount) {
  ZPXPPD document(PARSE_ALL);  // owns the controls added
  std::vector<PPDXJobNote*> controls;
  for (int i = 0; i < 65536 + 2; ++i) {
    controls.push_back(model::JobNote("*ZPNote", true, ""));
    document.GetControls()->Add(controls.back());
  }
  ZPXJobNoteList list(&document, false);
  EXPECT_EQ(list.count(), 65535);
  EXPECT_TRUE(list.isValid());
  EXPECT_EQ(static_cast<ZPXJobNote*>(list.index(65534))->Control(), controls[65534]);
}

// Every kind of note the output treats on its own can be reached from the
// bundled sample.
TEST_F(ZPXJobNoteListTest, TheSampleHasTheNotesOfEveryCommentLine) {
  std::unique_ptr<ZPXPPD> document = ParseFile(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
  ZPXJobNoteList list(document.get(), false);
  std::vector<std::string> indexes;
  for (LinkElementDualIterator position(list); *position != nullptr; ++position) {
    short index = 0;
    auto* note = static_cast<ZPXJobNote*>(*position);
    if (note->specialKeyword(&index))
      indexes.push_back(std::string(note->Control()->Keyword()) + "=" + std::to_string(index));
  }
  EXPECT_EQ(indexes,
            (std::vector<std::string>{"*Notes1=0", "*Instruct=2", "*DeptPassword=5",
                                      "*ZPXPrintTime=8", "*ZPUserAuthName=6", "*ZPUserAuthPwd=7"}));
  short index = 0;
  ASSERT_NE(list.find("*ZPMailboxNum"), nullptr);
  EXPECT_FALSE(list.find("*ZPMailboxNum")->specialKeyword(&index));
  // The PIN, the department, the directory and the workflow server passwords.
  EXPECT_EQ(list.countProtectedFields(), 4);
  EXPECT_TRUE(list.find("*DeptPassword")->Control()->IsEncrypt());
  EXPECT_TRUE(list.find("*ZPXPrintTime")->checkRangeValues("22:30"));
  EXPECT_FALSE(list.find("*ZPXPrintTime")->checkRangeValues("2230"));

  EXPECT_TRUE(SpecialOptionIs(document.get(), "*ZPXAuthenticateWithLDAP", "True"));
  EXPECT_TRUE(SpecialOptionIs(document.get(), "*CopierUserAuth", "True"));
  EXPECT_FALSE(SpecialOptionIs(document.get(), "*CopierUserAuth", "Tru"));
  EXPECT_EQ(SpecialOptionValue(document.get(), "*ZPNoSuchOption"), nullptr);
}

}  // namespace
