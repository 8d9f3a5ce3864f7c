// Every kind of control saved into one store, carried as a flattened block and
// rebuilt: nothing the user or the printer sees may change on the way.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "carbon/MacErrors.h"
#include "support/ControlTestSupport.h"

namespace {

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
  PointerList popupFlags = FlagList({"Dynamic"});
  PointerList items = Items({{"Letter", "US Letter", "letter\n"},
                             {"A4", "A4 \xE2\x80\x93 210 mm", "a4\n"},
                             {"Legal", "US Legal", nullptr}});
  PPDXPopupControl popup("*PageSize", CFSTR("Paper size"), popupFlags, true, true, true, items,
                         new CString("A4"), nullptr);
  popup.SetKeywordSelect("Legal", true);
  PointerList booleanFlags = FlagList({"Setup", "MacNJN"});
  PPDXBooleanControl boolean("*Staple", CFSTR("Staple"), booleanFlags, false, new CString("On"),
                             Code("1 staple\n"), 9, new CString("Off"), Code("0 staple\n"), 9,
                             false, nullptr);
  boolean.SetValue(true);
  PointerList rangeFlags = FlagList({"Spooler"});
  PPDXRangeControl range("*Copies", CFSTR("Copies"), rangeFlags, Code("<*Copies> copies\n"), 17, 1,
                         999, 1, 1, true);
  range.SetValue(42);
  PointerList floatFlags;
  PPDXFloatRangeControl floatRange("*Gamma", CFSTR("Gamma"), floatFlags, Code("<*Gamma> gamma\n"),
                                   15, 0.5, 4.0, 0.1, 1.8, true);
  floatRange.SetValue(2.2f);

  Settings settings;
  ASSERT_EQ(noErr, popup.Save(settings, 5001));
  ASSERT_EQ(noErr, boolean.Save(settings, 5002));
  ASSERT_EQ(noErr, range.Save(settings, 5003));
  ASSERT_EQ(noErr, floatRange.Save(settings, 5004));
  auto copy = Unflattened(settings);
  long size = 0;  // the marker tells each control's kind
  for (auto [key, index] : std::vector<std::pair<unsigned long, long>>{{FourCC("PopC"), 5001},
                                                                       {FourCC("BlnC"), 5002},
                                                                       {FourCC("RngC"), 5003},
                                                                       {FourCC("FrgC"), 5004}})
    EXPECT_EQ(noErr, copy->Get(key, index, nullptr, size, false));

  PPDXPopupControl popupBack(*copy, 5001, nullptr);
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

  PPDXBooleanControl booleanBack(*copy, 5002, nullptr);
  ExpectSameControl(boolean, booleanBack);
  EXPECT_TRUE(booleanBack.IsTrue() && !booleanBack.DefaultState());
  EXPECT_STREQ(booleanBack.TrueDisplayText(), "On");
  EXPECT_STREQ(booleanBack.FalseDisplayText(), "Off");
  booleanBack.SetValue(false);
  boolean.SetValue(false);
  EXPECT_EQ(Emitted(boolean), Emitted(booleanBack));

  PPDXRangeControl rangeBack(*copy, 5003);
  ExpectSameControl(range, rangeBack);
  EXPECT_EQ((std::vector<long>{42, 1, 999, 1, 1}),
            (std::vector<long>{rangeBack.GetValue(), rangeBack.MinVal(), rangeBack.MaxVal(),
                               rangeBack.Increment(), rangeBack.DefaultValue()}));

  PPDXFloatRangeControl floatBack(*copy, 5004);
  ExpectSameControl(floatRange, floatBack);
  EXPECT_EQ((std::vector<float>{floatRange.GetValue(), 0.5f, 4.0f, 0.1f, 1.8f}),
            (std::vector<float>{floatBack.GetValue(), floatBack.MinVal(), floatBack.MaxVal(),
                                floatBack.Increment(), floatBack.DefaultValue()}));
}

}  // namespace
