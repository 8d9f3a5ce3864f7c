#include "PPDX/PPDObjects/PPDXControls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXControlsAPI.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "support/ModelControls.h"
#include "support/ModelStore.h"

namespace {

// Owns what a test builds, as the document owns every control and layout object.
class Owned {
 public:
  ~Owned() {
    for (PPDXElement* element : mElements) delete element;
  }
  template <class T>
  T* operator()(T* element) {
    mElements.push_back(element);
    return element;
  }

 private:
  std::vector<PPDXElement*> mElements;
};

std::string ParentOf(PPDXElement* element) {
  std::unique_ptr<CString> keyword(element->TakeParentKeyword());
  return keyword ? std::string(*keyword) : "";
}

struct Seen {
  std::string keyword;
  CNTL_TYPE type;
  bool operator==(const Seen& other) const {
    return keyword == other.keyword && type == other.type;
  }
};

std::vector<Seen> Walk(PPDXControls& controls) {
  std::vector<Seen> seen;
  CNTL_TYPE type = CNTL_NONE;
  for (PPDXControl* control = GetFirst(&controls, type); control; control = GetNext(&controls, type))
    seen.push_back({control->Keyword(), type});
  return seen;
}

void Adopt(Owned& owned, PPDXControls& controls) {
  CNTL_TYPE type;
  for (PPDXControl* control = controls.First(type); control; control = controls.Next(type))
    owned(control);
}

}  // namespace

