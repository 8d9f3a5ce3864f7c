#include "support/ToolkitFixture.h"

namespace {

using WindowDumpTest = ToolkitFixture;

TEST_F(WindowDumpTest, ShowsEveryControlOfTheTree) {
  WindowRef window = NewWindow(200, 100);
  SetWindowTitleWithCFString(window, CFSTR("Print"));
  ControlRef pane = NewPane(window, {5, 5, 95, 195});
  ControlID paneID = {FourCC("pane"), 1};
  SetControlID(pane, &paneID);
  ControlRef ok = NewButton(window, {60, 120, 80, 190}, "OK", FourCC("ok  "), {FourCC("ok  "), 1});
  SetWindowDefaultButton(window, ok);
  ControlRef box = NewCheckBox(window, {10, 10, 30, 90});
  EmbedControl(box, pane);
  SetControl32BitValue(box, 1);
  HideControl(pane);
  DisableControl(ok);
  EXPECT_EQ(HeadlessDriver::Dump(window),
            "window class 6 \"Print\" [100 100 200 300] shown\n"
            "  'upan' '....' 0 [0 0 100 200] value 0 (0..0)\n"
            "    'upan' 'pane' 1 [5 5 95 195] value 0 (0..0) hidden\n"
            "      'cbox' '....' 0 [10 10 30 90] \"Box\" value 1 (0..1)\n"
            "    'push' 'ok  ' 1 [60 120 80 190] \"OK\" value 0 (0..0) disabled command 'ok  ' key "
            "return\n");
}

}  // namespace
