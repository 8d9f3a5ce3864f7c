#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/PPDObjects/PPDXShortcutsAPI.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"
#include "support/DisplayOption.h"
#include "support/ModelControls.h"
#include "support/WalkedKeywords.h"

namespace {

using PopupPtr = std::unique_ptr<PPDXPopupControl>;

}  // namespace

TEST(PPDXShortcutsTest, NamedLookupsFindTheWellKnownPopups) {
  PopupPtr slot(model::Popup("*InputSlot", true, {"Tray1"}, nullptr));
  PopupPtr duplex(model::Popup("*ZPDuplex", true, {"None"}, nullptr));
  PopupPtr size(model::Popup("*PageSize", true, {"A4"}, nullptr));
  PopupPtr orientation(model::Popup("*ZP_PAPER_ORIENTATION", true, {"Portrait"}, nullptr));
  PointerList list;
  for (PPDXPopupControl* popup : {slot.get(), duplex.get(), size.get(), orientation.get()})
    list.PushBack(popup);
  list.PushBack(nullptr);
  PPDXShortcuts shortcuts(list);

  EXPECT_EQ(GetInputSlotShortcut(&shortcuts), slot.get());
  EXPECT_EQ(GetDuplexShortcut(&shortcuts), duplex.get());
  EXPECT_EQ(GetPageSizeShortcut(&shortcuts), size.get());
  EXPECT_EQ(GetOrientationShortcut(&shortcuts), orientation.get());
  EXPECT_EQ(GetMediaSourceShortcut(&shortcuts), nullptr);
  EXPECT_EQ(GetTintoraShortcut(&shortcuts), nullptr);
  EXPECT_EQ(FindShortcut(&shortcuts, "PAPER", false), orientation.get());
  EXPECT_EQ(5u, GetShortcutCount(&shortcuts));
  EXPECT_EQ(WalkedKeywords(shortcuts, FirstShortcut, NextShortcut).size(), 4u);
  EXPECT_TRUE(IsShortcutsListEmpty(nullptr));
  EXPECT_EQ(GetPageSizeShortcut(nullptr), nullptr);
}

TEST(PPDXShortcutsTest, RestoredShortcutWithoutDisplayablePopupStaysAsNullEntry) {
  DisplayOption option(DISPLAY_ALL);
  PPDXRollDown roll("*Roll", CFSTR("Roll"), true);
  PopupPtr size(model::Popup("*PageSize", true, {"A4"}, nullptr));
  PopupPtr orphan(model::Popup("*InputSlot", true, {"Tray1"}, nullptr));
  std::unique_ptr<PPDXBooleanControl> boolean(model::Boolean("*Collate", true, false));
  size->SetParent(&roll);
  boolean->SetParent(&roll);
  PointerList list;
  list.PushBack(orphan.get());
  list.PushBack(size.get());
  PPDXShortcuts shortcuts(list);
  Settings settings;
  ASSERT_EQ(0, shortcuts.Save(settings));
  // A saved keyword that names a control of another kind finds no popup.
  ASSERT_EQ(0, settings.Add(FourCC("StCt"), 6003, "*Collate", 8));
  const SInt32 three = 3;
  ASSERT_EQ(0, settings.Add(FourCC("StCt"), 6000, &three, 4));

  PPDXControls controls;
  controls.Add(orphan.get());
  controls.Add(size.get());
  controls.Add(boolean.get());
  option.Set(DISPLAY_ATTACHED_VISIBLE);
  PPDXShortcuts restored(settings, &controls);
  EXPECT_EQ(3u, restored.Count());
  EXPECT_EQ(WalkedKeywords(restored, FirstShortcut, NextShortcut),
            std::vector<std::string>{"*PageSize"});

  // An empty entry names no popup but keeps its place in the sequence.
  Settings gap;
  const SInt32 two = 2;
  ASSERT_EQ(0, gap.Add(FourCC("StCt"), 6000, &two, 4));
  ASSERT_EQ(0, gap.Add(FourCC("StCt"), 6001, "", 0));
  ASSERT_EQ(0, gap.Add(FourCC("StCt"), 6002, "*PageSize", 9));
  PPDXShortcuts afterGap(gap, &controls);
  EXPECT_EQ(2u, afterGap.Count());
  EXPECT_EQ(WalkedKeywords(afterGap, FirstShortcut, NextShortcut),
            std::vector<std::string>{"*PageSize"});
  EXPECT_TRUE(PPDXShortcuts(settings, nullptr).Empty());
}

TEST(PPDXShortcutsTest, OtherKindsCountButOnlyPopupsAreWalkedSavedOrFound) {
  PopupPtr size(model::Popup("*PageSize", true, {"A4"}, nullptr));
  std::unique_ptr<PPDXBooleanControl> collate(model::Boolean("*Collate", true, false));
  PointerList list;
  list.PushBack(static_cast<PPDXControl*>(collate.get()));
  list.PushBack(static_cast<PPDXControl*>(size.get()));
  PPDXShortcuts shortcuts(list);
  EXPECT_EQ(2u, shortcuts.Count());
  EXPECT_EQ(shortcuts.First(), size.get());
  EXPECT_EQ(shortcuts.Next(), nullptr);
  EXPECT_EQ(shortcuts.Find("*Collate", true), nullptr);
  EXPECT_EQ(shortcuts.Find("Size", false), size.get());

  Settings settings;
  ASSERT_EQ(0, shortcuts.Save(settings));
  std::unique_ptr<CString> first(GetSettingsString(settings, FourCC("StCt"), 6001));
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(*first, "*PageSize");
  EXPECT_EQ(std::unique_ptr<CString>(GetSettingsString(settings, FourCC("StCt"), 6002)), nullptr);
}

TEST(PPDXShortcutsTest, EveryCountedShortcutComesBackThoughOnlyOneWasSaved) {
  DisplayOption option(DISPLAY_ALL);
  PopupPtr size(model::Popup("*PageSize", true, {"A4"}, nullptr));
  PointerList list;
  list.PushBack(size.get());
  list.PushBack(nullptr);
  list.PushBack(nullptr);
  Settings settings;
  ASSERT_EQ(0, PPDXShortcuts(list).Save(settings));

  PPDXControls controls;
  controls.Add(size.get());
  PPDXShortcuts restored(settings, &controls);
  EXPECT_EQ(3u, restored.Count());
  EXPECT_EQ(WalkedKeywords(restored, FirstShortcut, NextShortcut),
            std::vector<std::string>{"*PageSize"});

  // A forged count makes no more entries than a saved list could hold.
  Settings forged;
  const SInt32 huge = 0x7fffffff;
  ASSERT_EQ(0, forged.Add(FourCC("StCt"), 6000, &huge, 4));
  PPDXShortcuts bounded(forged, &controls);
  EXPECT_LE(bounded.Count(), 1u << 16);
  EXPECT_TRUE(bounded.First() == nullptr);
}
