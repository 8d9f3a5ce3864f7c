// The icon table as the bundle's lookup file fills it, and the pictures the
// bundle's table names.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/FileText.h"
#include "support/PanePictures.h"
#include "support/PluginBundle.h"
#include "support/TempFile.h"
#include "support/ToolkitFixture.h"
#include "toolkit/IBCarbonRuntime.h"
#include "ui/IconTable.h"
#include "ui/UI_IconControl.h"
#include "ui/UI_Panel.h"

namespace {

void ReadText(IconTable& table, const std::string& text) {
  TempFile file(text, "lookup.csv");
  ASSERT_TRUE(table.ReadFile(file.Path()));
}

}  // namespace

TEST(IconTable, ReadsBothLineFormsInFileOrder) {
  IconTable table;
  ReadText(table,
           "1,ZPDuplex,Top,icons/duplex-top.png\n"
           "2,ZPCollate,icons/collate.png\n"
           "3,ZPDuplex,Bottom,icons/duplex-bottom.gif\n"  // not a picture we draw
           "4,ZPDuplex,Top,icons/second.png\n"
           "5,ZPDuplex\n");  // too few fields
  EXPECT_EQ(3u, table.Count());
  EXPECT_STREQ("icons/duplex-top.png", table.PathFor("ZPDuplex", "Top"));
  EXPECT_STREQ("icons/collate.png", table.PathFor("ZPCollate", ""));
  EXPECT_STREQ("", table.PathFor("ZPDuplex", "Bottom"));
  EXPECT_STREQ("", table.PathFor("*ZPDuplex", "Top"));  // exact keyword only
  EXPECT_STREQ("", table.PathFor("ZPDuplex", "top"));
}

TEST(IconTable, LineEndsAreStrippedWhateverTheirForm) {
  IconTable table;
  ReadText(table, "x,A,One,icons/one.png\r\nx,B,Two,icons/two.png\nx,C,Three,icons/three.png");
  EXPECT_STREQ("icons/one.png", table.PathFor("A", "One"));  // no "\r" kept
  EXPECT_STREQ("icons/two.png", table.PathFor("B", "Two"));
  EXPECT_STREQ("icons/three.png", table.PathFor("C", "Three"));  // last line keeps its "g"

  // A carriage return or other control character inside a line is no line end: such a
  // line is no entry, and the lines around it still are.
  IconTable stray;
  ReadText(stray,
           "x,D,Four,icons/four.png\r\x01n\nx,E,Five,icons/fi\x01ve.png\nx,F,Six,icons/six.png\n");
  EXPECT_STREQ("", stray.PathFor("D", "Four"));
  EXPECT_STREQ("", stray.PathFor("E", "Five"));
  EXPECT_STREQ("icons/six.png", stray.PathFor("F", "Six"));
}

TEST(IconTable, FieldsAndLinesThatDoNotFitAreLeftOutWhole) {
  const std::string keyword64(64, 'K');
  const std::string keyword63(63, 'K');
  const std::string path128 = "icons/" + std::string(118, 'p') + ".png";  // 128 bytes
  const std::string path127 = "icons/" + std::string(117, 'p') + ".png";
  const std::string longLine = "x,L,V,icons/l.png," + std::string(1100, 'z') + "\n";
  IconTable table;
  ReadText(table, "x," + keyword64 + ",V,icons/k.png\n" + "x," + keyword63 + ",V,icons/k.png\n" +
                      "x,P,V," + path128 + "\n" + "x,P,W," + path127 + "\n" + longLine +
                      "x,After,V,icons/after.png\n");
  EXPECT_EQ(3u, table.Count());
  EXPECT_STREQ("icons/k.png", table.PathFor(keyword63.c_str(), "V"));
  EXPECT_STREQ("", table.PathFor("P", "V"));
  EXPECT_EQ(path127, table.PathFor("P", "W"));
  EXPECT_STREQ("", table.PathFor("L", "V"));  // neither kept nor cut into the next entry
  EXPECT_STREQ("icons/after.png", table.PathFor("After", "V"));
}

