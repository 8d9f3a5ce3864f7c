#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXControlsAPI.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "support/DisplayOption.h"
#include "support/ModelControls.h"

namespace {

// Owns what a test builds, as the document owns every control and layout object.
class ElementOwner {
 public:
  ~ElementOwner() {
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

// Keyword and kind of each control the walk visits.
std::vector<std::string> ControlsWalked(PPDXControls& controls) {
  std::vector<std::string> seen;
  CNTL_TYPE type = CNTL_NONE;
  for (PPDXControl* control = GetFirst(&controls, type); control;
       control = GetNext(&controls, type))
    seen.push_back(std::string(control->Keyword()) + " " + std::to_string(type));
  return seen;
}

void Adopt(ElementOwner& owned, PPDXControls& controls) {
  CNTL_TYPE type;
  for (PPDXControl* control = controls.First(type); control; control = controls.Next(type))
    owned(control);
}

}  // namespace

TEST(PPDXControlsTest, HierarchySavedInOneStoreComesBackWhole) {
  DisplayOption all(DISPLAY_ALL);
  ElementOwner owned;
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
  auto blob = Unflattened(settings);
  ASSERT_TRUE(blob);

  PPDXProperties pagesBack(*blob);
  PPDXGroups groupsBack(*blob);
  PPDXControls controlsBack(*blob, nullptr);
  PPDXShortcuts shortcutsBack(*blob, &controlsBack);
  owned(pagesBack.First());
  std::vector<std::string> layout, rebuilt;
  for (PPDXGroup* group = groupsBack.First(); group; group = groupsBack.Next())
    layout.push_back(std::string(owned(group)->Keyword()) + " <" + ParentOf(group));
  EXPECT_EQ(layout,
            (std::vector<std::string>{"*Pane <*Page", "*PaperRoll <*Pane", "*FinishRoll <*Pane"}));
  CNTL_TYPE type;
  for (PPDXControl* control = controlsBack.First(type); control; control = controlsBack.Next(type))
    rebuilt.push_back(std::string(owned(control)->Keyword()) + " " + std::to_string(type) + " <" +
                      ParentOf(control));
  // Custom page sizes are made from the PPD, never from a store.
  EXPECT_EQ(rebuilt, (std::vector<std::string>{
                         "*PageSize 5 <*PaperRoll", "*ZPDuplexOn 4 <*PaperRoll",
                         "*Copies 2 <*PaperRoll", "*Gamma 3 <*PaperRoll", "*Notes1 1 <*FinishRoll",
                         "*ZPAccount 6 <*FinishRoll", "*Orphan 5 <", "*Hidden 4 <*FinishRoll"}));
  PPDXPopupControl* sizeBack = controlsBack.FindPopup("*PageSize", true);
  ASSERT_NE(sizeBack, nullptr);
  EXPECT_EQ(2, sizeBack->GetValue());
  EXPECT_TRUE(controlsBack.FindBoolean("*ZPDuplexOn", true)->IsTrue());
  EXPECT_FALSE(controlsBack.FindBoolean("*Hidden", true)->IsVisible());
  EXPECT_EQ(42, controlsBack.FirstRangeControl()->GetValue());
  EXPECT_FLOAT_EQ(2.5f, controlsBack.FirstFloatRangeControl()->GetValue());
  EXPECT_STREQ(controlsBack.FirstJobNote()->GetNotes(), "first note");
  EXPECT_STREQ(*controlsBack.FirstSpecialOption()->GetValue(), "4711");
  EXPECT_EQ(shortcutsBack.Count(), 2u);
  EXPECT_EQ(shortcutsBack.PageSize(), sizeBack);
  EXPECT_EQ(shortcutsBack.Find("*Orphan", true), controlsBack.FindPopup("*Orphan", true));

  // The values of the existing controls come back from the same store.
  copies->SetValue(7);
  note->SetNotes("changed");
  ASSERT_EQ(0, controls.Restore(*blob));
  EXPECT_EQ(42, copies->GetValue());
  EXPECT_STREQ(note->GetNotes(), "first note");
}

TEST(PPDXControlsTest, CountsAndFindsFollowTheDisplayOptionAsControlsWereAdded) {
  DisplayOption option(DISPLAY_ATTACHED_VISIBLE);
  ElementOwner owned;
  auto* roll = owned(new PPDXRollDown("*Roll", CFSTR("Roll"), true));
  auto* orphan = owned(model::Popup("*ZPDuplexOrphan", true, {"A"}, "A"));
  auto* attached = owned(model::Popup("*ZPDuplex", true, {"A"}, "A"));
  auto* hidden = owned(model::Popup("*Hidden", false, {"A"}, "A"));
  auto* hiddenOrphan = owned(model::Popup("*HiddenOrphan", false, {"A"}, "A"));
  auto* orphanNote = owned(model::JobNote("*Notes1", true, "n"));
  auto* hiddenNote = owned(model::JobNote("*Notes2", false, "n"));
  auto* custom = owned(model::CustomPageSize("*CustomPageSize"));
  for (PPDXControl* control : std::vector<PPDXControl*>{attached, hidden, hiddenNote, custom})
    control->SetParent(roll);
  PPDXControls controls;
  for (PPDXControl* control : std::vector<PPDXControl*>{orphan, attached, hidden, hiddenOrphan,
                                                        orphanNote, hiddenNote, custom})
    controls.Add(control);
  controls.Add(nullptr);

  // A hidden orphan leaves the strictest count once, not twice; job notes count
  // when visible whatever the option.
  const unsigned long popups[] = {1, 2, 2, 4};
  for (int value = 0; value < 4; ++value) {
    option.Set(value);
    EXPECT_EQ(popups[value], GetPopupCount(&controls)) << "display option " << value;
    EXPECT_EQ(1u, GetJobnoteCount(&controls)) << "display option " << value;
    EXPECT_EQ(popups[value] + 2, GetControlCount(&controls));  // and the custom page size
  }
  option.Set(9);
  EXPECT_TRUE(controls.NoPopups() && GetNoPopups(nullptr) && GetEmpty(nullptr));
  EXPECT_EQ(1u, controls.ControlCount());
  EXPECT_FALSE(controls.Empty());

  // Find sees displayable controls only; the kind's own find sees them all.
  option.Set(DISPLAY_ATTACHED_VISIBLE);
  CNTL_TYPE type = CNTL_NONE;
  EXPECT_EQ(Find(&controls, "Duplex", type, false), attached);
  EXPECT_EQ(CNTL_POPUP, type);
  EXPECT_EQ(Find(&controls, "Duplex", type, true), nullptr);
  EXPECT_EQ(GetFindPopup(&controls, "Duplex", false), orphan);
  EXPECT_EQ(GetFindBoolean(&controls, "Duplex", false), nullptr);

  // Giving the orphan a parent later shows it in walks but not in the counts.
  orphan->SetParent(roll);
  EXPECT_EQ(1u, controls.PopupCount());
  EXPECT_EQ(ControlsWalked(controls),
            (std::vector<std::string>{"*ZPDuplexOrphan 5", "*ZPDuplex 5", "*CustomPageSize 7"}));
  std::vector<std::string> notes;
  for (PPDXJobNote* note = GetFirstJobNote(&controls); note; note = GetNextJobNote(&controls))
    notes.push_back(note->Keyword());
  EXPECT_EQ(notes, (std::vector<std::string>{"*Notes1", "*Notes2"}));

  // Special options count whatever the option, but are no control to show.
  std::unique_ptr<PPDXSpecialOption> special(model::Special("*ZPAccount", "1"));
  PPDXControls specials;
  specials.Add(special.get());
  EXPECT_EQ(1u, specials.SpecialOptionsCount());
  EXPECT_TRUE(specials.Empty());
  EXPECT_EQ(0u, specials.ControlCount());
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
  auto blob = Unflattened(settings);
  ASSERT_TRUE(blob);

  DisplayOption all(DISPLAY_ALL);
  PPDXControls rebuilt(*blob, nullptr);
  ElementOwner owned;
  Adopt(owned, rebuilt);
  EXPECT_EQ(ControlsWalked(rebuilt), std::vector<std::string>{"*Notes2 1"});
  ASSERT_NE(PPDXJobNote::SharedConverter(), nullptr);
  EXPECT_EQ(TextConverter::LanguageStringToEncoding("JIS83-RKSJ"),
            PPDXJobNote::SharedConverter()->GetOutputEncoding());
  EXPECT_NE(TextConverter::LanguageStringToEncoding("JIS83-RKSJ"),
            TextConverter::LanguageStringToEncoding(nullptr));
}
