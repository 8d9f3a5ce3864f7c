// Alerts from the bundle's "AlertUI" file, their modal wait, and commands
// posted to windows, driven through the headless toolkit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/PluginBundle.h"
#include "support/ToolkitFixture.h"
#include "support/WidgetText.h"
#include "ui/CustomCarbonEvent.h"
#include "ui/EventHack.h"
#include "ui/TellUser.h"
#include "ui/UI_ZPXAlert.h"

namespace {

WindowClass ClassOf(WindowRef window) {
  WindowClass windowClass = 0;
  GetWindowClass(window, &windowClass);
  return windowClass;
}

// An alert whose input check answers what the test lines up, one per OK.
class CheckedAlert : public UI_ZPXAlert {
 public:
  explicit CheckedAlert(std::vector<int> answers)
      : UI_ZPXAlert(CFSTR("Printer address"), nullptr, 0x202, nullptr), mAnswers(answers) {}
  int validateInput() override {
    int answer = mAnswers.front();
    mAnswers.erase(mAnswers.begin());
    return answer;
  }

 private:
  std::vector<int> mAnswers;
};

}  // namespace

class AlertTest : public ToolkitFixture {
 protected:
  AlertTest() : mBuilt(CreateBundleAt(ZPX_BUILT_BUNDLE)) {}
  CFRef<CFBundleRef> mBuilt;
};

TEST_F(AlertTest, FlagsChooseButtonsAndFonts) {
  UI_ZPXAlert standard(CFSTR("The job could not be sent."), CFSTR("Try again?"), 0x202, nullptr);
  ASSERT_TRUE(standard.IsBuilt());
  EXPECT_EQ("OK", WidgetTitle(standard.getControlByID(FourCC("ok  "), 1)));
  EXPECT_EQ("Cancel", WidgetTitle(standard.getControlByID(FourCC("canc"), 1)));
  standard.show();
  EXPECT_TRUE(IsControlVisible(standard.getControlByID(FourCC("ok  "), 1)));
  EXPECT_TRUE(IsControlVisible(standard.getControlByID(FourCC("canc"), 1)));
  EXPECT_EQ("The job could not be sent.", WidgetTitle(standard.getControlByID(FourCC("alrt"), 1)));
  EXPECT_EQ("Try again?", WidgetTitle(standard.getControlByID(FourCC("alrt"), 2)));
  EXPECT_NE(11, WidgetFontSize(standard.getControlByID(FourCC("alrt"), 1)));
  EXPECT_EQ(11, WidgetFontSize(standard.getControlByID(FourCC("alrt"), 2)));
  standard.hide();

  UI_ZPXAlert okOnly(CFSTR("Done."), nullptr, 0x101, nullptr);
  ASSERT_TRUE(okOnly.IsBuilt());
  okOnly.show();
  EXPECT_EQ(nullptr, okOnly.getControlByID(FourCC("alrt"), 2));  // the one-line window
  EXPECT_EQ(11, WidgetFontSize(okOnly.getControlByID(FourCC("alrt"), 1)));
  EXPECT_FALSE(IsControlVisible(okOnly.getControlByID(FourCC("canc"), 1)));
  EXPECT_TRUE(IsControlVisible(okOnly.getControlByID(FourCC("ok  "), 1)));
  okOnly.hide();

  UI_ZPXAlert yesNo(CFSTR("Replace the shortcut?"), nullptr, 0x4, nullptr);
  EXPECT_EQ("Yes", WidgetTitle(yesNo.getControlByID(FourCC("ok  "), 1)));
  EXPECT_EQ("No", WidgetTitle(yesNo.getControlByID(FourCC("canc"), 1)));
  UI_ZPXAlert titled("Replace?", nullptr, 0x4, nullptr, "Replace", "Keep");
  EXPECT_EQ("Replace", WidgetTitle(titled.getControlByID(FourCC("ok  "), 1)));
  EXPECT_EQ("Keep", WidgetTitle(titled.getControlByID(FourCC("canc"), 1)));
}

TEST_F(AlertTest, ADocumentParentGetsASheetAndASheetParentAPlainWindow) {
  WindowRef document = NewWindow();
  UI_ZPXAlert overDocument(CFSTR("One"), CFSTR("Two"), 0x202, document);
  ASSERT_TRUE(overDocument.IsBuilt());
  EXPECT_EQ(kSheetWindowClass, ClassOf(overDocument.Window()));
  EXPECT_NE(nullptr, overDocument.getControlByID(FourCC("alrt"), 2));
  overDocument.show();
  WindowRef shownOver = nullptr;
  ASSERT_EQ(noErr, GetSheetWindowParent(overDocument.Window(), &shownOver));
  EXPECT_EQ(document, shownOver);
  overDocument.hide();
  EXPECT_FALSE(IsWindowVisible(overDocument.Window()));

  Rect bounds = {100, 100, 300, 400};
  WindowRef sheet = nullptr;
  ASSERT_EQ(noErr, CreateNewWindow(kSheetWindowClass, kWindowNoAttributes, &bounds, &sheet));
  UI_ZPXAlert overSheet(CFSTR("One"), CFSTR("Two"), 0x202, sheet);
  EXPECT_EQ(kMovableModalWindowClass, ClassOf(overSheet.Window()));
  EXPECT_NE(nullptr, overSheet.getControlByID(FourCC("alrt"), 2));
  overSheet.show();
  EXPECT_TRUE(IsWindowVisible(overSheet.Window()));
}

