// Watermark descriptions, the text as the controller reads it, and the
// PostScript resource that draws it.
#include <gtest/gtest.h>

#include <string>

#include "output/ServerLanguageBundle.h"
#include "output/ZPXWatermark.h"
#include "support/FileText.h"

namespace {

std::string FixtureText(const std::string& name) {
  return FileText(std::string(ZPX_FIXTURES) + "/output/" + name);
}

}  // namespace

TEST(ZPXWatermarkTest, DescriptionFieldsInOrderWithEmptyFieldsCollapsed) {
  ServerLanguageBundle bundle("en");
  ZPXWatermark watermark("10,20,255,0,0,x,1,x,450,x,x,48,Helvetica,COPY");
  EXPECT_EQ(10, watermark.XOffset());
  EXPECT_EQ(20, watermark.YOffset());
  EXPECT_EQ(255, watermark.Red());
  EXPECT_EQ(0, watermark.Green());
  EXPECT_EQ(0, watermark.Blue());
  EXPECT_TRUE(watermark.FirstPageOnly());
  EXPECT_EQ(450, watermark.Angle());
  EXPECT_EQ(48, watermark.FontSize());
  EXPECT_EQ("Helvetica", watermark.FontName());
  EXPECT_EQ("COPY", watermark.Text());
  EXPECT_STREQ("434F5059", watermark.GetWMTextInHex());

  // Two commas in a row are one separator: every later field moves up.
  ZPXWatermark collapsed("-3,,7,1,2,3,x,0,x,-900,x,x,12,Times,A B");
  EXPECT_EQ(-3, collapsed.XOffset());
  EXPECT_EQ(7, collapsed.YOffset());
  EXPECT_EQ(1, collapsed.Red());
  EXPECT_FALSE(collapsed.FirstPageOnly());
  EXPECT_EQ(-900, collapsed.Angle());
  EXPECT_EQ("A B", collapsed.Text());

  // No text field: the empty text.
  ZPXWatermark untitled("1,2,3,4,5,6,1,8,9,10,11,12,Times");
  EXPECT_EQ("Times", untitled.FontName());
  EXPECT_EQ("", untitled.Text());
  EXPECT_STREQ("", untitled.GetWMTextInHex());

  // A comma ends the text.
  ZPXWatermark cut("1,2,3,4,5,6,0,8,9,10,11,12,Times,DO,NOT COPY");
  EXPECT_EQ("DO", cut.Text());
  EXPECT_EQ("1,2,3,4,5,6,0,8,9,10,11,12,Times,DO,NOT COPY", cut.Description());
}

TEST(ZPXWatermarkTest, FirstPageOnlyExactlyForTrue) {
  ZPXWatermark watermark("0,0,0,0,0,0,1,0,0,0,0,10,Times,X");
  watermark.SetFirstPageOnly(L"true");
  EXPECT_FALSE(watermark.FirstPageOnly());
  watermark.SetFirstPageOnly(L"True");
  EXPECT_TRUE(watermark.FirstPageOnly());
  watermark.SetFirstPageOnly(L"True ");
  EXPECT_FALSE(watermark.FirstPageOnly());
  watermark.SetFirstPageOnly(nullptr);
  EXPECT_FALSE(watermark.FirstPageOnly());
}

TEST(ZPXWatermarkTest, HexTextInTheServerLanguageEncodingTwoDigitsAByte) {
  const char* description = "0,0,0,0,0,0,0,0,0,0,0,10,Times,Caf\xC3\xA9\n\x01";
  {
    ServerLanguageBundle bundle("fr");
    ZPXWatermark watermark(description);
    // Bytes below 0x10 keep their leading zero so later bytes stay in step.
    EXPECT_STREQ("436166E90A01", watermark.GetWMTextInHex());
    // A copy is converted: the second request sees the user's text again.
    EXPECT_STREQ("436166E90A01", watermark.GetWMTextInHex());
    EXPECT_EQ("Caf\xC3\xA9\n\x01", watermark.Text());
  }
  {
    ServerLanguageBundle bundle("ja");
    ZPXWatermark japanese("0,0,0,0,0,0,0,0,0,0,0,10,Mincho,\xE6\x97\xA5\xE6\x9C\xAC\x0A");
    EXPECT_STREQ("93FA967B0A", japanese.GetWMTextInHex());
    EXPECT_STREQ("93FA967B0A", japanese.GetWMTextInHex());
  }
  {
    // Languages outside the table send the text as it is.
    ServerLanguageBundle bundle("ko");
    ZPXWatermark watermark(description);
    EXPECT_STREQ("436166C3A90A01", watermark.GetWMTextInHex());
  }
  {
    // A character Latin 1 lacks: the text goes unconverted rather than cut.
    ServerLanguageBundle bundle("en");
    ZPXWatermark watermark("0,0,0,0,0,0,0,0,0,0,0,10,Times,\xE2\x82\xAC");
    EXPECT_STREQ("E282AC", watermark.GetWMTextInHex());
  }
}

TEST(ZPXWatermarkTest, ResourceTemplatesByLanguagePagesAndOrientation) {
  {
    ServerLanguageBundle bundle("en");
    ASSERT_TRUE(bundle.IsOpen());
    ZPXWatermark watermark("10,20,255,0,0,x,1,x,450,x,x,48,Helvetica,COPY");
    EXPECT_EQ(FixtureText("watermark-latin1-landscape-first-page.ps"),
              watermark.PostScriptResource(2));
  }
  {
    ServerLanguageBundle bundle("ja");
    ZPXWatermark watermark("-5,0,192,192,192,0,0,0,-305,0,0,72,Mincho,\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_EQ(FixtureText("watermark-japanese-reverse-landscape-every-page.ps"),
              watermark.PostScriptResource(4));
  }
}
