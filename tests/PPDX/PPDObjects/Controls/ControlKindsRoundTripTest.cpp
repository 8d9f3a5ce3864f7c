// Every kind of control saved into one store, carried as a flattened block and
// rebuilt: nothing the user or the printer sees may change on the way.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"

namespace {

unsigned char* Code(const char* text) { return reinterpret_cast<unsigned char*>(strdup(text)); }

PointerList Flags(std::vector<const char*> words) {
  PointerList flags;
  for (const char* word : words) flags.PushBack(new CString(word));
  return flags;
}

_PopupItem* Item(const char* keyword, const char* name, const char* code) {
  auto* item = new _PopupItem;
  item->keyword = new CString(keyword);
  item->name = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
  if (code != nullptr) {
    item->psData = Code(code);
    item->psLength = long(strlen(code));
  }
  return item;
}

std::string Emitted(PPDXControl& control) {
  std::vector<unsigned char> out(size_t(control.PostScript(nullptr)));
  control.PostScript(out.data());
  return std::string(out.begin(), out.end());
}

std::vector<std::string> FlagsOf(PPDXControl& control) {
  std::vector<std::string> words;
  for (const char* flag = control.FirstControlFlag(); flag; flag = control.NextControlFlag())
    words.push_back(flag);
  return words;
}

void ExpectSameControl(PPDXControl& original, PPDXControl& rebuilt) {
  EXPECT_EQ(original.Type(), rebuilt.Type());
  EXPECT_STREQ(original.Keyword(), rebuilt.Keyword());
  EXPECT_STREQ(original.UserName(), rebuilt.UserName());
  EXPECT_EQ(original.IsVisible(), rebuilt.IsVisible());
  EXPECT_EQ(FlagsOf(original), FlagsOf(rebuilt));
  EXPECT_EQ(Emitted(original), Emitted(rebuilt));
  EXPECT_FALSE(Emitted(rebuilt).empty());
}

TEST(ControlKindsRoundTripTest, EveryKindComesBackUnchanged) {
  PointerList popupFlags = Flags({"Dynamic"}), items;
  items.PushBack(Item("Letter", "US Letter", "letter\n"));
  items.PushBack(Item("A4", "A4 \xE2\x80\x93 210 mm", "a4\n"));
  items.PushBack(Item("Legal", "US Legal", nullptr));
  PPDXPopupControl popup("*PageSize", CFSTR("Paper size"), popupFlags, true, true, true, items,
                         new CString("A4"), nullptr);
  popup.SetKeywordSelect("Legal", true);

  PointerList booleanFlags = Flags({"Setup", "MacNJN"});
  PPDXBooleanControl boolean("*Staple", CFSTR("Staple"), booleanFlags, false,
                             new CString("On"), Code("1 staple\n"), 9, new CString("Off"),
                             Code("0 staple\n"), 9, false, nullptr);
  boolean.SetValue(true);

  PointerList rangeFlags = Flags({"Spooler"});
  PPDXRangeControl range("*Copies", CFSTR("Copies"), rangeFlags, Code("<*Copies> copies\n"), 17,
                         1, 999, 1, 1, true);
  range.SetValue(42);

  PointerList floatFlags;
  PPDXFloatRangeControl floatRange("*Gamma", CFSTR("Gamma"), floatFlags,
                                   Code("<*Gamma> gamma\n"), 15, 0.5, 4.0, 0.1, 1.8, true);
  floatRange.SetValue(2.2f);

  Settings settings;
  ASSERT_EQ(noErr, popup.Save(settings, 5001));
  ASSERT_EQ(noErr, boolean.Save(settings, 5002));
  ASSERT_EQ(noErr, range.Save(settings, 5003));
  ASSERT_EQ(noErr, floatRange.Save(settings, 5004));
  char** flattened = nullptr;
  ASSERT_EQ(noErr, settings.GetSettingsHandle(&flattened));
  Settings copy(flattened);
  DisposeHandle(flattened);
  ASSERT_EQ(settings.Count(), copy.Count());

  // The marker tells each control's kind.
  long size = 0;
  EXPECT_EQ(noErr, copy.Get(FourCC("PopC"), 5001, nullptr, size, false));
  EXPECT_EQ(noErr, copy.Get(FourCC("BlnC"), 5002, nullptr, size, false));
  EXPECT_EQ(noErr, copy.Get(FourCC("RngC"), 5003, nullptr, size, false));
  EXPECT_EQ(noErr, copy.Get(FourCC("FrgC"), 5004, nullptr, size, false));

  PPDXPopupControl popupBack(copy, 5001, nullptr);
  ExpectSameControl(popup, popupBack);
  EXPECT_STREQ(popupBack.GetDefaultKeyword(), "A4");
  EXPECT_TRUE(popupBack.CanSelectMultipleItems());
  EXPECT_EQ(3, popupBack.ItemCount());
  for (const char* keyword : {"Letter", "A4", "Legal"}) {
    EXPECT_EQ(popup.IsKeywordSelected(keyword), popupBack.IsKeywordSelected(keyword)) << keyword;
    EXPECT_STREQ(popup.GetKeywordLocalName(keyword), popupBack.GetKeywordLocalName(keyword));
    EXPECT_EQ(popup.GetKeywordPSData(keyword, nullptr),
              popupBack.GetKeywordPSData(keyword, nullptr));
  }

  PPDXBooleanControl booleanBack(copy, 5002, nullptr);
  ExpectSameControl(boolean, booleanBack);
  EXPECT_TRUE(booleanBack.IsTrue());
  EXPECT_FALSE(booleanBack.DefaultState());
  EXPECT_STREQ(booleanBack.TrueDisplayText(), "On");
  EXPECT_STREQ(booleanBack.FalseDisplayText(), "Off");
  booleanBack.SetValue(false);
  boolean.SetValue(false);
  EXPECT_EQ(Emitted(boolean), Emitted(booleanBack));

  PPDXRangeControl rangeBack(copy, 5003);
  ExpectSameControl(range, rangeBack);
  EXPECT_EQ(42, rangeBack.GetValue());
  EXPECT_EQ(1, rangeBack.MinVal());
  EXPECT_EQ(999, rangeBack.MaxVal());
  EXPECT_EQ(1, rangeBack.Increment());
  EXPECT_EQ(1, rangeBack.DefaultValue());

  PPDXFloatRangeControl floatBack(copy, 5004);
  ExpectSameControl(floatRange, floatBack);
  EXPECT_EQ(floatRange.GetValue(), floatBack.GetValue());
  EXPECT_EQ(0.5f, floatBack.MinVal());
  EXPECT_EQ(4.0f, floatBack.MaxVal());
  EXPECT_EQ(0.1f, floatBack.Increment());
  EXPECT_EQ(1.8f, floatBack.DefaultValue());
}

}  // namespace