TEST_F(AlertTest, ReturnAndEscapeEndTheAlertLikeItsButtons) {
  mDriver.QueueModalStep([this] { EXPECT_TRUE(mDriver.PressReturn()); });
  EXPECT_EQ(FourCC("ok  "), TellUser(CFSTR("Saved."), 0x202, nullptr));
  mDriver.QueueModalStep([this] { EXPECT_TRUE(mDriver.PressEscape()); });
  EXPECT_EQ(FourCC("not!"), TellUser(CFSTR("Saved."), CFSTR("Really?"), 0x202, nullptr));
  EXPECT_TRUE(ToolkitModel::Shared().Windows().empty());  // each alert disposed its window
}

TEST_F(AlertTest, InputCheckDecidesWhatOKDoes) {
  CheckedAlert keepThenCancel({0, -1});
  ASSERT_TRUE(keepThenCancel.IsBuilt());
  keepThenCancel.show();
  mDriver.QueueModalStep([this] { EXPECT_TRUE(mDriver.PressReturn()); });
  mDriver.QueueModalStep([&] {
    EXPECT_TRUE(IsWindowVisible(keepThenCancel.Window()));  // still open after a 0
    EXPECT_TRUE(mDriver.PressReturn());
  });
  EXPECT_EQ(FourCC("not!"), keepThenCancel.waitForUser());
  EXPECT_FALSE(IsWindowVisible(keepThenCancel.Window()));

  CheckedAlert accept({1});
  accept.show();
  mDriver.QueueModalStep(
      [&] { EXPECT_TRUE(mDriver.Click(accept.getControlByID(FourCC("ok  "), 1))); });
  EXPECT_EQ(FourCC("ok  "), accept.waitForUser());
}

TEST_F(AlertTest, NothingIsShownWithoutFirstLineBundleOrInterfaceFile) {
  UI_ZPXAlert empty(static_cast<CFStringRef>(nullptr), CFSTR("Two"), 0x202, nullptr);
  EXPECT_FALSE(empty.IsBuilt());
  EXPECT_EQ(nullptr, empty.Window());

  mBuilt.reset();
  EXPECT_EQ(kAlertNotShown, TellUser(CFSTR("Lost"), 0x202, nullptr));
  {
    CFRef<CFBundleRef> bare(CreateBundleAt(WritePluginBundle(mFolder, "Bare.plugin")));
    ASSERT_TRUE(bare);
    EXPECT_EQ(kAlertNotShown, TellUser(CFSTR("Lost"), 0x202, nullptr));
  }
  EXPECT_TRUE(ToolkitModel::Shared().Windows().empty());
}

TEST_F(AlertTest, PostedCommandsReachTheirWindowDuringAnotherModalLoop) {
  EXPECT_EQ(EventHack::kAlreadySetUp, EventHack::Shared().testHack());  // set up at load

  WindowRef target = NewWindow();
  std::vector<std::string> heard;
  EventLog log = {&heard, "target", noErr};
  Listen(GetWindowEventTarget(target), &log, {{kEventClassCommand, kEventCommandProcess}});

  CustomCarbonEvent nowhere(FourCC("prnt"), nullptr, kEventClassCommand, kEventCommandProcess);
  EXPECT_FALSE(nowhere.IsValid());
  EXPECT_NE(noErr, nowhere.send(nullptr, kEventPriorityStandard));

  mDriver.QueueModalStep([&] {
    CustomCarbonEvent posted(FourCC("prnt"), target, kEventClassCommand, kEventCommandProcess);
    ASSERT_TRUE(posted.IsValid());
    EXPECT_EQ(noErr, posted.send(nullptr, kEventPriorityStandard));
  });
  mDriver.QueueModalStep([&] {
    EXPECT_EQ(std::vector<std::string>{"target:cmd " + std::to_string(FourCC("prnt"))}, heard);
    EXPECT_TRUE(mDriver.PressEscape());
  });
  EXPECT_EQ(FourCC("not!"), TellUser(CFSTR("Waiting"), 0x202, nullptr));
  EXPECT_EQ(1u, heard.size());
}
