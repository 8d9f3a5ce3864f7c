#include <gtest/gtest.h>

#include <string>

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/PPDObjects/PPDXErrorsAPI.h"
#include "carbon/Resources.h"

namespace {

TEST(PPDXErrorsTest, DescriptionsComeFromTheBundleStringList) {
  short saved = CurResFile();
  short bundle = OpenStringListFile(ZPX_BUNDLE "/Resources", "ZPXPDE.strlist");
  ASSERT_GT(bundle, 0);
  for (short code : {1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18, 19, 21, 23, 25, 26, 27,
                     28, 29, 31, 32, 33, 34, 35, 36}) {
    PPDXErrorObj error(code, false);
    ASSERT_NE(GetErrorDescription(&error), nullptr) << code;
    EXPECT_GT(std::string(GetErrorDescription(&error)).size(), 10u) << code;
  }
  for (short code : {0, 2, 3, 13, 17, 20, 22, 24, 30, 37}) {
    PPDXErrorObj error(code, CString("*PageSize"), true);
    EXPECT_EQ(GetErrorDescription(&error), nullptr) << code;
    EXPECT_STREQ(GetErrorKeyword(&error), "*PageSize");
    EXPECT_TRUE(IsErrorFatal(&error));
  }
  PPDXErrorObj notClosed(10, CString("*OpenUIZPX"), true);
  CloseResFile(bundle);
  UseResFile(saved);
  PPDXErrorObj copy;
  EXPECT_EQ(copy.Keyword(), nullptr);
  copy = notClosed;
  EXPECT_TRUE(copy == 10 && copy != 11 && copy.IsFatal());
  EXPECT_STREQ(copy.Keyword(), "*OpenUIZPX");
  EXPECT_STREQ(copy.Description(), notClosed.Description());
  EXPECT_EQ(PPDXErrorObj(10, true).Description(), nullptr);  // no resource file now
  PPDXErrorObj emptyKeyword(8, CString(""), false);
  EXPECT_EQ(GetErrorKeyword(&emptyKeyword), nullptr);
}

TEST(PPDXErrorsTest, OneCursorWalksTheList) {
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

  EXPECT_EQ(FirstError(nullptr), nullptr);
  EXPECT_EQ(NextError(nullptr), nullptr);
  EXPECT_EQ(ErrorCount(nullptr), 0u);
  EXPECT_TRUE(ErrorListIsEmpty(nullptr));
  EXPECT_EQ(GetErrorKeyword(nullptr), nullptr);
  EXPECT_EQ(GetErrorDescription(nullptr), nullptr);
  EXPECT_FALSE(IsErrorFatal(nullptr));
}

}  // namespace
