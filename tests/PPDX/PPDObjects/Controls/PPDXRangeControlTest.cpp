#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControlAPI.h"
#include "PPDX/PPDObjects/PPDXElementAPI.h"
#include "carbon/MacErrors.h"
#include "support/ControlTestSupport.h"

namespace {

std::unique_ptr<PPDXRangeControl> DarknessControl(const char* code, long minimum, long maximum,
                                                  long increment, long defaultValue) {
  PointerList flags;
  return std::make_unique<PPDXRangeControl>("*Darkness", CFSTR("Darkness"), flags, Code(code),
                                            code ? long(strlen(code)) : 0, minimum, maximum,
                                            increment, defaultValue, true);
}

TEST(PPDXRangeControlTest, ValuesAreClampedAndTruncatedTowardZero) {
  auto odd = DarknessControl(nullptr, 1, 99, 2, 1);
  SetRangeValue(odd.get(), 150);
  EXPECT_EQ(98, GetRangeValue(odd.get()));
  odd->SetValue(40);
  EXPECT_EQ(40, odd->GetValue());

  auto centred = DarknessControl(nullptr, -50, 50, 5, 0);
  centred->SetValue(-7);
  EXPECT_EQ(-5, centred->GetValue());
  centred->SetValue(-1000);
  EXPECT_EQ(-50, centred->GetValue());
  centred->SetCurrentControlWithCFString(CFSTR("-13"));
  EXPECT_EQ(-10, centred->GetValue());
  CFStringRef text = centred->CopyCurrentControlValueString();
  EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(text, CFSTR("-10"), 0));
  CFRelease(text);

  auto free = DarknessControl(nullptr, -10, 10, 0, 3);
  free->SetValue(-7);
  EXPECT_EQ(-7, free->GetValue());
  ResetControlToDefault(free.get());
  EXPECT_EQ(3, free->GetValue());
  EXPECT_EQ(long(Emitted(*free).size()), RangePostScript(free.get(), nullptr));
  EXPECT_EQ(0, GetRangeIncrement(nullptr) + RangePostScript(nullptr, nullptr));
}

TEST(PPDXRangeControlTest, ValueIsInjectedIntoTheTemplate) {
  auto control = DarknessControl("<*darkness> setdarkness % <*Darkness>\n", 0, 10, 1, 7);
  const std::string seven = "%%BeginFeature: *Darkness 7\n7 setdarkness % 7\n%%EndFeature\n";
  EXPECT_EQ(Emitted(*control), seven);
  EXPECT_EQ(Emitted(*control), seven);  // the cached injection serves both calls
  control->SetValue(-3);
  EXPECT_EQ(Emitted(*control), "%%BeginFeature: *Darkness 0\n0 setdarkness % 0\n%%EndFeature\n");

  auto empty = DarknessControl(nullptr, 0, 10, 1, 4);
  EXPECT_EQ(Emitted(*empty), "%%BeginFeature: *Darkness 4\n\n%%EndFeature\n");
}

TEST(PPDXRangeControlTest, RestoreTakesOnlyAFourByteValue) {
  auto control = DarknessControl("<*Darkness>\n", 0, 10, 1, 7);
  EXPECT_EQ(long(strlen("%%BeginFeature: *Darkness 7\n7\n%%EndFeature\n")),
            control->PostScript(nullptr));
  Settings settings;
  const SInt32 two = 2;
  ASSERT_EQ(noErr, settings.Add(FourCC("RCVl"), 5001, &two, 4));
  ASSERT_EQ(noErr, settings.Add(FourCC("RCVl"), 5002, &two, 2));
  EXPECT_EQ(noErr, control->Restore(settings, 5002));
  EXPECT_EQ(7, control->GetValue());
  EXPECT_EQ(collectionItemNotFoundErr, control->Restore(settings, 5003));
  EXPECT_EQ(noErr, control->Restore(settings, 5001));
  EXPECT_EQ(2, control->GetValue());
  EXPECT_EQ(Emitted(*control), "%%BeginFeature: *Darkness 2\n2\n%%EndFeature\n");
}

}  // namespace
