// What a person may set, and why not: each refusal as one line, the option it
// names, and a reset that leaves the printer's equipment alone.

#include "PPDX/UserChoice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/FileText.h"
#include "support/ParsedDocument.h"

namespace {

// "verdict: refusal" of a judged choice.
std::string Judged(ZPXPPD& document, const std::string& key, const std::string& value) {
  const UserChoice::Answer answer = UserChoice(document).Judge(key, value);
  EXPECT_EQ(answer.control, ControlOf(document, key)) << key;
  return std::to_string(int(answer.verdict)) + ": " + answer.refusal;
}

std::string Verdict(UserChoice::Verdict verdict, const std::string& refusal) {
  return std::to_string(int(verdict)) + ": " + refusal;
}

}  // namespace

TEST(UserChoiceTest, JudgesTheOptionThenTheValue) {
  std::unique_ptr<ZPXPPD> document = ParseText(SamplePPDText());
  using V = UserChoice::Verdict;
  EXPECT_EQ(Judged(*document, "*ZPNoSuch", "On"),
            Verdict(V::kUnknownOption, "no option *ZPNoSuch"));
  EXPECT_EQ(Judged(*document, "*ZPOptionalFinisher", "Stapler"),
            Verdict(V::kInstallable, "*ZPOptionalFinisher is installable, not a job's choice"));
  EXPECT_EQ(Judged(*document, "*ZPServerLanguage", "English"),
            Verdict(V::kNotUserSet, "option *ZPServerLanguage is not one a user sets"));
  EXPECT_EQ(Judged(*document, "*ZPScale", "500"),
            Verdict(V::kValueRefused, "*ZPScale takes 25 to 400"));
  EXPECT_EQ(Judged(*document, "*ZPDuplex", "Sideways"),
            Verdict(V::kValueRefused, "option *ZPDuplex has no value \"Sideways\""));
  EXPECT_EQ(Judged(*document, "*ZPDuplex", "\xff"),
            Verdict(V::kValueRefused, "option *ZPDuplex has no value \"\xff\""));
  EXPECT_EQ(Judged(*document, "*ZPNote", "a\x01"),
            Verdict(V::kNoteRefused, "*ZPNote takes no control characters"));
  EXPECT_EQ(Judged(*document, "*ZPDuplex", "Bottom"), Verdict(V::kTaken, ""));
  // Judging sets nothing.
  EXPECT_EQ(Value(*document, "*ZPDuplex"), "False");
}

TEST(UserChoiceTest, AppliesTakenValuesAndNamesBothSidesOfAForbiddenOne) {
  std::unique_ptr<ZPXPPD> document = ParseText(SamplePPDText());
  UserChoice choice(*document);
  PPDXControl* stapler = ControlOf(*document, "*ZPStapler");
  ASSERT_NE(stapler, nullptr);
  EXPECT_EQ(choice.Apply(*stapler, "Sideways").verdict, UserChoice::Verdict::kValueRefused);
  EXPECT_EQ(Value(*document, "*ZPStapler"), "None");
  EXPECT_TRUE(choice.Apply(*stapler, "TopLeft").Taken());
  EXPECT_EQ(Value(*document, "*ZPStapler"), "TopLeft");

  const UserChoice::Answer forbidden =
      choice.Forbidden({ControlOf(*document, "*ZPDuplex"), stapler});
  EXPECT_EQ(forbidden.verdict, UserChoice::Verdict::kForbidden);
  EXPECT_EQ(forbidden.refusal, "*ZPStapler TopLeft conflicts with *ZPOptionalFinisher None");
  EXPECT_EQ(forbidden.control, stapler);
  EXPECT_EQ(forbidden.otherKey, "*ZPOptionalFinisher");

  SetValue(*document, "*ZPOptionalFinisher", "Stapler");
  EXPECT_TRUE(choice.Forbidden({stapler}).Taken());
  choice.ResetJobOptions();
  EXPECT_EQ(Value(*document, "*ZPStapler"), "None");
  EXPECT_EQ(Value(*document, "*ZPOptionalFinisher"), "Stapler");
}
