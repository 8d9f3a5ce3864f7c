#include "PPDX/PPDObjects/Controls/ChoiceName.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/TextCommon.h"
#include "cf/CFRef.h"
#include "foundation/DocumentStorage.h"
#include "foundation/SettingsStrings.h"
#include "support/DisplayOption.h"
#include "support/ParsedDocument.h"
#include "support/PlatformString.h"

namespace {

const std::string kLatin1Head =
    "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
    "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
    "*%ZPXGroupName Roll/Options: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
    "*%ZPXParent Roll/Pane: True|Rolldown\n";

// A name kept from a saved blob or from a PPD is made on its first read, once,
// as its source makes it: a translation in the encoding in force where it
// stood, whatever the document's encoding became after it.
TEST(ChoiceNameTest, KeptNamesAreMadeOnFirstReadAsTheirSourceMakesThem) {
  DocumentStorage storage;
  CFRef<CFStringRef> cafe(CreateText("Caf\xC3\xA9"));
  long length = 0;
  std::unique_ptr<unsigned char[]> external(CFStringToExternal(cafe.get(), &length));
  ChoiceName saved;
  saved.KeepExternal(storage, external.get(), size_t(length));
  const CFStringRef made = saved;
  EXPECT_EQ(TextOf(cafe.get()), TextOf(made));
  EXPECT_EQ(made, static_cast<CFStringRef>(saved));
  const ChoiceName copy(saved);
  EXPECT_EQ(made, static_cast<CFStringRef>(copy));

  std::unique_ptr<ZPXPPD> document =
      ParseText(kLatin1Head +
                "*%ZPXFlags *ZPTray: Setup\n*%ZPXGroup *ZPTray Roll/ZPTray\n*OpenUI *ZPTray/Tray: "
                "PickOne\n*DefaultZPTray: One\n*ZPTray One/Caf\xE9: \"1\"\n*CloseUI: *ZPTray\n"
                "*LanguageEncoding: UTF-8\n");
  ASSERT_NE(document, nullptr);
  DisplayOption everything(DISPLAY_ALL);
  PPDXPopupControl* tray = document->GetControls()->FirstPopupControl();
  ASSERT_NE(tray, nullptr);
  EXPECT_EQ("Caf\xC3\xA9", TextOf(tray->GetKeywordCFLocalName("One")));

  ChoiceName translated;
  translated.KeepTranslation(storage, "Caf\xE9", *document, kTextEncodingISOLatin1);
  EXPECT_EQ("Caf\xC3\xA9", TextOf(translated));
  EXPECT_EQ("Translation Error", TakeText(document->CreateDisplayName("Caf\xE9")));
  ChoiceName released;
  released.KeepTranslation(storage, "Caf\xE9", *document, kTextEncodingISOLatin1);
  released.Release();
  EXPECT_EQ(nullptr, static_cast<CFStringRef>(released));
}

}  // namespace
