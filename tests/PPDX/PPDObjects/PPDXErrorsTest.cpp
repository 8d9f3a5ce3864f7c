#include <gtest/gtest.h>

#include <string>

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/PPDObjects/PPDXErrorsAPI.h"
#include "carbon/Resources.h"

namespace {

// The bundle's resource file is current while a test runs.
class PPDXErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = CurResFile();
    bundle = OpenStringListFile(ZPX_BUNDLE "/Resources", "ZPXPDE.strlist");
    ASSERT_GT(bundle, 0);
  }
  void TearDown() override {
    CloseResFile(bundle);
    UseResFile(saved);
  }
  short saved = 0;
  short bundle = 0;
};

TEST_F(PPDXErrorsTest, EveryRaisedCodeHasADescriptionAndOthersNone) {
  const short raised[] = {1,  4,  5,  6,  7,  8,  9,  10, 11, 12, 14, 15, 16, 18,
                          19, 21, 23, 25, 26, 27, 28, 29, 31, 32, 33, 34, 35, 36};
  for (short code : raised) {
    PPDXErrorObj error(code, false);
    ASSERT_NE(GetErrorDescription(&error), nullptr) << code;
    EXPECT_GT(std::string(GetErrorDescription(&error)).size(), 10u) << code;
  }
  const short silent[] = {0, 2, 3, 13, 17, 20, 22, 24, 30, 37};
  for (short code : silent) {
    PPDXErrorObj error(code, CString("*PageSize"), true);
    EXPECT_EQ(GetErrorDescription(&error), nullptr) << code;
    EXPECT_STREQ(GetErrorKeyword(&error), "*PageSize");
    EXPECT_TRUE(IsErrorFatal(&error));
  }
}

TEST_F(PPDXErrorsTest, ErrorsKeepCodeKeywordAndDescriptionAcrossCopies) {
  PPDXErrorObj notClosed(10, CString("*OpenUIZPX"), true);
  PPDXErrorObj copy;
  EXPECT_EQ(copy.Keyword(), nullptr);
  EXPECT_EQ(copy.Description(), nullptr);
  EXPECT_FALSE(copy.IsFatal());
  EXPECT_TRUE(copy == 0);
  copy = notClosed;
  EXPECT_TRUE(copy == 10);
  EXPECT_TRUE(copy != 11);
  EXPECT_STREQ(copy.Keyword(), "*OpenUIZPX");
  EXPECT_STREQ(copy.Description(), notClosed.Description());
  EXPECT_TRUE(copy.IsFatal());
  PPDXErrorObj emptyKeyword(8, CString(""), false);
  EXPECT_EQ(GetErrorKeyword(&emptyKeyword), nullptr);
  EXPECT_EQ(GetErrorKeyword(&notClosed), std::string("*OpenUIZPX"));
}

TEST_F(PPDXErrorsTest, WalkingTheListWithOneCursor) {
  PPDXErrors errors;
  EXPECT_TRUE(ErrorListIsEmpty(&errors));
  EXPECT_EQ(FirstError(&errors), nullptr);
  EXPECT_EQ(NextError(&errors), nullptr);

  PPDXErrorObj first(25, false), second(26, false), third(27, false);
  errors.Add(&first);
  EXPECT_EQ(NextError(&errors), nullptr);  // no walk started
  errors.Add(&second);
  errors.Add(&third);
  EXPECT_EQ(ErrorCount(&errors), 3u);
  EXPECT_FALSE(ErrorListIsEmpty(&errors));
  EXPECT_EQ(FirstError(&errors), &first);
  EXPECT_EQ(NextError(&errors), &second);
  EXPECT_EQ(NextError(&errors), &third);
  EXPECT_EQ(NextError(&errors), nullptr);
  EXPECT_EQ(NextError(&errors), nullptr);
  EXPECT_EQ(FirstError(&errors), &first);
  EXPECT_EQ(NextError(&errors), &second);
}

TEST(PPDXErrorsAPITest, NullListsAndErrorsAnswerEmpty) {
  EXPECT_EQ(FirstError(nullptr), nullptr);
  EXPECT_EQ(NextError(nullptr), nullptr);
  EXPECT_EQ(ErrorCount(nullptr), 0u);
  EXPECT_TRUE(ErrorListIsEmpty(nullptr));
  EXPECT_EQ(GetErrorKeyword(nullptr), nullptr);
  EXPECT_EQ(GetErrorDescription(nullptr), nullptr);
  EXPECT_FALSE(IsErrorFatal(nullptr));
}

}  // namespace
