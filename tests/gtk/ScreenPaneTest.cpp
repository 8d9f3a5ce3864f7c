// The main pane in real windows: the sample's pane, twelve shortcuts scrolled
// The main pane in real windows: the sample's pane, twelve shortcuts scrolled
// by the user, Customize with a group opened and closed by clicks on its
// expander, and the small-screen layout (run on a 1024 x 768 display): every
// widget at its control's bounds, each window looking like its reference
// picture, the rows the program rebuilds shown, and the job-properties
// button's state without a companion.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/PaneJob.h"
#include "support/ScreenFixture.h"

namespace {

class ScreenPaneTest : public ScreenFixture {
 protected:
  UI_Panel& Open(const std::string& ppd) {
    mPane = std::make_unique<PaneJob>(ppd);
    mPane->CopyBuiltResource("en.lproj/BidiStrings.strings");  // the address area's words
    mPane->CopyBuiltResource("en.lproj/Localizable.strings");  // and the pane's
    mPanel = mPane->NewPanel();
    EXPECT_TRUE(mPanel->IsBuilt());
    mPanel->Show();
    return *mPanel;
  }
  // The title the screen shows on the pop-up row `k` (0: the top row).
  std::string RowTitleShown(SInt32 k) const {
    GtkWidget* title = WidgetOf(mPane->Control(FourCC("Ttle"), UI_Panel::kPopupRowBase + k));
    return title && gtk_widget_get_visible(title) ? gtk_label_get_text(GTK_LABEL(title)) : "";
  }
  ControlRef Scroll() const {
    return mPane->Control(UI_Panel::kScrollSignature, UI_Panel::kScrollBar);
  }

  std::unique_ptr<PaneJob> mPane;
  std::unique_ptr<UI_Panel> mPanel;
};

TEST_F(ScreenPaneTest, TheSamplesPane) {
  Open(SamplePPDText());
  ExpectShownAsReference(mPane->Dialog(), "pane-sample");
  EXPECT_FALSE(UI_Panel::IsSmallScreen());  // a 1024-pixel-high display is not small
  // Each row's pop-up shows the choice the model holds.
  for (SInt32 k = 0; k < UI_Panel::kRows; ++k) {
    ControlRef popup = mPane->Control(FourCC("Cntl"), UI_Panel::kPopupRowBase + k);
    if (popup == nullptr || !IsControlVisible(popup)) continue;
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(WidgetOf(popup))),
              GetControl32BitValue(popup) - 1)
        << k;
  }
  EXPECT_FALSE(gtk_widget_get_visible(WidgetOf(Scroll())));  // the sample's rows all fit
  // No companion runs here: its button cannot be pressed, and says why.
  GtkWidget* jobProperties =
      WidgetOf(mPane->Control(UI_Panel::kJobPropertiesSignature, UI_Panel::kJobPropertiesButton));
  EXPECT_FALSE(gtk_widget_is_sensitive(jobProperties));
  gchar* why = gtk_widget_get_tooltip_text(jobProperties);
  EXPECT_STREQ(why,
               "The job properties application is not installed: ask your administrator to "
               "install it.");
  g_free(why);
}

TEST_F(ScreenPaneTest, TwelveShortcutsScrolledByTheUser) {
  Open(GeneratedPaneText(2, 8, GeneratedShortcuts(12, 8)));
  mScreen->Settle();
  EXPECT_TRUE(gtk_widget_get_visible(WidgetOf(Scroll())));
  EXPECT_EQ(RowTitleShown(0), "ZPOpt0_0: ");
  gtk_range_set_value(GTK_RANGE(WidgetOf(Scroll())), 4);  // as a drag of the thumb does
  EXPECT_EQ(UI_Panel::ScrollOffset(), 4);
  ExpectShownAsReference(mPane->Dialog(), "pane-twelve-scrolled");
  EXPECT_EQ(RowTitleShown(0), "ZPOpt0_4: ");
  EXPECT_EQ(RowTitleShown(7), "ZPOpt1_3: ");
}

TEST_F(ScreenPaneTest, CustomizeWithAGroupOpen) {
  Open(GeneratedPaneText(3, 4, GeneratedShortcuts(3, 4)));
  mScreen->Settle();
  gtk_button_clicked(GTK_BUTTON(
      WidgetOf(mPane->Control(UI_Panel::kCustomizeSignature, UI_Panel::kCustomizeButton))));
  WindowRef customize = mPanel->CustomizeWindow();
  ASSERT_NE(customize, nullptr);
  ControlRef options = FindControl(customize, FourCC("SLST"), UI_Panel::kOptionList);
  mScreen->Settle();
  ClickExpander(options, "1");  // G1, as a person opens it; GTK logs nothing
  EXPECT_EQ(ListRowCount(options, kDataBrowserContainerIsOpen), 1u);
  EXPECT_EQ(ListRowCount(options), 7u);                              // the program filled it
  EXPECT_EQ(ListRowCount(options, kDataBrowserItemIsSelected), 0u);  // the click selects nothing
  ExpectShownAsReference(customize, "customize-group-open");
  GtkTreeView* rows = GTK_TREE_VIEW(gtk_bin_get_child(GTK_BIN(WidgetOf(options))));
  // Three groups, the open one with its four options below it.
  GtkTreeModel* model = gtk_tree_view_get_model(rows);
  EXPECT_EQ(gtk_tree_model_iter_n_children(model, nullptr), 3);
  GtkTreeIter group;
  ASSERT_TRUE(gtk_tree_model_iter_nth_child(model, &group, nullptr, 1));
  EXPECT_EQ(gtk_tree_model_iter_n_children(model, &group), 4);
  GtkTreePath* path = gtk_tree_model_get_path(model, &group);
  EXPECT_TRUE(gtk_tree_view_row_expanded(rows, path));
  ClickExpander(options, "1");  // and closes it again
  EXPECT_EQ(ListRowCount(options), 3u);
  EXPECT_FALSE(gtk_tree_view_row_expanded(rows, path));
  gtk_tree_path_free(path);
}

// Run on a 1024 x 768 display only (its own CTest entry).
using ScreenSmallScreenTest = ScreenPaneTest;

TEST_F(ScreenSmallScreenTest, FourRowsAndTheButtonsMovedUp) {
  CGRect display = CGDisplayBounds(CGMainDisplayID());
  ASSERT_EQ(display.size.height, 768);
  Open(GeneratedPaneText(2, 8, GeneratedShortcuts(9, 8)));
  EXPECT_TRUE(UI_Panel::IsSmallScreen());
  ExpectShownAsReference(mPane->Dialog(), "pane-small-screen");
  mScreen->Settle();
  EXPECT_EQ(RowTitleShown(3), "ZPOpt0_3: ");
  EXPECT_EQ(RowTitleShown(4), "");
  EXPECT_EQ(GetControl32BitMaximum(Scroll()), 6);
  GtkAdjustment* range = gtk_range_get_adjustment(GTK_RANGE(WidgetOf(Scroll())));
  EXPECT_EQ(gtk_adjustment_get_upper(range), 6 + gtk_adjustment_get_page_size(range));
}

}  // namespace
