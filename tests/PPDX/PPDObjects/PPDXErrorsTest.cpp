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
  const PPDXErrorCode raised[] = {kPPDXErrOutOfMemory,
                                  kPPDXErrPropertyPageWithoutName,
                                  kPPDXErrBadGroupLine,
                                  kPPDXErrBadJobNoteKey,
                                  kPPDXErrBadRangeLine,
                                  kPPDXErrOpenUIWithoutKeyword,
                                  kPPDXErrBooleanNotTrueOrFalse,
                                  kPPDXErrOpenUIZPXNotClosed,
                                  kPPDXErrBadOptionBlock,
                                  kPPDXErrGroupNameWithoutName,
                                  kPPDXErrBadParent,
                                  kPPDXErrIncompleteParentLine,
                                  kPPDXErrBadFlagsLine,
                                  kPPDXErrUnreadableFile,
                                  kPPDXErrBadShortcut,
                                  kPPDXErrOptionOutsideGroups,
                                  kPPDXErrDuplicateName,
                                  kPPDXErrNoPropertyPage,
                                  kPPDXErrNoGroup,
                                  kPPDXErrNoOption,
                                  kPPDXErrNotVersion43,
                                  kPPDXErrOptionInNoRollDown,
                                  kPPDXErrBadOpenUIType,
                                  kPPDXErrJobNoteFlagBeyondLevel,
                                  kPPDXErrNoDefault,
                                  kPPDXErrOpenUIZPXSkipped,
                                  kPPDXErrRangeWithoutPostScript,
                                  kPPDXErrConstraintWithoutSecondKey};
  for (short code : raised) {
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
  PPDXErrorObj notClosed(kPPDXErrOpenUIZPXNotClosed, CString("*OpenUIZPX"), true);
  CloseResFile(bundle);
  UseResFile(saved);
  PPDXErrorObj copy;
  EXPECT_EQ(copy.Keyword(), nullptr);
  copy = notClosed;
  EXPECT_TRUE(copy == kPPDXErrOpenUIZPXNotClosed && copy != kPPDXErrBadOptionBlock &&
              copy.IsFatal());
  EXPECT_STREQ(copy.Keyword(), "*OpenUIZPX");
  EXPECT_STREQ(copy.Description(), notClosed.Description());
  // No resource file now.
  EXPECT_EQ(PPDXErrorObj(kPPDXErrOpenUIZPXNotClosed, true).Description(), nullptr);
  PPDXErrorObj emptyKeyword(kPPDXErrOpenUIWithoutKeyword, CString(""), false);
  EXPECT_EQ(GetErrorKeyword(&emptyKeyword), nullptr);
}

TEST(PPDXErrorsTest, OneCursorWalksTheList) {
  PPDXErrors errors;
  EXPECT_TRUE(ErrorListIsEmpty(&errors));
  EXPECT_EQ(FirstError(&errors), nullptr);
  EXPECT_EQ(NextError(&errors), nullptr);
  PPDXErrorObj first(kPPDXErrNoPropertyPage, false), second(kPPDXErrNoGroup, false),
      third(kPPDXErrNoOption, false);
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
