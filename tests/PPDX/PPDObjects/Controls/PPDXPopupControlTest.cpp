#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControlAPI.h"
#include "carbon/MacErrors.h"
#include "foundation/DocumentStorage.h"
#include "foundation/PointerListOf.h"
#include "foundation/SettingsStrings.h"
#include "support/ControlTestSupport.h"
#include "support/KVProbe.h"

namespace {

std::unique_ptr<PPDXPopupControl> TrayPopup(const std::vector<Choice>& choices, const char* def,
                                            bool pickMany = false, UIConstraints* set = nullptr,
                                            const char* keyword = "*Tray") {
  PointerList flags, items = Items(choices);
  return std::make_unique<PPDXPopupControl>(keyword, CFSTR("Input tray"), flags, true, pickMany,
                                            false, items, def ? new CString(def) : nullptr, set);
}

std::string TrayFeature(const char* choice, const char* code) {
  return std::string("%%BeginFeature: *Tray ") + choice + "\n" + code + "%%EndFeature\n";
}

const std::vector<Choice> kABC = {
    {"A", "Tray A", "1 tray\n"}, {"B", "Tray B", "2 tray\n"}, {"C", "Tray C", "3 tray\n"}};

TEST(PPDXPopupControlTest, PickOneFollowsPositionsAndTheDefault) {
  KVProbe probe("*Tray", {"A", "B", "C"});
  auto popup = TrayPopup(kABC, "B", false, &probe.constraints);
  EXPECT_EQ(2, GetPopupValue(popup.get()));
  EXPECT_EQ(2, GetPopupDefaultValue(popup.get()));
  EXPECT_TRUE(probe.Current("B"));
  EXPECT_EQ(Emitted(*popup), TrayFeature("B", "2 tray\n"));

  SetPopupValue(popup.get(), 5);  // outside the list: nothing selected, B still current
  EXPECT_EQ(0, popup->GetValue());
  EXPECT_FALSE(popup->IsKeywordSelected("B"));
  EXPECT_EQ(Emitted(*popup), TrayFeature("B", "2 tray\n"));

  popup->SetValue(3);
  EXPECT_TRUE(probe.Current("C"));
  EXPECT_TRUE(popup->IsKeywordSelected("C") && !popup->IsKeywordSelected("A"));
  popup->ResetToDefaultValue();
  EXPECT_EQ(2, popup->GetValue());

  popup->SetCurrentControlWithCFString(CFSTR("A"));
  popup->SetCurrentControlWithCFString(CFSTR("a"));  // keywords compare case-sensitively
  EXPECT_EQ(1, popup->GetValue());

  // A choice nobody has unselects everything in a single-choice popup.
  EXPECT_FALSE(SetKeywordSelect(popup.get(), "Z", true));
  EXPECT_EQ(0, popup->GetValue());
  EXPECT_FALSE(probe.Current("A"));
  EXPECT_EQ(Emitted(*popup), TrayFeature("A", "1 tray\n"));
}

TEST(PPDXPopupControlTest, PickManyKeepsOtherSelections) {
  KVProbe probe("*Tray", {"A", "B", "C"});
  auto popup = TrayPopup(kABC, nullptr, true, &probe.constraints);
  EXPECT_TRUE(CanSelectMultipleItems(popup.get()));
  EXPECT_EQ(0, popup->PostScript(nullptr));
  EXPECT_EQ(nullptr, popup->CopyCurrentControlValueString());

  EXPECT_TRUE(popup->SetKeywordSelect("A", true));
  EXPECT_TRUE(popup->SetKeywordSelect("C", true));
  EXPECT_TRUE(popup->IsKeywordSelected("A") && popup->IsKeywordSelected("C"));
  EXPECT_FALSE(popup->IsKeywordSelected("B"));
  EXPECT_EQ(Emitted(*popup), TrayFeature("C", "3 tray\n"));
  EXPECT_TRUE(probe.Current("C"));

  EXPECT_TRUE(popup->SetKeywordSelect("A", false));
  EXPECT_FALSE(popup->IsKeywordSelected("A"));
  EXPECT_TRUE(popup->IsKeywordSelected("C"));
  EXPECT_TRUE(probe.Current("A"));  // unselecting reports too
  EXPECT_EQ(3, popup->GetValue());
}

TEST(PPDXPopupControlTest, ChoicesAnswerWithTheirCodeAndNames) {
  auto popup = TrayPopup({{"Auto", nullptr, nullptr},
                          {"Manual", "Manual feed", "m\n"},
                          {"Manual", "Hand feed", nullptr}},
                         nullptr);
  std::vector<unsigned char> out(size_t(GetKeywordPSData(popup.get(), "Auto", nullptr)));
  popup->GetKeywordPSData("Auto", out.data());
  EXPECT_EQ(std::string(out.begin(), out.end()), TrayFeature("Auto", "\n"));
  EXPECT_EQ(0,
            popup->GetKeywordPSData("None", nullptr) + popup->GetKeywordPSData(nullptr, nullptr));
  // The first choice of a keyword gives the code, the last one the name.
  EXPECT_EQ(popup->GetKeywordPSData("Manual", nullptr), long(TrayFeature("Manual", "m\n").size()));
  EXPECT_STREQ(GetKeywordLocalName(popup.get(), "Manual"), "Hand feed");
  EXPECT_EQ(popup->GetKeywordLocalName("Auto"), nullptr);
  EXPECT_EQ(popup->GetKeywordCFLocalName("Nothing"), nullptr);
  popup->FirstItem()->psLength = -4;  // a broken length is no code
  EXPECT_EQ(popup->GetKeywordPSData("Auto", nullptr), long(TrayFeature("Auto", "\n").size()));

  PopupItemInfo info = {"stale", CFSTR("stale")};
  ASSERT_TRUE(FirstItem(popup.get(), &info));
  EXPECT_STREQ(info.keyword, "Auto");
  EXPECT_EQ(info.displayName, nullptr);
  ASSERT_TRUE(NextItem(popup.get(), &info) && NextItem(popup.get(), &info));
  EXPECT_EQ(info.displayName, popup->GetKeywordCFLocalName("Manual"));
  EXPECT_FALSE(NextItem(popup.get(), &info));
  EXPECT_EQ(info.keyword, nullptr);
  EXPECT_FALSE(NextItem(popup.get(), &info) || FirstItem(nullptr, &info));
  EXPECT_EQ(PopupItemCount(nullptr) + GetPopupValue(nullptr), 0);

  // A name the system encoding cannot hold reads as the converter's error text.
  const UniChar unpaired[] = {'T', 'r', 'a', 'y', ' ', 0xD800};
  auto* broken = new _PopupItem;
  broken->keyword = new CString("Broken");
  broken->name = CFStringCreateWithCharacters(nullptr, unpaired, 6);
  popup->AppendPopupItem(broken);
  EXPECT_STREQ(popup->GetKeywordLocalName("Broken"), "Translation Error");
}

TEST(PPDXPopupControlTest, LongListsNeverOverwriteTheNextControl) {
  std::vector<std::string> keywords;
  for (int i = 0; i < 150; ++i) keywords.push_back("K" + std::to_string(i));
  std::vector<Choice> many;
  for (const std::string& keyword : keywords) many.push_back({keyword.c_str(), "n", "x\n"});
  auto longList = TrayPopup(many, "K120");
  auto next = TrayPopup(kABC, "C", false, nullptr, "*Next");
  Settings settings;
  ASSERT_EQ(noErr, longList->Save(settings, 5001));
  ASSERT_EQ(noErr, next->Save(settings, 5002));
  std::unique_ptr<CString> second(GetSettingsString(settings, FourCC("PCIK"), 500201));
  EXPECT_STREQ(*second, "B");  // the first 100 items keep their places

  auto copy = Unflattened(settings);
  PPDXPopupControl longBack(*copy, 5001, nullptr), nextBack(*copy, 5002, nullptr);
  ASSERT_EQ(150, longBack.ItemCount());
  int i = 0;
  for (_PopupItem* item = longBack.FirstItem(); item; item = longBack.NextItem(), ++i)
    EXPECT_STREQ(*item->keyword, keywords[size_t(i)].c_str());
  EXPECT_EQ(121, longBack.GetValue());
  EXPECT_EQ(3, nextBack.ItemCount());
  EXPECT_STREQ(*nextBack.FirstItem()->keyword, "A");
  EXPECT_EQ(3, nextBack.GetValue());

  longList->SetValue(150);
  Settings changed;
  ASSERT_EQ(noErr, longList->Save(changed, 5001));
  EXPECT_EQ(noErr, longBack.Restore(changed, 5001));
  EXPECT_EQ(150, longBack.GetValue());
}

TEST(PPDXPopupControlTest, ForgedItemCountStopsAtTheFirstMissingItem) {
  auto saved = TrayPopup(kABC, "B");
  Settings settings;
  ASSERT_EQ(noErr, saved->Save(settings, 5001));
  // A count far beyond the items the blob holds makes no item of its own.
  const SInt32 forged = 1000000;
  ASSERT_EQ(noErr, settings.Set(FourCC("PCIC"), 5001, &forged, 4));
  PPDXPopupControl rebuilt(settings, 5001, nullptr);
  EXPECT_EQ(3, rebuilt.ItemCount());
  EXPECT_EQ(2, rebuilt.GetValue());
  EXPECT_EQ(Emitted(rebuilt), TrayFeature("B", "2 tray\n"));

  // Every saved item has its selected entry: the first one missing ends the list,
  // even where later items are complete.
  ASSERT_EQ(noErr, settings.Remove(FourCC("PCIS"), 500101));
  PPDXPopupControl cut(settings, 5001, nullptr);
  ASSERT_EQ(1, cut.ItemCount());
  EXPECT_STREQ(*cut.FirstItem()->keyword, "A");
}

TEST(PPDXPopupControlTest, RestoreTakesSelectionsBack) {
  auto saved = TrayPopup(kABC, "A");
  saved->SetValue(3);
  Settings settings;
  ASSERT_EQ(noErr, saved->Save(settings, 5001));
  auto popup = TrayPopup(kABC, "A");
  EXPECT_EQ(noErr, popup->Restore(settings, 5001));
  EXPECT_EQ(3, popup->GetValue());
  EXPECT_EQ(Emitted(*popup), TrayFeature("C", "3 tray\n"));
  Settings empty;
  EXPECT_EQ(collectionItemNotFoundErr, popup->Restore(empty, 5001));
  EXPECT_EQ(3, popup->GetValue());

  // Names stored as plain text are read when no platform string is there.
  const SInt32 one = 1;
  ASSERT_EQ(noErr, empty.Add(FourCC("PCIC"), 5001, &one, 4));
  ASSERT_EQ(noErr, empty.Add(FourCC("PCIK"), 500100, "Upper", 5));
  ASSERT_EQ(noErr, empty.Add(FourCC("PCIN"), 500100, "Upper tray\0", 11));
  ASSERT_EQ(noErr, empty.Add(FourCC("PCIS"), 500100, &one, 4));
  PPDXPopupControl fromText(empty, 5001, nullptr);
  EXPECT_STREQ(fromText.GetKeywordLocalName("Upper"), "Upper tray");
  EXPECT_EQ(1, fromText.GetValue());
}

TEST(PPDXPopupControlTest, RebuildKeepsTheUsersChoice) {
  auto fresh = TrayPopup(kABC, nullptr);
  PointerList replacement = Items({{"X", nullptr, nullptr}});
  EXPECT_FALSE(fresh->Rebuild("Other", replacement, nullptr));
  EXPECT_EQ(3, fresh->ItemCount());
  PointerListOf<_PopupItem>(replacement).DeleteAll();

  auto popup = TrayPopup(kABC, "A");
  popup->SetValue(3);
  PointerList items =
      Items({{"B", nullptr, "b\n"}, {"C", nullptr, "c\n"}, {"D", nullptr, nullptr}});
  EXPECT_TRUE(popup->Rebuild("Paper source", items, new CString("B")));
  EXPECT_STREQ(popup->UserName(), "Paper source");
  EXPECT_EQ(2, popup->GetValue());
  EXPECT_EQ(1, popup->DefaultValue());
  EXPECT_EQ(Emitted(*popup), TrayFeature("C", "c\n"));

  // A list without the current choice leaves the popup with none.
  PointerList others = Items({{"E", nullptr, nullptr}});
  EXPECT_TRUE(popup->Rebuild("Paper source", others, nullptr));
  EXPECT_EQ(0, popup->GetValue());
  EXPECT_EQ(0, popup->PostScript(nullptr));
}

// Choices made in a document's storage and on the heap go alike, each to where
// it came from, even in one list (the sanitizer build reports a choice, a
// keyword or a node handed to the wrong place); a stored choice's bytes stay
// poisoned once it went.
TEST(PPDXPopupControlTest, StoredAndHeapChoicesGoAlike) {
  auto saved = TrayPopup(kABC, "B");
  Settings settings;
  ASSERT_EQ(noErr, saved->Save(settings, 5001));
  DocumentStorage storage;
  {
    PPDXPopupControl restored(settings, 5001, nullptr, &storage);
    restored.AppendPopupItem(NewStoredItem(storage, "D", "4 tray\n", 7));
    PointerList heapItems = Items({{"E", nullptr, "5 tray\n"}});
    restored.AppendPopupItem(PointerListOf<_PopupItem>(heapItems).Front());
    EXPECT_EQ(5, restored.ItemCount());
    EXPECT_EQ(2, restored.GetValue());
    restored.SetKeywordSelect("E", true);
    EXPECT_EQ(Emitted(restored), TrayFeature("E", "5 tray\n"));
    PointerList replacement = Items({{"B", nullptr, "b\n"}, {"E", nullptr, "e\n"}});
    EXPECT_TRUE(restored.Rebuild("Paper source", replacement, nullptr));
    EXPECT_EQ(2, restored.GetValue());
    restored.AppendPopupItem(NewStoredItem(storage, "F", "6 tray\n", 7));
  }
  std::unique_ptr<_PopupItem> unlisted(NewStoredItem(storage, "G", nullptr, 0));
  EXPECT_STREQ(*unlisted->keyword, "G");
#if defined(__SANITIZE_ADDRESS__)
  EXPECT_DEATH(
      {
        std::unique_ptr<_PopupItem> item(NewStoredItem(storage, "Upper", "1 tray\n", 7));
        const volatile char* keyword = *item->keyword;
        item.reset();
        (void)keyword[0];
      },
      "use-after-poison");
#endif
}

}  // namespace
