// Fonts, titles, sizes and pictures of controls, on the headless toolkit.
#include <gtest/gtest.h>

#include <string>

#include "support/FileText.h"
#include "support/PluginBundle.h"
#include "support/ToolkitFixture.h"
#include "support/WidgetText.h"
#include "toolkit/ToolkitControl.h"
#include "ui/ControlUtils.h"
#include "ui/LoadAnImageRef.h"

namespace {

// What the pane drew, as "erase" and "picture WxH" words.
std::string Drawn(ControlRef pane) {
  std::string words;
  for (const PaneDrawing& drawn : pane->mDrawn)
    words += drawn.kind == PaneDrawing::Kind::kErase ? std::string("erase ")
                                                     : "picture " + std::to_string(drawn.width) +
                                                           "x" + std::to_string(drawn.height) + " ";
  return words;
}

// A pane that draws the picture of `*path` whenever it is drawn.
OSStatus DrawPicture(EventHandlerCallRef, EventRef event, void* path) {
  ControlRef pane = nullptr;
  GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof pane, nullptr,
                    &pane);
  ControlUtils::DrawPNG(GetWindowPort(GetControlOwner(pane)), pane,
                        static_cast<std::string*>(path)->c_str());
  return noErr;
}

}  // namespace

class ControlUtilsTest : public ToolkitFixture {};

TEST_F(ControlUtilsTest, FontInfoSetsOnlyTheGivenPartsAndTitlesTakeBothTextForms) {
  EXPECT_EQ(paramErr, ControlUtils::setControlFontInfo(nullptr, 0, 11, 0, 0));
  WindowRef window = NewWindow();
  ControlRef box = NewCheckBox(window, {10, 10, 30, 100});
  ASSERT_EQ(noErr, ControlUtils::setControlFontInfo(box, 3, 11, -1, -1));
  ASSERT_EQ(noErr, ControlUtils::setControlFontInfo(box, -1, -1, 2, 1));
  ControlFontStyleRec style = {};
  GetControlData(box, kControlEntireControl, kControlFontStyleTag, sizeof style, &style, nullptr);
  EXPECT_EQ(3, style.font);
  EXPECT_EQ(11, style.size);
  EXPECT_EQ(2, style.style);
  EXPECT_EQ(1, style.just);

  EXPECT_EQ(noErr, ControlUtils::SetControlTitle(box, CFSTR("Collate")));
  EXPECT_EQ("Collate", WidgetTitle(box));
  EXPECT_EQ(noErr, ControlUtils::SetControlTitle(box, "Zweiseitig \xC3\xBC"));
  EXPECT_EQ("Zweiseitig \xC3\xBC", WidgetTitle(box));
  ControlRef label = nullptr;
  Rect bounds = {40, 10, 60, 100};
  ASSERT_EQ(noErr, CreateStaticTextControl(window, &bounds, CFSTR(""), nullptr, &label));
  EXPECT_EQ(noErr, ControlUtils::SetControlTitle(label, "Paper Type:"));
  EXPECT_EQ("Paper Type:", WidgetTitle(label));
}

TEST_F(ControlUtilsTest, SizeControlFollowsEachKindsRule) {
  WindowRef window = NewWindow(800, 300);
  // Headless text: 7 pixels a character in the system font, 6 in the small one.
  ControlRef label = nullptr;
  Rect bounds = {10, 20, 30, 40};
  ASSERT_EQ(noErr, CreateStaticTextControl(window, &bounds, CFSTR("Paper"), nullptr, &label));
  ControlUtils::SizeControl(label, false);
  EXPECT_EQ(20 + 35 + 28, BoundsOf(label).right);

  ControlRef wide =
      NewButton(window, {40, 100, 60, 200}, "OK", FourCC("ok  "), {FourCC("ok  "), 1});
  ControlUtils::SizeControl(wide, true);  // wide enough already
  EXPECT_EQ(100, BoundsOf(wide).left);
  EXPECT_EQ(200, BoundsOf(wide).right);
  const std::string longTitle(40, 'x');  // 280 pixels
  ControlRef left =
      NewButton(window, {70, 100, 90, 200}, longTitle.c_str(), FourCC("ok  "), {FourCC("ok  "), 2});
  ControlUtils::SizeControl(left, true);
  EXPECT_EQ(100 + 200 + 28, BoundsOf(left).right);
  ControlRef right = NewButton(window, {100, 400, 120, 500}, "Print a test page", FourCC("not!"),
                               {FourCC("canc"), 1});
  ControlUtils::SizeControl(right, false);
  EXPECT_EQ(500, BoundsOf(right).right);
  EXPECT_EQ(500 - (17 * 7 + 28) - 28, BoundsOf(right).left);

  ControlRef box = NewCheckBox(window, {130, 100, 150, 300});
  ControlUtils::SetControlTitle(box, "Collate");
  ControlUtils::SizeControl(box, true);
  EXPECT_EQ(100 + 49 + 20, BoundsOf(box).right);
  ControlUtils::setControlFontInfo(box, -1, 11, -1, -1);
  SetControlBounds(box, &(bounds = {130, 100, 150, 300}));
  ControlUtils::SizeControl(box, false);
  EXPECT_EQ(300 - (42 + 20), BoundsOf(box).left);
  EXPECT_EQ(300, BoundsOf(box).right);

  ControlRef narrow = NewPopup(window, {160, 100, 180, 400}, {CFSTR("A4"), CFSTR("A3")});
  ControlUtils::SizeControl(narrow, false);
  EXPECT_EQ(100, BoundsOf(narrow).left);
  EXPECT_EQ(100 + GetMenuWidth(GetControlPopupMenuHandle(narrow)) + 24, BoundsOf(narrow).right);
  EXPECT_LT(BoundsOf(narrow).right - 100, 190);
  ControlRef broad =
      NewPopup(window, {190, 100, 210, 150}, {CFSTR("Two-Sided, Long Edge Binding")});
  ControlUtils::SizeControl(broad, true);
  EXPECT_EQ(100 + 190, BoundsOf(broad).right);
}

