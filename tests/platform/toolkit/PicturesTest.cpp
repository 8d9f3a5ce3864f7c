// PNG pictures drawn by a user pane, which keeps what it last drew; damaged
// PNGs give no picture. And the system facts the pane asks for.
#include "carbon/SysBeep.h"
#include "support/FileText.h"
#include "support/FileURL.h"
#include "support/ToolkitFixture.h"
#include "toolkit/Appearance.h"
#include "toolkit/CoreGraphics.h"
#include "toolkit/Gestalt.h"
#include "toolkit/Processes.h"

namespace {

const std::string kPicture = ZPX_FIXTURES "/toolkit/three-by-two.png";

CGImageRef LoadPNG(const std::string& path) {
  CFRef<CFURLRef> url(CreateFileURL(path));
  CGDataProviderRef provider = CGDataProviderCreateWithURL(url.get());
  if (!provider) return nullptr;
  CGImageRef image =
      CGImageCreateWithPNGDataProvider(provider, nullptr, false, kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  return image;
}

CGImageRef sShown = nullptr;

void DrawPicture(ControlRef pane, ControlPartCode) {
  Rect bounds;
  GetControlBounds(pane, &bounds);
  CGrafPtr port = GetWindowPort(GetControlOwner(pane));
  CGContextRef context = nullptr;
  ASSERT_EQ(QDBeginCGContext(port, &context), noErr);
  EraseRect(&bounds);
  if (sShown)
    CGContextDrawImage(context, CGRectMake(bounds.left + 2, bounds.top + 2, 16, 16), sShown);
  ASSERT_EQ(QDEndCGContext(port, &context), noErr);
  EXPECT_EQ(context, nullptr);
}

using PicturesTest = ToolkitFixture;

TEST_F(PicturesTest, APaneKeepsWhatItLastDrew) {
  CFRef<CGImageRef> image(LoadPNG(kPicture));
  ASSERT_TRUE(image);
  EXPECT_EQ(CGImageGetWidth(image.get()), 3u);
  EXPECT_EQ(CGImageGetHeight(image.get()), 2u);

  WindowRef window = NewWindow(100, 50);
  ControlRef pane = NewPane(window, {10, 20, 30, 40});
  ControlUserPaneDrawUPP draw = NewControlUserPaneDrawUPP(DrawPicture);
  ASSERT_EQ(SetControlData(pane, 0, kControlUserPaneDrawProcTag, sizeof draw, &draw), noErr);
  sShown = image.get();
  Draw1Control(pane);
  const std::string withPicture =
      "window class 6 \"\" [100 100 150 200] shown\n"
      "  'upan' '....' 0 [0 0 50 100] value 0 (0..0)\n"
      "    'upan' '....' 0 [10 20 30 40] value 0 (0..0)\n"
      "      erase [10 20 30 40]\n"
      "      picture 3x2 in [12 22 28 38]\n";
  EXPECT_EQ(HeadlessDriver::Dump(window), withPicture);

  HideControl(pane);
  sShown = nullptr;
  Draw1Control(pane);  // hidden: not drawn, the picture stays
  EXPECT_EQ(HeadlessDriver::Dump(window).find("picture 3x2") != std::string::npos, true);
  ShowControl(pane);
  Draw1Control(pane);
  EXPECT_EQ(HeadlessDriver::Dump(window).find("picture"), std::string::npos);
  EXPECT_NE(HeadlessDriver::Dump(window).find("erase [10 20 30 40]"), std::string::npos);

  // Drawing outside a draw is kept by nobody.
  CGContextRef context = nullptr;
  ASSERT_EQ(QDBeginCGContext(GetWindowPort(window), &context), noErr);
  CGContextDrawImage(context, CGRectMake(0, 0, 3, 2), image.get());
  QDEndCGContext(GetWindowPort(window), &context);
  EXPECT_EQ(HeadlessDriver::Dump(window).find("picture"), std::string::npos);
}

TEST_F(PicturesTest, DamagedPNGsGiveNoPicture) {
  std::string good = FileText(kPicture);
  ASSERT_EQ(good.size(), 74u);
  std::string badCRC = good;
  badCRC[45] = char(badCRC[45] ^ 0x40);  // inside the compressed pixels
  std::string hugeHeader = good;
  hugeHeader[16] = 0x7F;  // width far beyond 4096
  const std::vector<std::pair<const char*, std::string>> damaged = {
      {"truncated", good.substr(0, 50)},
      {"pixel data changed", badCRC},
      {"too wide", hugeHeader},
      {"not a PNG", "GIF89a not at all"},
      {"empty", ""},
  };
  for (const auto& [what, bytes] : damaged) {
    std::string path = mFolder.Write(std::string(what) + ".png", bytes);
    CFRef<CGImageRef> image(LoadPNG(path));
    EXPECT_FALSE(image) << what;
  }
  EXPECT_EQ(LoadPNG(mFolder.Path() + "/missing.png"), nullptr);
}

TEST_F(PicturesTest, SystemFactsThePaneAsksFor) {
  SInt32 minor = 0;
  ASSERT_EQ(Gestalt(gestaltSystemVersionMinor, &minor), noErr);
  EXPECT_GT(minor, 4);
  EXPECT_EQ(Gestalt(FourCC("sysv"), &minor), gestaltUndefSelectorErr);

  SetMainDisplayBounds(CGRectMake(0, 0, 1024, 768));
  CGRect display = CGDisplayBounds(CGMainDisplayID());
  EXPECT_EQ(display.size.width, 1024);
  EXPECT_EQ(display.size.height, 768);

  Point size = {0, 0};
  SInt16 baseline = 0;
  ASSERT_EQ(GetThemeTextDimensions(CFSTR("Größe"), kThemeSmallSystemFont, kThemeStateActive, false,
                                   &size, &baseline),
            noErr);
  EXPECT_EQ(size.h, 5 * 6);
  EXPECT_EQ(size.v, 14);
  ASSERT_EQ(GetThemeTextDimensions(CFSTR("Größe"), kThemeSystemFont, kThemeStateActive, false,
                                   &size, &baseline),
            noErr);
  EXPECT_EQ(size.h, 5 * 7);

  SetThemeCursor(kThemeWatchCursor);
  EXPECT_EQ(CurrentThemeCursor(), kThemeWatchCursor);
  SetThemeCursor(kThemeArrowCursor);
  EXPECT_EQ(CurrentThemeCursor(), kThemeArrowCursor);

  UInt32 beeps = SysBeepCount();
  SysBeep(1);
  EXPECT_EQ(SysBeepCount(), beeps + 1);

  ProcessSerialNumber process;
  ASSERT_EQ(GetCurrentProcess(&process), noErr);
  ProcessSerialNumber other = {0, 77};
  EXPECT_EQ(SetFrontProcess(&other), paramErr);
  EXPECT_FALSE(CurrentProcessIsFrontForTesting());
  ASSERT_EQ(SetFrontProcess(&process), noErr);
  EXPECT_TRUE(CurrentProcessIsFrontForTesting());
}

}  // namespace
