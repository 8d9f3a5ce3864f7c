// Interface files read from a bundle's Resources/: what a good one builds,
// and the one-line report of every kind of malformed one.
#include <string>
#include <vector>

#include "support/ToolkitFixture.h"

namespace {

const char kGood[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<interface>
  <requires lib="gtk+" version="3.20"/>
  <object class="GtkAdjustment" id="zoom">
    <property name="lower">10</property>
    <property name="upper">400</property>
    <property name="value">100</property>
  </object>
  <object class="GtkWindow" id="Main">
    <property name="title">Options</property>
    <property name="default-width">320</property>
    <property name="default-height">200</property>
    <child>
      <object class="GtkFixed" id="Main:PANE:1">
        <child>
          <object class="GtkLabel"><property name="label">Größe:</property></object>
          <packing><property name="x">8</property><property name="y">4</property></packing>
        </child>
        <child>
          <object class="GtkComboBoxText" id="Main:size:2">
            <property name="active">1</property>
            <items><item>A4</item><item>Letter</item><item>A3</item></items>
          </object>
          <packing><property name="x">80</property><property name="y">4</property></packing>
        </child>
        <child>
          <object class="GtkFixed" id="Main:grup:3">
            <property name="width-request">150</property>
            <property name="height-request">60</property>
            <property name="visible">False</property>
            <child>
              <object class="GtkCheckButton" id="Main:dupl:4">
                <property name="label">Duplex</property>
                <property name="active">True</property>
              </object>
              <packing><property name="x">5</property><property name="y">6</property></packing>
            </child>
          </object>
          <packing><property name="x">10</property><property name="y">40</property></packing>
        </child>
        <child>
          <object class="GtkScrollbar" id="Main:zoom:5">
            <property name="adjustment">zoom</property>
            <property name="sensitive">False</property>
          </object>
          <packing><property name="x">200</property><property name="y">40</property></packing>
        </child>
        <child>
          <object class="GtkTreeView" id="Main:list:6">
            <child><object class="GtkTreeViewColumn" id="Main:name"><property name="title">Name</property></object></child>
          </object>
          <packing><property name="x">10</property><property name="y">110</property></packing>
        </child>
        <child>
          <object class="GtkButton" id="Main:ok  :1">
            <property name="label">OK</property>
            <property name="name">ok  </property>
            <accelerator key="Return" signal="clicked"/>
          </object>
          <packing><property name="x">210</property><property name="y">170</property></packing>
        </child>
      </object>
    </child>
  </object>
  <object class="GtkWindow" id="Sheet">
    <property name="role">sheet-alert</property>
  </object>
</interface>
)";

using InterfaceFileTest = ToolkitFixture;

TEST_F(InterfaceFileTest, AGoodFileBuildsItsWindows) {
  IBNibRef nib = nullptr;
  ASSERT_EQ(OpenNib(kGood, &nib), noErr);
  WindowRef window = nullptr;
  ASSERT_EQ(CreateWindowFromNib(nib, CFSTR("Main"), &window), noErr);
  EXPECT_EQ(
      HeadlessDriver::Dump(window),
      "window class 6 \"Options\" [0 0 200 320] hidden\n"
      "  'upan' '....' 0 [0 0 200 320] value 0 (0..0)\n"
      "    'upan' 'PANE' 1 [0 0 200 320] value 0 (0..0)\n"
      "      'stxt' '....' 0 [4 8 24 108] \"Größe:\" value 0 (0..0)\n"
      "      'popb' 'size' 2 [4 80 24 180] value 2 (1..3)\n"
      "        - \"A4\"\n"
      "        - \"Letter\"\n"
      "        - \"A3\"\n"
      "      'upan' 'grup' 3 [40 10 100 160] value 0 (0..0) hidden\n"
      "        'cbox' 'dupl' 4 [46 15 66 115] \"Duplex\" value 1 (0..1)\n"
      "      'sbar' 'zoom' 5 [40 200 60 300] value 100 (10..400) disabled\n"
      "      'datb' 'list' 6 [110 10 130 110] value 0 (0..0)\n"
      "        | 'name' \"Name\"\n"
      "      'push' 'ok  ' 1 [170 210 190 310] \"OK\" value 0 (0..0) command 'ok  ' key return\n");

  ControlID ok = {FourCC("ok  "), 1};
  ControlRef button = nullptr;
  ASSERT_EQ(GetControlByID(window, &ok, &button), noErr);
  std::vector<std::string> seen;
  EventLog log{&seen, "main"};
  Listen(GetWindowEventTarget(window), &log, {{kEventClassCommand, kEventCommandProcess}});
  EXPECT_FALSE(mDriver.PressReturn());  // not shown yet
  ShowWindow(window);
  EXPECT_TRUE(mDriver.PressReturn());
  EXPECT_EQ(seen, std::vector<std::string>{"main:cmd " + std::to_string(FourCC("ok  "))});

  WindowRef sheet = nullptr;
  ASSERT_EQ(CreateWindowFromNib(nib, CFSTR("Sheet"), &sheet), noErr);
  WindowClass sheetClass = 0;
  GetWindowClass(sheet, &sheetClass);
  EXPECT_EQ(sheetClass, kSheetAlertWindowClass);
  ASSERT_EQ(ShowSheetWindow(sheet, window), noErr);
  WindowRef parent = nullptr;
  EXPECT_EQ(GetSheetWindowParent(window, &parent), errInvalidWindowRef);
  GetSheetWindowParent(sheet, &parent);
  EXPECT_EQ(parent, window);

  testing::internal::CaptureStderr();
  EXPECT_EQ(CreateWindowFromNib(nib, CFSTR("Missing"), &window), kIBCarbonRuntimeCantFindObject);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), NibPath() + ":2: no window \"Missing\"\n");
  DisposeNibReference(nib);

  EXPECT_EQ(CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("Other"), &nib),
            kIBCarbonRuntimeCantFindNibFile);
  EXPECT_EQ(CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("../Resources/Test"), &nib),
            kIBCarbonRuntimeCantFindNibFile);
}

