// Pane rows bound to the sample PPD's options, driven as a user drives them.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "foundation/CString.h"
#include "support/FileText.h"
#include "support/PanePictures.h"
#include "support/ParsedDocument.h"
#include "support/PluginBundle.h"
#include "support/RowsInterface.h"
#include "support/ToolkitFixture.h"
#include "support/WidgetText.h"
#include "toolkit/ToolkitControl.h"
#include "ui/UI_CheckBoxControl.h"
#include "ui/UI_IconControl.h"
#include "ui/UI_PopupControl.h"

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(std::string::npos, at) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Choices as the parser hands them over; a null name is a choice without one.
PointerList MenuChoices(const std::vector<std::pair<const char*, const char*>>& choices) {
  PointerList items;
  for (const auto& [keyword, name] : choices) {
    auto* item = new _PopupItem;
    item->keyword = new CString(keyword);
    if (name != nullptr)
      item->name = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    items.PushBack(item);
  }
  return items;
}

std::string MenuOf(ControlRef popup) {
  MenuRef menu = GetControlPopupMenuHandle(popup);
  std::string items;
  for (MenuItemIndex i = 1; i <= CountMenuItems(menu); ++i)
    items += menu->mItems[i - 1].text + (IsMenuItemEnabled(menu, i) ? "" : " (off)") + "|";
  return items;
}

// The file of the bundle's icons whose picture the pane shows; "none" when it
// shows none, "another" when it shows a picture of no such file.
std::string PictureOf(ControlRef pane) {
  for (const PaneDrawing& drawn : pane->mDrawn) {
    if (drawn.kind != PaneDrawing::Kind::kPicture) continue;
    for (const auto& file : std::filesystem::directory_iterator(ZPX_BUNDLE "/Resources/icons")) {
      const std::string name = file.path().filename().string();
      CFRef<CGImageRef> picture(LoadBundlePicture("icons/" + name));
      if (picture && PixelsOf(picture.get()) == PixelsOf(drawn.image.get())) return name;
    }
    return "another";
  }
  return "none";
}

}  // namespace

class WidgetRowsTest : public ToolkitFixture {
 protected:
  WidgetRowsTest() : mBuilt(CreateBundleAt(ZPX_BUILT_BUNDLE)) {}

  // The rows window over `document` (the sample when none is given).
  void Open(const std::string& text = SamplePPDText()) {
    mDocument = ParseText(text);
    ASSERT_TRUE(mDocument && mDocument->IsValidPPD());
    mWindow = ShowWindowFromText(RowsInterface(), CFSTR("Rows"));
    ASSERT_NE(mWindow, nullptr);
  }

  PPDXPopupControl* Popup(const char* keyword) {
    return mDocument->GetControls()->FindPopup(keyword, true);
  }
  PPDXBooleanControl* Boolean(const char* keyword) {
    return mDocument->GetControls()->FindBoolean(keyword, true);
  }
  ControlRef Control(const char (&signature)[5], SInt32 number) {
    ControlID id = {FourCC(signature), number};
    ControlRef control = nullptr;
    GetControlByID(mWindow, &id, &control);
    return control;
  }

  CFRef<CFBundleRef> mBuilt;  // whose icon table the rows show
  std::unique_ptr<ZPXPPD> mDocument;
  WindowRef mWindow = nullptr;
};

