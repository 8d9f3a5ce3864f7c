#include "support/ToolkitFixture.h"
#include "toolkit/CoreGraphics.h"

namespace {

bool SameRect(const Rect& a, const Rect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

using ControlModelTest = ToolkitFixture;

TEST_F(ControlModelTest, IDsFindControlsAndFollowThemAcrossWindows) {
  WindowRef source = NewWindow();
  WindowRef target = NewWindow();
  ControlRef pane = NewPane(source, {10, 10, 110, 210});
  ControlRef ok = NewButton(source, {20, 20, 40, 80}, "OK", FourCC("ok  "), {FourCC("ok  "), 1});
  ASSERT_EQ(EmbedControl(ok, pane), noErr);
  ControlID paneID = {FourCC("pane"), 7};
  SetControlID(pane, &paneID);

  ControlRef found = nullptr;
  EXPECT_EQ(GetControlByID(source, &paneID, &found), noErr);
  EXPECT_EQ(found, pane);
  ControlID wrong = {FourCC("ok  "), 2};
  EXPECT_EQ(GetControlByID(source, &wrong, &found), errUnknownControl);

  // The pane, with the button in it, moves into the other window's tree.
  ControlRef root = nullptr;
  ASSERT_EQ(GetRootControl(target, &root), noErr);
  ASSERT_EQ(EmbedControl(pane, root), noErr);
  EXPECT_EQ(GetControlOwner(ok), target);
  ControlID okID = {FourCC("ok  "), 1};
  EXPECT_EQ(GetControlByID(source, &okID, &found), errUnknownControl);
  DisposeWindow(source);
  ASSERT_EQ(GetControlByID(target, &okID, &found), noErr);
  EXPECT_EQ(found, ok);
  EXPECT_TRUE(mDriver.Click(ok));

  // A container never goes inside itself, and only panes embed.
  EXPECT_EQ(EmbedControl(pane, pane), errUnknownControl);
  ControlRef inner = NewPane(target, {0, 0, 5, 5});
  ASSERT_EQ(EmbedControl(inner, pane), noErr);
  EXPECT_EQ(EmbedControl(pane, inner), errControlIsNotEmbedder);
  EXPECT_EQ(EmbedControl(inner, ok), errControlIsNotEmbedder);

  // Disposing a control takes what it embeds out of the index.
  DisposeControl(pane);
  EXPECT_EQ(GetControlByID(target, &okID, &found), errUnknownControl);
}

TEST_F(ControlModelTest, MovingAContainerMovesWhatItEmbeds) {
  WindowRef window = NewWindow();
  ControlRef outer = NewPane(window, {10, 10, 110, 210});
  ControlRef inner = NewPane(window, {20, 20, 60, 100});
  ControlRef box = NewCheckBox(window, {30, 30, 50, 90});
  ASSERT_EQ(EmbedControl(inner, outer), noErr);
  ASSERT_EQ(EmbedControl(box, inner), noErr);

  Rect moved = {50, 15, 150, 215};  // 40 down, 5 right, same size
  SetControlBounds(outer, &moved);
  EXPECT_TRUE(SameRect(BoundsOf(outer), moved));
  EXPECT_TRUE(SameRect(BoundsOf(inner), {60, 25, 100, 105}));
  EXPECT_TRUE(SameRect(BoundsOf(box), {70, 35, 90, 95}));

  // Resizing in place moves nothing inside.
  Rect wider = {50, 15, 150, 400};
  SetControlBounds(outer, &wider);
  EXPECT_TRUE(SameRect(BoundsOf(box), {70, 35, 90, 95}));
}

TEST_F(ControlModelTest, ContainersListWhatTheyEmbedInOrder) {
  WindowRef window = NewWindow();
  ControlRef pane = NewPane(window, {0, 0, 100, 100});
  ControlRef first = NewCheckBox(window, {10, 10, 30, 60});
  ControlRef second = NewPane(window, {40, 10, 60, 60});
  for (ControlRef control : {first, second}) ASSERT_EQ(EmbedControl(control, pane), noErr);
  UInt16 count = 0;
  ASSERT_EQ(CountSubControls(pane, &count), noErr);
  EXPECT_EQ(count, 2);
  ControlRef found = nullptr;
  ASSERT_EQ(GetIndexedSubControl(pane, 1, &found), noErr);
  EXPECT_EQ(found, first);
  ASSERT_EQ(GetIndexedSubControl(pane, 2, &found), noErr);
  EXPECT_EQ(found, second);
  EXPECT_EQ(GetIndexedSubControl(pane, 0, &found), paramErr);
  EXPECT_EQ(GetIndexedSubControl(pane, 3, &found), paramErr);
  EXPECT_EQ(CountSubControls(second, &count), noErr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(CountSubControls(first, &count), errControlIsNotEmbedder);
  DisposeControl(pane);
  EXPECT_EQ(CountSubControls(pane, &count), errUnknownControl);
}

TEST_F(ControlModelTest, AWindowCentredOnItsParentStaysOnTheDisplay) {
  SetMainDisplayBounds(CGRectMake(0, 0, 1024, 768));
  WindowRef parent = NewWindow(500, 400);  // at 100,100
  Rect bounds = {0, 0, 200, 300};
  WindowRef window = nullptr;
  ASSERT_EQ(CreateNewWindow(kMovableModalWindowClass, kWindowNoAttributes, &bounds, &window),
            noErr);
  ASSERT_EQ(RepositionWindow(window, parent, kWindowCenterOnParentWindow), noErr);
  Rect placed = {0, 0, 0, 0};
  GetWindowBounds(window, kWindowContentRgn, &placed);
  EXPECT_TRUE(SameRect(placed, {200, 200, 400, 500}));
  // A parent near the display's corner: as near the middle as the display allows.
  MoveWindow(parent, -150, 700, false);
  ASSERT_EQ(RepositionWindow(window, parent, kWindowCenterOnParentWindow), noErr);
  GetWindowBounds(window, kWindowContentRgn, &placed);
  EXPECT_TRUE(SameRect(placed, {568, 0, 768, 300}));
  // Wider than the display: centred all the same.
  SizeWindow(window, 1200, 200, false);
  ASSERT_EQ(RepositionWindow(window, parent, kWindowCenterOnParentWindow), noErr);
  GetWindowBounds(window, kWindowContentRgn, &placed);
  EXPECT_EQ(placed.left, -150 + (500 - 1200) / 2);
  EXPECT_EQ(RepositionWindow(window, parent, 1), paramErr);
  DisposeWindow(parent);
  EXPECT_EQ(RepositionWindow(window, parent, kWindowCenterOnParentWindow), errInvalidWindowRef);
  SetMainDisplayBounds(CGRectMake(0, 0, 1440, 900));
}

TEST_F(ControlModelTest, VisibilityNeedsEveryContainerVisible) {
  WindowRef window = NewWindow();
  ControlRef outer = NewPane(window, {0, 0, 100, 100});
  ControlRef box = NewCheckBox(window, {10, 10, 30, 60});
  ASSERT_EQ(EmbedControl(box, outer), noErr);
  EXPECT_TRUE(IsControlVisible(box));
  HideControl(outer);
  EXPECT_FALSE(IsControlVisible(box));
  EXPECT_FALSE(mDriver.Click(box));  // hidden controls get no events
  EXPECT_EQ(GetControl32BitValue(box), 0);
  ShowControl(outer);
  EXPECT_TRUE(IsControlVisible(box));
  DisableControl(outer);
  EXPECT_FALSE(mDriver.Click(box));
  EnableControl(outer);
  EXPECT_TRUE(mDriver.Click(box));
  EXPECT_EQ(GetControl32BitValue(box), 1);
}

TEST_F(ControlModelTest, ValueChangesAreClampedAndAnnounced) {
  WindowRef window = NewWindow();
  ControlRef pane = NewPane(window, {0, 0, 10, 10});
  std::vector<std::string> seen;
  EventLog log{&seen, "pane"};
  Listen(GetControlEventTarget(pane), &log, {{kEventClassControl, kEventControlValueFieldChanged}});

  SetControl32BitMaximum(pane, 10);
  SetControl32BitValue(pane, 25);
  EXPECT_EQ(GetControl32BitValue(pane), 10);
  SetControl32BitValue(pane, 10);  // no change, no event
  SetControl32BitMinimum(pane, 12);
  EXPECT_EQ(GetControl32BitMinimum(pane), 12);
  EXPECT_EQ(GetControl32BitMaximum(pane), 12);
  EXPECT_EQ(GetControlValue(pane), 12);
  SetControlMaximum(pane, 20);
  EXPECT_EQ(seen, std::vector<std::string>(4, "pane:151"));
}

TEST_F(ControlModelTest, DataPropertiesAndKinds) {
  WindowRef window = NewWindow();
  ControlRef text = nullptr;
  Rect bounds = {0, 0, 20, 100};
  ASSERT_EQ(CreateStaticTextControl(window, &bounds, CFSTR("Start"), nullptr, &text), noErr);
  CFStringRef replacement = CFSTR("Größe");
  ASSERT_EQ(
      SetControlData(text, 0, kControlStaticTextCFStringTag, sizeof replacement, &replacement),
      noErr);
  CFStringRef copy = nullptr;
  ASSERT_EQ(GetControlData(text, 0, kControlStaticTextCFStringTag, sizeof copy, &copy, nullptr),
            noErr);
  CFRef<CFStringRef> held(copy);
  EXPECT_TRUE(CFEqual(copy, replacement));
  Size size = 0;
  ASSERT_EQ(GetControlDataSize(text, 0, kControlStaticTextTextTag, &size), noErr);
  EXPECT_EQ(size, Size(std::string("Größe").size()));
  EXPECT_EQ(GetControlDataSize(text, 0, kControlFontStyleTag, &size), errDataNotSupported);

  SInt32 stored = 1234;
  ASSERT_EQ(SetControlProperty(text, FourCC("ZPX "), FourCC("rowx"), sizeof stored, &stored),
            noErr);
  SInt32 read = 0;
  ByteCount actual = 0;
  EXPECT_EQ(GetControlProperty(text, FourCC("ZPX "), FourCC("rowx"), sizeof read, &actual, &read),
            noErr);
  EXPECT_EQ(read, 1234);
  EXPECT_EQ(GetControlProperty(text, FourCC("ZPX "), FourCC("none"), sizeof read, &actual, &read),
            controlPropertyNotFoundErr);
  char tooSmall[2];
  EXPECT_EQ(
      GetControlProperty(text, FourCC("ZPX "), FourCC("rowx"), sizeof tooSmall, &actual, tooSmall),
      paramErr);

  ControlKind kind = {};
  ASSERT_EQ(GetControlKind(text, &kind), noErr);
  EXPECT_EQ(kind.kind, kControlKindStaticText);
  EXPECT_EQ(kind.signature, kControlKindSignatureApple);
  EXPECT_EQ(CreateRootControl(window, nullptr), errRootAlreadyExists);
}

TEST_F(ControlModelTest, PopupMenusKeepTheirItems) {
  ControlRef popup = NewPopup(NewWindow(), {0, 0, 20, 100}, {CFSTR("A4"), CFSTR("Letter")});
  MenuRef menu = GetControlPopupMenuHandle(popup);
  ASSERT_NE(menu, nullptr);
  MenuItemIndex index = 0;
  ASSERT_EQ(AppendMenuItemTextWithCFString(menu, CFSTR("Tabloid"), 0, 0, &index), noErr);
  EXPECT_EQ(index, 3);
  DeleteMenuItem(menu, 1);
  DeleteMenuItem(menu, 9);
  EXPECT_EQ(CountMenuItems(menu), 2);
  EXPECT_EQ(SetMenuItemTextWithCFString(menu, 3, CFSTR("x")), paramErr);
  // "Tabloid": seven characters of the system font, and the margins.
  EXPECT_EQ(GetMenuWidth(menu), 7 * 7 + 38);
  DisableMenuItem(menu, 2);
  EXPECT_FALSE(IsMenuItemEnabled(menu, 2));
  EXPECT_TRUE(IsMenuItemEnabled(menu, 1));
  DisableMenuItem(menu, 0);
  EXPECT_FALSE(IsMenuItemEnabled(menu, 1));
}

}  // namespace