struct Malformed {
  const char* what;
  std::string text;
  int line;
  const char* message;
};

std::string InWindow(const std::string& inside) {
  return "<interface>\n<object class=\"GtkWindow\" id=\"W\">\n" + inside +
         "\n</object>\n</interface>\n";
}

std::string InFixed(const std::string& inside) {
  return InWindow("<child><object class=\"GtkFixed\">\n" + inside + "\n</object></child>");
}

TEST_F(InterfaceFileTest, EveryMalformedFileIsRefusedWithOneLine) {
  const std::vector<Malformed> cases = {
      {"not XML", "<interface>\n<object class=\"GtkWindow\" id=\"W\">\n</interface>\n", 3,
       "Opening and ending tag mismatch"},
      {"not an interface", "<ui/>\n", 1, "not an <interface>"},
      {"document type", "<!DOCTYPE x [<!ENTITY e \"boom\">]>\n<interface/>\n", 1,
       "document type declarations are not allowed"},
      {"unknown class", InFixed("<child><object class=\"GtkSpinner\"/></child>"), 4,
       "unknown class \"GtkSpinner\""},
      {"unknown property", InWindow("<property name=\"opacity\">1</property>"), 3,
       "unknown property \"opacity\" of GtkWindow"},
      {"bad value", InWindow("<property name=\"default-width\">wide</property>"), 3,
       "property \"default-width\" cannot be \"wide\""},
      {"bad role", InWindow("<property name=\"role\">popup</property>"), 3,
       "property \"role\" cannot be \"popup\""},
      {"duplicate id",
       InFixed("<child><object class=\"GtkButton\" id=\"W:ok  :1\"/></child>\n"
               "<child><object class=\"GtkButton\" id=\"W:ok  :1\"/></child>"),
       5, "duplicate id \"W:ok  :1\""},
      {"id of another window",
       InFixed("<child><object class=\"GtkButton\" id=\"X:ok  :1\"/></child>"), 4,
       "id \"X:ok  :1\" is not \"W:<code>:<number>\""},
      {"control inside a button",
       InFixed("<child><object class=\"GtkButton\">\n<child><object class=\"GtkLabel\"/></child>\n"
               "</object></child>"),
       5, "GtkLabel cannot go into GtkButton"},
      {"two window children",
       InWindow("<child><object class=\"GtkFixed\"/></child>\n<child><object "
                "class=\"GtkFixed\"/></child>"),
       4, "GtkFixed cannot go into GtkWindow"},
      {"missing adjustment",
       InFixed(
           "<child><object class=\"GtkScrollbar\">\n<property name=\"adjustment\">nope</property>\n"
           "</object></child>"),
       5, "no GtkAdjustment \"nope\""},
      {"bad packing",
       InFixed("<child><object class=\"GtkLabel\"/><packing><property "
               "name=\"x\">-3</property></packing></child>"),
       4, "packing \"x\" cannot be \"-3\""},
      {"bad accelerator",
       InFixed("<child><object class=\"GtkButton\">\n<accelerator key=\"F1\"/>\n</object></child>"),
       5, "accelerator key \"F1\" is neither Return nor Escape"},
      {"unknown element", InWindow("<signal name=\"destroy\" handler=\"x\"/>"), 3,
       "unexpected <signal> in GtkWindow"},
      {"window inside", InFixed("<child><object class=\"GtkWindow\" id=\"V\"/></child>"), 4,
       "GtkWindow cannot go into GtkFixed"},
      {"no window id", "<interface>\n<object class=\"GtkWindow\"/>\n</interface>\n", 2,
       "GtkWindow without an id"},
  };
  for (const Malformed& bad : cases) {
    IBNibRef nib = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(OpenNib(bad.text, &nib), kIBCarbonRuntimeCantFindNibFile) << bad.what;
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(nib, nullptr) << bad.what;
    std::string start = NibPath() + ":" + std::to_string(bad.line) + ": ";
    EXPECT_EQ(reported.compare(0, start.size(), start), 0) << bad.what << ": " << reported;
    EXPECT_NE(reported.find(bad.message), std::string::npos) << bad.what << ": " << reported;
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1)
        << bad.what << ": " << reported;
  }
  EXPECT_TRUE(ToolkitModel::Shared().Windows().empty());
}

}  // namespace

TEST_F(InterfaceFileTest, ASignatureMayHoldAColon) {
  const char file[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<interface>
  <object class="GtkWindow" id="W">
    <child>
      <object class="GtkFixed" id="W:PANE:1">
        <child>
          <object class="GtkCheckButton" id="W:a:bc:7"><property name="label">On</property></object>
        </child>
      </object>
    </child>
  </object>
</interface>
)";
  IBNibRef nib = nullptr;
  ASSERT_EQ(OpenNib(file, &nib), noErr);
  WindowRef window = nullptr;
  ASSERT_EQ(CreateWindowFromNib(nib, CFSTR("W"), &window), noErr);
  ControlID id = {FourCC("a:bc"), 7};
  ControlRef box = nullptr;
  EXPECT_EQ(GetControlByID(window, &id, &box), noErr);
  EXPECT_NE(box, nullptr);
  DisposeWindow(window);
  DisposeNibReference(nib);
}