TEST_F(WidgetRowsTest, PopupShowsTheOptionAndItsPictureFollowsTheChoice) {
  Open();
  SetValue(*mDocument, "*ZPDuplex", "Top");
  UI_PopupControl row(mWindow, 2001, Popup("*ZPDuplex"), true, mDocument.get(), false, 2001);
  ASSERT_TRUE(row.IsInitialized());
  ControlRef popup = Control("Cntl", 2001);
  EXPECT_EQ("One-Sided|Two-Sided, Long Edge|Two-Sided, Short Edge|", MenuOf(popup));
  EXPECT_EQ(4, GetControl32BitMaximum(popup));
  EXPECT_EQ(2, GetControl32BitValue(popup));
  EXPECT_EQ("Two-Sided: ", WidgetTitle(Control("Ttle", 2001)));
  EXPECT_TRUE(IsControlVisible(Control("Bitm", 2001)));
  EXPECT_EQ("duplex-long.png", PictureOf(Control("Bitm", 2001)));

  ASSERT_TRUE(mDriver.ChooseMenuItem(popup, 3));
  EXPECT_EQ("Bottom", Value(*mDocument, "*ZPDuplex"));
  EXPECT_EQ("duplex-short.png", PictureOf(Control("Bitm", 2001)));

  row.ChangeControlMaximum(0);
  EXPECT_EQ("", MenuOf(popup));
  EXPECT_EQ(0, GetControl32BitMaximum(popup));
}

TEST_F(WidgetRowsTest, ConstrainedChoicesAreDisabledWhenThePopupIsClicked) {
  Open();
  UI_PopupControl media(mWindow, 2001, Popup("*ZPMediaType"), true, mDocument.get(), false, 0);
  UI_PopupControl duplex(mWindow, 2002, Popup("*ZPDuplex"), true, mDocument.get(), false, 0);
  UI_PopupControl unchecked(mWindow, 2003, Popup("*ZPDuplex"), false, mDocument.get(), false, 0);
  ASSERT_TRUE(mDriver.ChooseMenuItem(Control("Cntl", 2001), 4));
  EXPECT_EQ("Transparency", Value(*mDocument, "*ZPMediaType"));

  ControlRef popup = Control("Cntl", 2002);
  EXPECT_EQ("One-Sided|Two-Sided, Long Edge|Two-Sided, Short Edge|", MenuOf(popup));
  ASSERT_TRUE(mDriver.Click(popup));  // opened and dismissed
  EXPECT_EQ("One-Sided|Two-Sided, Long Edge (off)|Two-Sided, Short Edge (off)|", MenuOf(popup));
  EXPECT_FALSE(mDriver.ChooseMenuItem(popup, 2));
  EXPECT_FALSE(mDriver.ChooseMenuItem(popup, 3));
  EXPECT_EQ("False", Value(*mDocument, "*ZPDuplex"));

  // Without constraint checking every choice stays open.
  ASSERT_TRUE(mDriver.Click(Control("Cntl", 2003)));
  EXPECT_EQ("One-Sided|Two-Sided, Long Edge|Two-Sided, Short Edge|", MenuOf(Control("Cntl", 2003)));
}

TEST_F(WidgetRowsTest, DisabledRowsAndRowsWithoutTitleTakeNoChoice) {
  Open();
  UI_PopupControl pageSize(mWindow, 2001, Popup("*PageSize"), true, mDocument.get(), true, 0);
  EXPECT_FALSE(IsControlEnabled(Control("Cntl", 2001)));
  EXPECT_FALSE(IsControlEnabled(Control("Ttle", 2001)));
  EXPECT_FALSE(mDriver.ChooseMenuItem(Control("Cntl", 2001), 2));
  EXPECT_EQ("Letter", Value(*mDocument, "*PageSize"));

  UI_PopupControl untitled(mWindow, 2005, Popup("*ZPDuplex"), true, mDocument.get(), false, 0);
  EXPECT_FALSE(untitled.IsInitialized());
  ControlRef deaf = Control("Cntl", 2005);
  EXPECT_EQ("", MenuOf(deaf));
  AppendMenuItemTextWithCFString(GetControlPopupMenuHandle(deaf), CFSTR("A"), 0, 0, nullptr);
  AppendMenuItemTextWithCFString(GetControlPopupMenuHandle(deaf), CFSTR("B"), 0, 0, nullptr);
  SetControl32BitMaximum(deaf, 2);
  ASSERT_TRUE(mDriver.ChooseMenuItem(deaf, 2));
  EXPECT_EQ("False", Value(*mDocument, "*ZPDuplex"));  // no handler heard it
}