TEST(PPDXControlsTest, HierarchySavedInOneStoreComesBackWhole) {
  DisplayOption all(DISPLAY_ALL);
  Owned owned;
  auto* page = owned(new PPDXProperty("*Page", CFSTR("Page"), true, true, false));
  auto* pane = owned(new PPDXScrollPane("*Pane", CFSTR("Pane"), true));
  auto* paper = owned(new PPDXRollDown("*PaperRoll", CFSTR("Paper"), true));
  auto* finish = owned(new PPDXRollDown("*FinishRoll", CFSTR("Finish"), true));
  pane->SetParent(page);
  page->SetScrollDown(pane);
  for (PPDXRollDown* rollDown : {paper, finish}) {
    rollDown->SetParent(pane);
    pane->RollDowns()->Add(rollDown);
  }
  auto* size = owned(model::Popup("*PageSize", true, {"A4", "Letter"}, "A4"));
  auto* duplex = owned(model::Boolean("*ZPDuplexOn", true, false));
  auto* copies = owned(model::Range("*Copies", true, 1));
  auto* gamma = owned(model::FloatRange("*Gamma", true, 1.0));
  auto* note = owned(model::JobNote("*Notes1", true, "first note"));
  auto* special = owned(model::Special("*ZPAccount", "4711"));
  auto* custom = owned(model::CustomPageSize("*CustomPageSize"));
  auto* orphan = owned(model::Popup("*Orphan", true, {"X", "Y"}, "Y"));
  auto* hidden = owned(model::Boolean("*Hidden", false, true));
  size->SetKeywordSelect("Letter", true);
  duplex->SetValue(true);
  copies->SetValue(42);
  gamma->SetValue(2.5f);
  for (PPDXControl* control : std::vector<PPDXControl*>{size, duplex, copies, gamma})
    control->SetParent(paper);
  for (PPDXControl* control : std::vector<PPDXControl*>{note, special, custom, hidden})
    control->SetParent(finish);

  PPDXControls controls;
  for (PPDXControl* control : std::vector<PPDXControl*>{size, duplex, copies, gamma, note, special,
                                                        custom, orphan, hidden}) {
    controls.Add(control);
    if (control->GetParent() != nullptr)
      static_cast<PPDXRollDown*>(control->GetParent())->Controls()->Add(control);
  }
  PPDXGroups groups;
  for (PPDXGroup* group : std::vector<PPDXGroup*>{pane, paper, finish}) groups.Add(group);
  PPDXProperties pages;
  pages.Add(page);
  PointerList shortcutList;
  shortcutList.PushBack(size);
  shortcutList.PushBack(orphan);
  PPDXShortcuts shortcuts(shortcutList);

  Settings settings;
  ASSERT_EQ(0, settings.Add(1000, 1007, "English", 7));
  ASSERT_EQ(0, pages.Save(settings));
  ASSERT_EQ(0, groups.Save(settings));
  ASSERT_EQ(0, controls.Save(settings));
  ASSERT_EQ(0, shortcuts.Save(settings));
  auto blob = ThroughBlob(settings);
  ASSERT_TRUE(blob);

  PPDXProperties pagesBack(*blob);
  PPDXGroups groupsBack(*blob);
  PPDXControls controlsBack(*blob, nullptr);
  PPDXShortcuts shortcutsBack(*blob, &controlsBack);
  PPDXProperty* pageBack = owned(pagesBack.First());
  ASSERT_NE(pageBack, nullptr);
  EXPECT_STREQ(pageBack->Keyword(), "*Page");
  EXPECT_TRUE(pageBack->ShowInPrintProp());
  std::vector<std::string> groupParents;
  for (PPDXGroup* group = groupsBack.First(); group; group = groupsBack.Next())
    groupParents.push_back(std::string(owned(group)->Keyword()) + "<" + ParentOf(group));
  EXPECT_EQ(groupParents, (std::vector<std::string>{"*Pane<*Page", "*PaperRoll<*Pane",
                                                    "*FinishRoll<*Pane"}));
  Adopt(owned, controlsBack);

  // Custom page sizes are made from the PPD, never from a store.
  const std::vector<Seen> expected = {
      {"*PageSize", CNTL_POPUP},       {"*ZPDuplexOn", CNTL_BOOLEAN}, {"*Copies", CNTL_RANGE},
      {"*Gamma", CNTL_FLOATRANGE},     {"*Notes1", CNTL_JOBNOTE},     {"*ZPAccount", CNTL_SPECIAL},
      {"*Orphan", CNTL_POPUP},         {"*Hidden", CNTL_BOOLEAN}};
  EXPECT_EQ(Walk(controlsBack), expected);
  PPDXPopupControl* sizeBack = controlsBack.FindPopup("*PageSize", true);
  ASSERT_NE(sizeBack, nullptr);
  EXPECT_EQ(2, sizeBack->GetValue());
  EXPECT_TRUE(controlsBack.FindBoolean("*ZPDuplexOn", true)->IsTrue());
  EXPECT_FALSE(controlsBack.FindBoolean("*Hidden", true)->IsVisible());
  EXPECT_EQ(42, controlsBack.FirstRangeControl()->GetValue());
  EXPECT_FLOAT_EQ(2.5f, controlsBack.FirstFloatRangeControl()->GetValue());
  EXPECT_STREQ(controlsBack.FirstJobNote()->GetNotes(), "first note");
  EXPECT_STREQ(*controlsBack.FirstSpecialOption()->GetValue(), "4711");
  std::vector<std::string> parents;
  CNTL_TYPE type;
  for (PPDXControl* control = controlsBack.First(type); control; control = controlsBack.Next(type))
    parents.push_back(ParentOf(control));
  EXPECT_EQ(parents, (std::vector<std::string>{"*PaperRoll", "*PaperRoll", "*PaperRoll",
                                               "*PaperRoll", "*FinishRoll", "*FinishRoll", "",
                                               "*FinishRoll"}));
  EXPECT_EQ(shortcutsBack.Count(), 2u);
  EXPECT_EQ(shortcutsBack.PageSize(), sizeBack);
  EXPECT_EQ(shortcutsBack.Find("*Orphan", true), controlsBack.FindPopup("*Orphan", true));

  // The values of the existing controls come back from the same store.
  size->SetValue(1);
  copies->SetValue(7);
  note->SetNotes("changed");
  ASSERT_EQ(0, controls.Restore(*blob));
  EXPECT_EQ(2, size->GetValue());
  EXPECT_EQ(42, copies->GetValue());
  EXPECT_STREQ(note->GetNotes(), "first note");
}

