#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "carbon/MacErrors.h"
#include "support/ControlTestSupport.h"
#include "support/PlatformString.h"

namespace {

std::unique_ptr<PPDXFloatRangeControl> ScaleControl(double increment, double defaultValue) {
  PointerList flags;
  const char* code = "<*Scale> dup scale\n";
  return std::make_unique<PPDXFloatRangeControl>("*Scale", CFSTR("Scale"), flags, Code(code),
                                                 double(strlen(code)) + 0.9, -4.0, 10.0, increment,
                                                 defaultValue, true);
}

TEST(PPDXFloatRangeControlTest, ValueTextIsPaddedToNineCharacters) {
  auto control = ScaleControl(0.5, 2.5);
  EXPECT_EQ(Emitted(*control),
            "%%BeginFeature: *Scale    2.5000\n   2.5000 dup scale\n%%EndFeature\n");
  EXPECT_EQ(TakeText(control->CopyCurrentControlValueString()), "2.500000");
  control->SetCurrentControlWithCFString(CFSTR("-3.25"));
  EXPECT_EQ(Emitted(*control),
            "%%BeginFeature: *Scale   -3.2500\n  -3.2500 dup scale\n%%EndFeature\n");
}

TEST(PPDXFloatRangeControlTest, ValuesAreClampedButNotSnapped) {
  auto stepped = ScaleControl(1.0, 0.0);
  stepped->SetValue(2.3f);
  EXPECT_NEAR(2.3f, stepped->GetValue(), 1e-6);
  stepped->SetValue(25.0f);
  EXPECT_FLOAT_EQ(10.0f, stepped->GetValue());
  stepped->SetValue(-25.0f);
  EXPECT_FLOAT_EQ(-4.0f, stepped->GetValue());

  auto unstepped = ScaleControl(0.0, 1.0);
  unstepped->SetValue(3.7f);
  EXPECT_FALSE(std::isnan(unstepped->GetValue()));
  EXPECT_FLOAT_EQ(3.7f, unstepped->GetValue());
}

TEST(PPDXFloatRangeControlTest, RestoreRenewsTheInjectedCode) {
  auto control = ScaleControl(0.25, 1.0);
  EXPECT_EQ(Emitted(*control),
            "%%BeginFeature: *Scale    1.0000\n   1.0000 dup scale\n%%EndFeature\n");
  Settings settings;
  const float saved = 7.75f;
  ASSERT_EQ(noErr, settings.Add(FourCC("FCVl"), 5001, &saved, sizeof saved));
  EXPECT_EQ(noErr, control->Restore(settings, 5001));
  EXPECT_EQ(Emitted(*control),
            "%%BeginFeature: *Scale    7.7500\n   7.7500 dup scale\n%%EndFeature\n");
  EXPECT_EQ(collectionItemNotFoundErr, control->Restore(settings, 5002));
  EXPECT_FLOAT_EQ(7.75f, control->GetValue());
}

}  // namespace