TEST_F(WidgetRowsTest, AChoiceWithoutTranslationShowsItsKeywordAndTheRestFollow) {
  Open();
  PointerList flags;
  PointerList items = MenuChoices(
      {{"False", "One-Sided"}, {"Top", nullptr}, {"Bottom", ""}, {"Booklet", "Booklet"}});
  PPDXPopupControl option("*ZPDuplex", CFSTR("Two-Sided"), flags, true, false, false, items,
                          new CString("False"), nullptr);
  UI_PopupControl row(mWindow, 2001, &option, false, nullptr, false, 0);
  ControlRef popup = Control("Cntl", 2001);
  EXPECT_EQ("One-Sided|Top|Bottom|Booklet|", MenuOf(popup));
  EXPECT_EQ(5, GetControl32BitMaximum(popup));
  ASSERT_TRUE(mDriver.ChooseMenuItem(popup, 4));
  EXPECT_EQ(4, option.GetValue());
}

TEST_F(WidgetRowsTest, CheckBoxesFollowTheOptionTheConstraintsAndTheirPictures) {
  Open(Replaced(SamplePPDText(), "*% ==== Fonts",
                "*UIConstraints: *ZPOffsetStack True *ZPDuplex False\n*% ==== Fonts"));
  UI_CheckBoxControl collate(mWindow, 3001, Boolean("*ZPCollate"), true, mDocument.get(), 3001);
  UI_CheckBoxControl offset(mWindow, 3002, Boolean("*ZPOffsetStack"), true, mDocument.get(), 3002);
  ControlRef collateBox = Control("Cntl", 3001);
  EXPECT_EQ("Collate", WidgetTitle(collateBox));
  EXPECT_EQ(1, GetControl32BitValue(collateBox));
  EXPECT_TRUE(IsControlEnabled(collateBox));
  EXPECT_EQ("collate-on.png", PictureOf(Control("Bitm", 3001)));

  ControlRef offsetBox = Control("Cntl", 3002);
  EXPECT_EQ(0, GetControl32BitValue(offsetBox));
  EXPECT_FALSE(IsControlEnabled(offsetBox));  // "True" is constrained
  EXPECT_FALSE(mDriver.Click(offsetBox));
  EXPECT_EQ("offset-off.png", PictureOf(Control("Bitm", 3002)));

  ASSERT_TRUE(mDriver.Click(collateBox));
  EXPECT_EQ(0, GetControl32BitValue(collateBox));
  EXPECT_EQ("False", Value(*mDocument, "*ZPCollate"));
  EXPECT_EQ("collate-off.png", PictureOf(Control("Bitm", 3001)));
  ASSERT_TRUE(mDriver.Click(collateBox));
  EXPECT_EQ("True", Value(*mDocument, "*ZPCollate"));
  EXPECT_EQ("collate-on.png", PictureOf(Control("Bitm", 3001)));
}

TEST_F(WidgetRowsTest, PicturesWithoutAnEntryOrWithAnOverlongKeywordOnlyErase) {
  Open();
  UI_IconControl known(mWindow, 2001, "*ZP_PAPER_ORIENTATION", mDocument.get());
  EXPECT_EQ("portrait.png", PictureOf(Control("Bitm", 2001)));
  UI_IconControl noEntry(mWindow, 2002, "*ZPMediaType", mDocument.get());
  EXPECT_EQ("none", PictureOf(Control("Bitm", 2002)));
  EXPECT_TRUE(IsControlVisible(Control("Bitm", 2002)));
  const std::string overlong = "*ZP_PAPER_ORIENTATION" + std::string(60, 'X');
  UI_IconControl tooLong(mWindow, 2003, overlong.c_str(), mDocument.get());
  EXPECT_EQ("none", PictureOf(Control("Bitm", 2003)));
  EXPECT_FALSE(Control("Bitm", 2003)->mDrawn.empty());  // erased all the same
}
