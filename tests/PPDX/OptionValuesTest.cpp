// A value an option does not take is named as a person can mend it: a range
// by its bounds as the PPD gives them, any other option with the value.

#include "PPDX/OptionValues.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/FileText.h"
#include "support/ParsedDocument.h"

namespace {

std::string Refusal(ZPXPPD& document, const std::string& key, const char* value) {
  PPDXControl* control = ControlOf(document, key);
  return control != nullptr ? OptionValues::Refusal(*control, value) : "<no option " + key + ">";
}

}  // namespace

TEST(OptionValuesTest, ARefusalNamesARangesBoundsOrTheValue) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(SamplePPDText() +
                "*%ZPXFlags *ZPGloss: Setup\n*%ZPXGroup *ZPGloss FPStapling/Gloss\n"
                "*%ZPXFloatRange *ZPGloss/Gloss: (0.1;2.7;0.1;1.0) \"<</ZPXGloss <*ZPGloss> >> "
                "setpagedevice\"\n");
  for (const char* outside : {"500", "24", "abc", "", "100x"})
    EXPECT_EQ(Refusal(*document, "*ZPScale", outside), "*ZPScale takes 25 to 400") << outside;
  EXPECT_EQ(Refusal(*document, "*ZPScale", "400"), "");
  EXPECT_EQ(Refusal(*document, "*ZPBookletGap", "20.5"), "*ZPBookletGap takes 0 to 20");
  EXPECT_EQ(Refusal(*document, "*ZPBookletGap", "12.5"), "");
  EXPECT_EQ(Refusal(*document, "*ZPGloss", "0.05"), "*ZPGloss takes 0.1 to 2.7");
  EXPECT_EQ(Refusal(*document, "*ZPDuplex", "Sideways"),
            "option *ZPDuplex has no value \"Sideways\"");
  EXPECT_EQ(Refusal(*document, "*ZPDuplex", "Top"), "");
}
