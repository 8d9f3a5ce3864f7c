#include <gtest/gtest.h>

#include <memory>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControlAPI.h"
#include "carbon/MacErrors.h"
#include "support/ControlTestSupport.h"
#include "support/KVProbe.h"

namespace {

std::unique_ptr<PPDXBooleanControl> FoldControl(bool defaultValue, UIConstraints* set) {
  PointerList flags;
  return std::make_unique<PPDXBooleanControl>("*Fold", CFSTR("Fold"), flags, true,
                                              new CString("Folded"), Code("true setfold\n"), 13,
                                              new CString("Flat"), nullptr, 0, defaultValue, set);
}

TEST(PPDXBooleanControlTest, EachStateEmitsItsOwnCode) {
  KVProbe probe("*Fold", {"True", "False"});
  auto control = FoldControl(true, &probe.constraints);
  EXPECT_TRUE(IsTrue(control.get()) && DefaultState(control.get()));
  EXPECT_TRUE(probe.Current("True"));
  EXPECT_EQ(Emitted(*control), "%%BeginFeature: *Fold True\ntrue setfold\n%%EndFeature\n");
  SetValue(control.get(), false);
  EXPECT_TRUE(probe.Current("False"));
  EXPECT_EQ(Emitted(*control), "%%BeginFeature: *Fold False\n\n%%EndFeature\n");
  CFStringRef value = control->CopyCurrentControlValueString();
  EXPECT_EQ(kCFCompareEqualTo, CFStringCompare(value, CFSTR("False"), 0));
  CFRelease(value);
  control->ResetToDefaultValue();
  EXPECT_TRUE(control->IsTrue());

  SetValue(nullptr, true);
  EXPECT_FALSE(IsTrue(nullptr) || DefaultState(nullptr));
  EXPECT_EQ(0, BooleanPostScript(nullptr, nullptr));
}

TEST(PPDXBooleanControlTest, OnlyTextsBeginningWithTrueMeanTrue) {
  KVProbe probe("*Fold", {"True", "False"});
  auto control = FoldControl(false, &probe.constraints);
  struct Case {
    CFStringRef text;
    bool value;
  } cases[] = {{CFSTR("true"), true},   {CFSTR("TRUE"), true}, {CFSTR("True "), true},
               {CFSTR("no"), false},    {CFSTR(""), false},    {CFSTR("false"), false},
               {CFSTR("Truth"), false}, {CFSTR("tRuEx"), true}};
  for (const Case& c : cases) {
    control->SetValue(!c.value);
    control->SetPresetValueString(c.text);
    EXPECT_EQ(c.value, control->IsTrue()) << CFStringGetLength(c.text);
    EXPECT_TRUE(probe.Current(c.value ? "True" : "False"));
  }
}

TEST(PPDXBooleanControlTest, RestoreTakesTheValueWithoutReportingIt) {
  KVProbe probe("*Fold", {"True", "False"});
  auto saved = FoldControl(false, nullptr);
  saved->SetValue(true);
  Settings settings;
  ASSERT_EQ(noErr, saved->Save(settings, 5002));
  auto control = FoldControl(false, &probe.constraints);
  EXPECT_EQ(noErr, control->Restore(settings, 5002));
  EXPECT_TRUE(control->IsTrue());
  EXPECT_TRUE(probe.Current("False"));
  Settings empty;
  EXPECT_EQ(collectionItemNotFoundErr, control->Restore(empty, 5002));
  EXPECT_TRUE(control->IsTrue());
}

}  // namespace