TEST_F(ControlUtilsTest, ResourceFolderIsBesideTheLastMacOSFolderAndBounded) {
  char folder[ControlUtils::kResourcePathSize];
  EXPECT_FALSE(ControlUtils::GetResourceURL(folder));  // no plug-in bundle
  EXPECT_STREQ("", folder);
  {
    std::string path = WritePluginBundle(mFolder, "MacOS Plugins/MacOS/Z.plugin");
    CFRef<CFBundleRef> bundle(CreateBundleAt(path));
    ASSERT_TRUE(bundle);
    ASSERT_TRUE(ControlUtils::GetResourceURL(folder));
    EXPECT_EQ(path + "/Contents/Resources/", folder);
  }
  {
    std::string deep;
    for (int level = 0; level < 5; ++level) deep += std::string(200, 'd') + "/";
    CFRef<CFBundleRef> bundle(CreateBundleAt(WritePluginBundle(mFolder, deep + "Z.plugin")));
    ASSERT_TRUE(bundle);
    EXPECT_FALSE(ControlUtils::GetResourceURL(folder));  // never a cut path
    EXPECT_STREQ("", folder);
  }
}

TEST_F(ControlUtilsTest, DrawPNGDrawsWholePicturesAndOtherwiseOnlyErases) {
  const std::string picture = FileText(ZPX_FIXTURES "/toolkit/three-by-two.png");
  ASSERT_GT(picture.size(), 60u);
  std::string corrupt = picture;
  for (size_t i = 40; i < corrupt.size() - 12; ++i) corrupt[i] = char(~corrupt[i]);
  std::string path = WritePluginBundle(mFolder, "P.plugin");
  mFolder.Write("P.plugin/Contents/Resources/good.png", picture);
  mFolder.Write("P.plugin/Contents/Resources/corrupt.png", corrupt);
  mFolder.Write("P.plugin/Contents/Resources/short.png", picture.substr(0, picture.size() / 2));
  mFolder.Write("P.plugin/Contents/Resources/wide.png", FileText(ZPX_FIXTURES "/ui/too-wide.png"));
  CFRef<CFBundleRef> bundle(CreateBundleAt(path));
  ASSERT_TRUE(bundle);

  WindowRef window = NewWindow();
  ControlRef pane = NewPane(window, {10, 10, 50, 60});
  std::string relative;
  EventTypeSpec draw = {kEventClassControl, kEventControlDraw};
  EventHandlerRef handler = nullptr;
  ASSERT_EQ(noErr, InstallEventHandler(GetControlEventTarget(pane), NewEventHandlerUPP(DrawPicture),
                                       1, &draw, &relative, &handler));
  const std::pair<std::string, std::string> cases[] = {{"good.png", "erase picture 3x2 "},
                                                       {"corrupt.png", "erase "},
                                                       {"short.png", "erase "},
                                                       {"wide.png", "erase "},
                                                       {"missing.png", "erase "},
                                                       {"", "erase "}};
  for (const auto& [file, drawn] : cases) {
    relative = file;
    Draw1Control(pane);
    EXPECT_EQ(drawn, Drawn(pane)) << file;
  }
  EXPECT_EQ(10, pane->mDrawn[0].area.top);  // the control's own rectangle
  EXPECT_EQ(60, pane->mDrawn[0].area.right);

  CFRef<CFURLRef> url(CFBundleCopyResourceURL(bundle.get(), CFSTR("good"), CFSTR("png"), nullptr));
  CFRef<CGImageRef> image(LoadAnImageRef(url.get()));
  ASSERT_TRUE(image);
  EXPECT_EQ(3u, CGImageGetWidth(image.get()));
  EXPECT_EQ(2u, CGImageGetHeight(image.get()));
  EXPECT_EQ(nullptr, LoadAnImageRef(nullptr));
}