TEST(IconTable, KeepsTheFirst999EntriesAndReadsNothingWithoutAFile) {
  std::string text;
  for (int i = 0; i < 1200; ++i)
    text += "x,K" + std::to_string(i) + ",V,icons/" + std::to_string(i) + ".png\n";
  IconTable table;
  ReadText(table, text);
  EXPECT_EQ(999u, table.Count());
  EXPECT_STREQ("icons/998.png", table.PathFor("K998", "V"));
  EXPECT_STREQ("", table.PathFor("K999", "V"));

  IconTable none;
  EXPECT_FALSE(none.ReadFile("/nonexistent/icons/lookup.csv"));
  EXPECT_TRUE(none.Empty());
}

class BundlePictures : public ToolkitFixture {
 protected:
  // The size of a row's picture area in the pane the bundle's interface file makes.
  void PaneArea(short* width, short* height) {
    CFRef<CFBundleRef> bundle(CreateBundleAt(ZPX_BUILT_BUNDLE));
    IBNibRef nib = nullptr;
    ASSERT_EQ(CreateNibReferenceWithCFBundle(bundle.get(), CFSTR("PDEProject"), &nib), noErr);
    WindowRef pane = nullptr;
    ASSERT_EQ(CreateWindowFromNib(nib, CFSTR("PDEMain"), &pane), noErr);
    DisposeNibReference(nib);
    Rect bounds = {0, 0, 0, 0};
    GetControlBounds(FindControl(pane, UI_IconControl::kSignature, UI_Panel::kPopupRowBase),
                     &bounds);
    *width = short(bounds.right - bounds.left);
    *height = short(bounds.bottom - bounds.top);
    DisposeWindow(pane);
  }
};

// Every line of the bundle's table is an entry whose picture loads at the
// size of the pane's picture area, so that it is drawn pixel for pixel. It is
// a drawing on the pixel grid: more than a coloured square (three colours at
// least), every pixel wholly covered or wholly clear and few colours (no
// blurred edge). No two files show the same picture.
TEST_F(BundlePictures, EachEntryIsADrawingOfItsOwnAtThePanesSize) {
  constexpr size_t kMostColours = 8;
  short width = 0, height = 0;
  PaneArea(&width, &height);
  ASSERT_GT(width, 0);
  const std::string lookup = FileText(ZPX_BUNDLE "/Resources/icons/lookup.csv");
  IconTable table;
  ASSERT_TRUE(table.ReadFile(ZPX_BUNDLE "/Resources/icons/lookup.csv"));
  EXPECT_EQ(table.Count(), size_t(std::count(lookup.begin(), lookup.end(), '\n')));
  std::map<std::vector<UInt8>, std::string> seen;
  for (size_t i = 0; i < table.Count(); ++i) {
    const std::string path = table.PathAt(i);
    CFRef<CGImageRef> image(LoadBundlePicture(path));
    ASSERT_TRUE(image) << path;
    EXPECT_EQ(CGImageGetWidth(image.get()), size_t(width)) << path;
    EXPECT_EQ(CGImageGetHeight(image.get()), size_t(height)) << path;
    const std::vector<UInt8>& pixels = PixelsOf(image.get());
    std::set<std::vector<UInt8>> colours;
    bool onGrid = true;
    for (size_t at = 0; at + 4 <= pixels.size(); at += 4) {
      colours.insert({pixels.begin() + long(at), pixels.begin() + long(at) + 4});
      onGrid = onGrid && (pixels[at + 3] == 0 || pixels[at + 3] == 255);
    }
    EXPECT_GE(colours.size(), 3u) << path;
    EXPECT_LE(colours.size(), kMostColours) << path;
    EXPECT_TRUE(onGrid) << path;
    const std::string& first = seen.emplace(pixels, path).first->second;
    EXPECT_EQ(first, path) << "the same picture";
  }
}