TEST(PPDXControlsTest, CountsTakeControlsAsTheyWereWhenAdded) {
  DisplayOption option(DISPLAY_ATTACHED_VISIBLE);
  Owned owned;
  auto* roll = owned(new PPDXRollDown("*Roll", CFSTR("Roll"), true));
  auto* attached = owned(model::Popup("*Attached", true, {"A"}, "A"));
  auto* orphan = owned(model::Popup("*Orphan", true, {"A"}, "A"));
  auto* hidden = owned(model::Popup("*Hidden", false, {"A"}, "A"));
  auto* hiddenOrphan = owned(model::Popup("*HiddenOrphan", false, {"A"}, "A"));
  auto* orphanNote = owned(model::JobNote("*Notes1", true, "n"));
  auto* hiddenNote = owned(model::JobNote("*Notes2", false, "n"));
  auto* custom = owned(model::CustomPageSize("*CustomPageSize"));
  attached->SetParent(roll);
  hidden->SetParent(roll);
  hiddenNote->SetParent(roll);
  custom->SetParent(roll);
  PPDXControls controls;
  for (PPDXControl* control : std::vector<PPDXControl*>{attached, orphan, hidden, hiddenOrphan,
                                                        orphanNote, hiddenNote, custom})
    controls.Add(control);
  controls.Add(nullptr);

  // A hidden orphan leaves the strictest count once, not twice.
  const unsigned long popups[] = {1, 2, 2, 4};
  for (int value = 0; value < 4; ++value) {
    option.Set(value);
    EXPECT_EQ(popups[value], GetPopupCount(&controls)) << "display option " << value;
    EXPECT_EQ(1u, GetJobnoteCount(&controls)) << "display option " << value;
    // The popups, the one visible note and the custom page size.
    EXPECT_EQ(popups[value] + 2, GetControlCount(&controls));
    EXPECT_FALSE(GetNoPopups(&controls) || GetEmpty(&controls));
  }
  option.Set(9);
  EXPECT_TRUE(controls.NoPopups() && controls.NoRangeControls());
  EXPECT_EQ(1u, controls.ControlCount());
  EXPECT_FALSE(controls.Empty());

  // Giving the orphan a parent later shows it in walks but not in the counts.
  option.Set(DISPLAY_ATTACHED_VISIBLE);
  orphan->SetParent(roll);
  EXPECT_EQ(1u, controls.PopupCount());
  EXPECT_EQ(Walk(controls),
            (std::vector<Seen>{{"*Attached", CNTL_POPUP}, {"*Orphan", CNTL_POPUP},
                               {"*CustomPageSize", CNTL_CUSTOMPAGESIZE}}));
  // Kind walks show every control of the kind.
  std::vector<std::string> notes;
  for (PPDXJobNote* note = GetFirstJobNote(&controls); note; note = GetNextJobNote(&controls))
    notes.push_back(note->Keyword());
  EXPECT_EQ(notes, (std::vector<std::string>{"*Notes1", "*Notes2"}));
  EXPECT_EQ(PPDXDisplayOptions::Options(), DISPLAY_ATTACHED_VISIBLE);

  EXPECT_TRUE(GetNoPopups(nullptr) && GetNoJobNotes(nullptr) && GetEmpty(nullptr) &&
              GetNoBooleanControls(nullptr) && GetNoRangeControls(nullptr) &&
              GetNoFloatRangeControls(nullptr));
  EXPECT_EQ(0u, GetPopupCount(nullptr) + GetControlCount(nullptr) + GetJobnoteCount(nullptr));
  CNTL_TYPE type;
  EXPECT_EQ(GetFirst(nullptr, type), nullptr);
}

TEST(PPDXControlsTest, SpecialOptionsAlwaysCountButNeverMakeAControl) {
  DisplayOption option(DISPLAY_ATTACHED_VISIBLE);
  std::unique_ptr<PPDXSpecialOption> first(model::Special("*ZPAccount", "1"));
  PointerList flags;
  PPDXSpecialOption hidden("*ZPHidden", CFSTR("Hidden"), flags, nullptr, nullptr, 0, false);
  PPDXControls controls;
  controls.Add(first.get());
  controls.Add(&hidden);
  EXPECT_EQ(2u, controls.SpecialOptionsCount());
  EXPECT_FALSE(controls.NoSpecialOptions());
  EXPECT_TRUE(controls.Empty());
  EXPECT_EQ(0u, controls.ControlCount());
  CNTL_TYPE type;
  EXPECT_EQ(controls.First(type), nullptr);
  EXPECT_EQ(controls.FindSpecialOption("Hidden", false), &hidden);
  EXPECT_EQ(controls.FirstSpecialOption(), first.get());
  EXPECT_EQ(controls.NextSpecialOption(), &hidden);
  EXPECT_EQ(controls.NextSpecialOption(), nullptr);
}

TEST(PPDXControlsTest, FindMatchesWholeOrContainedKeywordsAmongDisplayableControls) {
  DisplayOption option(DISPLAY_ATTACHED_VISIBLE);
  Owned owned;
  auto* roll = owned(new PPDXRollDown("*Roll", CFSTR("Roll"), true));
  auto* duplex = owned(model::Popup("*ZPDuplex", true, {"None"}, "None"));
  auto* orphan = owned(model::Popup("*ZPDuplexOrphan", true, {"None"}, "None"));
  auto* range = owned(model::Range("*Copies", true, 1));
  duplex->SetParent(roll);
  range->SetParent(roll);
  PPDXControls controls;
  controls.Add(orphan);
  controls.Add(duplex);
  controls.Add(range);

  CNTL_TYPE type = CNTL_NONE;
  EXPECT_EQ(Find(&controls, "Duplex", type, false), duplex);
  EXPECT_EQ(CNTL_POPUP, type);
  EXPECT_EQ(Find(&controls, "Duplex", type, true), nullptr);
  EXPECT_EQ(Find(&controls, "*zpduplex", type, true), nullptr);
  EXPECT_EQ(Find(&controls, nullptr, type, false), nullptr);
  EXPECT_EQ(Find(&controls, "opies", type, false), range);
  EXPECT_EQ(CNTL_RANGE, type);
  // The kind's own find sees the orphan too.
  EXPECT_EQ(GetFindPopup(&controls, "Duplex", false), orphan);
  EXPECT_EQ(GetFindPopup(&controls, "*ZPDuplex", true), duplex);
  EXPECT_EQ(GetFindRangeControl(&controls, "Copies", false), range);
  EXPECT_EQ(GetFindBoolean(&controls, "Copies", false), nullptr);
  EXPECT_EQ(GetFindJobNote(nullptr, "Copies", false), nullptr);
}

TEST(PPDXControlsTest, RebuildSkipsIndexesItCannotPlaceAndGivesNotesTheLanguage) {
  // Job notes share one converter, set up by whichever note comes first.
  ASSERT_EQ(0, PPDXJobNote::SharedConverterUsers());
  Settings settings;
  {
    std::unique_ptr<PPDXJobNote> note(model::JobNote("*Notes2", true, "x"));
    ASSERT_EQ(0, note->Save(settings, 5002));
  }
  const SInt32 count = 1 << 30;
  ASSERT_EQ(0, settings.Add(5000, 5002, &count, 4));
  ASSERT_EQ(0, settings.Add(FourCC("KyWd"), 5001, "*Unmarked", 9));
  ASSERT_EQ(0, settings.Add(1000, 1007, "JIS83-RKSJ", 10));
  auto blob = ThroughBlob(settings);
  ASSERT_TRUE(blob);

  DisplayOption all(DISPLAY_ALL);
  PPDXControls rebuilt(*blob, nullptr);
  Owned owned;
  Adopt(owned, rebuilt);
  EXPECT_EQ(Walk(rebuilt), (std::vector<Seen>{{"*Notes2", CNTL_JOBNOTE}}));
  ASSERT_NE(PPDXJobNote::SharedConverter(), nullptr);
  EXPECT_EQ(TextConverter::LanguageStringToEncoding("JIS83-RKSJ"),
            PPDXJobNote::SharedConverter()->GetOutputEncoding());
  EXPECT_NE(TextConverter::LanguageStringToEncoding("JIS83-RKSJ"),
            TextConverter::LanguageStringToEncoding(nullptr));
}
