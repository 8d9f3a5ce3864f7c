// GTK's own print dialog, with its print server backend, against a print
// server of the test's own and a queue made from the driver's sample model:
// the tab that holds the job notes shows the PIN in a hidden entry, a choice
// the constraints forbid is flagged as that dialog flags conflicts (it greys
// nothing), and a PIN typed into the entry reaches the captured job only
// encrypted, exactly as the extension encrypts it.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/GtkWarnings.h"
#include "support/KeyPress.h"
#include "support/PrintJobFiles.h"
#include "support/PrintServerSuite.h"
#include "support/ScreenShot.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

using Texts = std::vector<std::string>;

// The dialog's printers, their options and the job come from the server
// asynchronously; nothing may take longer.
constexpr auto kWaitLimit = std::chrono::seconds(20);
const std::string kQueue = "Driven";
const std::string kPin = "735194";

// Runs what GTK has to do until `done` holds; false when it still does not
// after kWaitLimit.
bool WaitFor(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(5000);
  }
  return true;
}

// The widget and every widget below it, inner parts of composite ones
// included, in the order their containers hold them.
void ForEachWidget(GtkWidget* root, const std::function<void(GtkWidget*)>& visit) {
  visit(root);
  if (!GTK_IS_CONTAINER(root)) return;
  GList* children = nullptr;
  gtk_container_forall(
      GTK_CONTAINER(root),
      [](GtkWidget* child, gpointer list) {
        *static_cast<GList**>(list) = g_list_append(*static_cast<GList**>(list), child);
      },
      &children);
  for (GList* child = children; child != nullptr; child = child->next)
    ForEachWidget(GTK_WIDGET(child->data), visit);
  g_list_free(children);
}

// The first widget of the type below `root`, `root` left out; null without one.
GtkWidget* PartOfType(GtkWidget* root, GType type) {
  GtkWidget* found = nullptr;
  ForEachWidget(root, [&](GtkWidget* widget) {
    if (found == nullptr && widget != root && G_TYPE_CHECK_INSTANCE_TYPE(widget, type))
      found = widget;
  });
  return found;
}

bool IsOptionRow(GtkWidget* widget) {
  return std::string(G_OBJECT_TYPE_NAME(widget)) == "GtkPrinterOptionWidget";
}

// The dialog's rows of options (GtkPrinterOptionWidget), each keyed by the
// option's text: its label's "TEXT:" beside it, or its check box's.
std::vector<std::pair<std::string, GtkWidget*>> OptionRows(GtkWidget* root) {
  std::vector<std::pair<std::string, GtkWidget*>> labelled, rows;
  ForEachWidget(root, [&](GtkWidget* widget) {
    if (!GTK_IS_LABEL(widget)) return;
    GtkWidget* named = gtk_label_get_mnemonic_widget(GTK_LABEL(widget));
    const std::string text = gtk_label_get_text(GTK_LABEL(widget));
    if (named != nullptr && IsOptionRow(named) && text.size() > 1 && text.back() == ':')
      labelled.emplace_back(text.substr(0, text.size() - 1), named);
  });
  ForEachWidget(root, [&](GtkWidget* widget) {
    if (!IsOptionRow(widget)) return;
    auto found = std::find_if(labelled.begin(), labelled.end(),
                              [&](const auto& label) { return label.second == widget; });
    GtkWidget* check = PartOfType(widget, GTK_TYPE_CHECK_BUTTON);
    if (found != labelled.end())
      rows.push_back(*found);
    else if (check != nullptr)
      rows.emplace_back(gtk_button_get_label(GTK_BUTTON(check)), widget);
  });
  return rows;
}

GtkWidget* OptionRow(GtkWidget* root, const std::string& text) {
  for (const auto& [shown, row] : OptionRows(root))
    if (shown == text) return row;
  return nullptr;
}

// The texts of the items the row's list offers.
Texts ItemTexts(GtkWidget* row) {
  Texts texts;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(PartOfType(row, GTK_TYPE_COMBO_BOX)));
  GtkTreeIter item;
  for (bool more = gtk_tree_model_get_iter_first(model, &item); more;
       more = gtk_tree_model_iter_next(model, &item)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &item, 0, &text, -1);
    texts.push_back(text != nullptr ? text : "");
    g_free(text);
  }
  return texts;
}

// Picks the row's item shown as `text`, as a click in its list does.
bool Choose(GtkWidget* row, const std::string& text) {
  const Texts texts = ItemTexts(row);
  auto found = std::find(texts.begin(), texts.end(), text);
  if (found == texts.end()) return false;
  gtk_combo_box_set_active(GTK_COMBO_BOX(PartOfType(row, GTK_TYPE_COMBO_BOX)),
                           gint(found - texts.begin()));
  return true;
}

// The rows whose conflict mark (the warning picture beside the option) shows.
Texts FlaggedRows(GtkWidget* root) {
  Texts flagged;
  for (const auto& [text, row] : OptionRows(root))
    if (gtk_widget_is_visible(PartOfType(row, GTK_TYPE_IMAGE))) flagged.push_back(text);
  std::sort(flagged.begin(), flagged.end());
  return flagged;
}

// The rows the user cannot change.
Texts GreyedRows(GtkWidget* root) {
  Texts greyed;
  for (const auto& [text, row] : OptionRows(root))
    if (!gtk_widget_is_sensitive(row)) greyed.push_back(text);
  return greyed;
}

// The line of the job that begins with `start`, "" without one.
std::string LineStarting(const std::string& job, const std::string& start) {
  const size_t at = ("\n" + job).find("\n" + start);
  return at == std::string::npos ? "" : job.substr(at, job.find('\n', at) - at);
}

class ServerPrintDialog : public PrintServerSuite {
 protected:
  // One server for the process: GTK's backend keeps the first it found.
  static void SetUpTestSuite() {
    PrintServerSuite::SetUpTestSuite();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(sServer->AddModelQueue(kQueue, "zpx:ZPX-Sample.ppd"))
        << FileText(sServer->ErrorLog());
  }

  void SetUp() override {
    gtkwarnings::FailTestsOnWarnings();
    ASSERT_TRUE(sServer->IsRunning());
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr));
    OpenDialog();
  }
  void TearDown() override {
    if (mDialog != nullptr) gtk_widget_destroy(mDialog);
  }

  GtkPrintUnixDialog* Dialog() const { return GTK_PRINT_UNIX_DIALOG(mDialog); }

  // The dialog for the queue, once its options have come from the server.
  void OpenDialog() {
    mDialog = gtk_print_unix_dialog_new("Print", nullptr);
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, kQueue.c_str());
    gtk_print_unix_dialog_set_settings(Dialog(), settings);
    g_object_unref(settings);
    g_signal_connect(mDialog, "response",
                     G_CALLBACK(+[](GtkDialog*, gint response, gint* kept) { *kept = response; }),
                     &mResponse);
    gtk_widget_show(mDialog);
    ASSERT_TRUE(WaitFor([&] { return OptionRow(mDialog, "Secure Print PIN") != nullptr; }))
        << "the dialog never showed the queue's options\n"
        << FileText(sServer->ErrorLog());
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(Dialog());
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(gtk_printer_get_name(printer), kQueue);
  }

  // The dialog's tab that holds the row, made the current one as a click on it does.
  GtkWidget* ShowTabOf(GtkWidget* row) {
    GtkNotebook* tabs = GTK_NOTEBOOK(PartOfType(mDialog, GTK_TYPE_NOTEBOOK));
    for (gint page = 0; page < gtk_notebook_get_n_pages(tabs); ++page) {
      GtkWidget* tab = gtk_notebook_get_nth_page(tabs, page);
      if (!gtk_widget_is_ancestor(row, tab)) continue;
      gtk_notebook_set_current_page(tabs, page);
      return tab;
    }
    return nullptr;
  }

  // The tab's scrolled content moved to show the row in its middle.
  static void ScrollTo(GtkWidget* row) {
    GtkWidget* scrolled = gtk_widget_get_ancestor(row, GTK_TYPE_SCROLLED_WINDOW);
    GtkWidget* content = gtk_bin_get_child(GTK_BIN(gtk_bin_get_child(GTK_BIN(scrolled))));
    gint x = 0, y = 0;
    gtk_widget_translate_coordinates(row, content, 0, 0, &x, &y);
    GtkAdjustment* rows = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scrolled));
    gtk_adjustment_set_value(
        rows, y - (gtk_adjustment_get_page_size(rows) - gtk_widget_get_allocated_height(row)) / 2);
  }

  // GTK has nothing left to do and the dialog has painted every change.
  void Settle() {
    ASSERT_TRUE(WaitFor([] { return !g_main_context_pending(nullptr); }));
    GdkFrameClock* clock = gtk_widget_get_frame_clock(mDialog);
    bool painted = false;
    gulong handler = g_signal_connect_swapped(
        clock, "after-paint", G_CALLBACK(+[](bool* done) { *done = true; }), &painted);
    gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
    EXPECT_TRUE(WaitFor([&] { return painted; }));
    g_signal_handler_disconnect(clock, handler);
    gdk_display_sync(gdk_display_get_default());
  }

  // The text typed key by key into the entry, which has the keyboard as a
  // person's click would give it (the display has no window manager).
  void Type(GtkWidget* entry, const std::string& text) {
    gdk_window_focus(gtk_widget_get_window(mDialog), GDK_CURRENT_TIME);
    gtk_widget_grab_focus(entry);
    Settle();
    for (char key : text) PressKey(mDialog, gdk_unicode_to_keyval(gunichar(key)));
    Settle();
  }

  // Print pressed; the sample document sent as an application sends it with
  // the dialog's choices. Empty once the print server has taken it, else why not.
  std::string PrintSample() {
    gtk_button_clicked(
        GTK_BUTTON(gtk_dialog_get_widget_for_response(GTK_DIALOG(mDialog), GTK_RESPONSE_OK)));
    if (!WaitFor([&] { return mResponse == GTK_RESPONSE_OK; })) return "Print gave no answer";
    GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(Dialog());
    GtkPrintJob* job =
        gtk_print_job_new("Sample", gtk_print_unix_dialog_get_selected_printer(Dialog()), settings,
                          gtk_print_unix_dialog_get_page_setup(Dialog()));
    g_object_unref(settings);
    struct Sent {
      bool done = false;
      std::string error;
    } sent;
    GError* error = nullptr;
    if (gtk_print_job_set_source_file(job, kSampleDocument.c_str(), &error)) {
      gtk_print_job_send(
          job,
          [](GtkPrintJob*, gpointer kept, const GError* failure) {
            auto* sent = static_cast<Sent*>(kept);
            sent->done = true;
            if (failure != nullptr) sent->error = failure->message;
          },
          &sent, nullptr);
      if (!WaitFor([&] { return sent.done; })) sent.error = "the job was never sent";
    } else {
      sent.error = error->message;
      g_error_free(error);
    }
    g_object_unref(job);
    return sent.error;
  }

  // The bytes the queue's backend captured of its one job; empty when none
  // came within kWaitLimit.
  std::string CapturedJob() const {
    std::string job;
    WaitFor([&] {
      std::error_code error;
      for (const auto& entry : std::filesystem::directory_iterator(sServer->CaptureFolder(), error))
        if (entry.path().extension() == ".args") {
          job = FileText(std::filesystem::path(entry.path()).replace_extension(".ps").string());
          return true;
        }
      return false;
    });
    return job;
  }

  // The job zpx-print writes of the sample for the queue's PPD with the PIN.
  std::string JobWithPin() const {
    TempFolder home;
    return RunCommand("HOME='" + home.Path() + "' XDG_CONFIG_HOME='" + home.Path() + "' '" +
                      ZPX_TOOLS_DIR "/zpx-print' --ppd '" + sServer->QueuePPD(kQueue) +
                      "' -o ZPSecurePIN=" + kPin + " '" + kSampleDocument + "'")
        .output;
  }

  // The machine's system bus, its service browser and colour service, which
  // GTK's print server backend asks for and a test machine may lack.
  gtkwarnings::ToleratedWarnings mMachineServices{
      {"D-Bus system bus", "org.freedesktop.Avahi", "colord", "org.freedesktop.ColorManager"}};
  GtkWidget* mDialog = nullptr;
  gint mResponse = GTK_RESPONSE_NONE;
};

}  // namespace

TEST_F(ServerPrintDialog, APinTypedIntoItsHiddenEntryPrintsOnlyEncrypted) {
  GtkWidget* pin = OptionRow(mDialog, "Secure Print PIN");
  ASSERT_NE(ShowTabOf(pin), nullptr);
  GtkEntry* entry = GTK_ENTRY(PartOfType(pin, GTK_TYPE_ENTRY));
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(gtk_entry_get_visibility(entry));
  Type(GTK_WIDGET(entry), kPin);
  EXPECT_EQ(gtk_entry_get_text(entry), kPin);
  ScrollTo(pin);
  Settle();
  EXPECT_EQ(CompareScreenShot(mDialog, "server-dialog-notes"), "");

  ASSERT_EQ(PrintSample(), "");
  const std::string job = CapturedJob();
  ASSERT_NE(job, "") << FileText(sServer->ErrorLog());
  EXPECT_FALSE(Has(job, kPin));
  const std::string sealed = LineStarting(JobWithPin(), "%%BeginFeature: *ZPSecurePIN ");
  ASSERT_NE(sealed, "");
  EXPECT_EQ(LineStarting(job, "%%BeginFeature: *ZPSecurePIN "), sealed) << job;
}

// The sample forbids Transparency with either two-sided choice. The dialog
// marks both options of a forbidden pair once it is chosen, and says so
// below the tabs; it neither greys nor takes away such a choice. Only what
// the installed equipment forbids is left out: without a finisher stapling
// keeps one choice, Off, and the dialog leaves the option out altogether.
TEST_F(ServerPrintDialog, TransparencyWithTwoSidedIsFlaggedAsAConflict) {
  EXPECT_EQ(OptionRow(mDialog, "Stapling"), nullptr);
  EXPECT_NE(OptionRow(mDialog, "Offset Stacking"), nullptr);
  GtkWidget* media = OptionRow(mDialog, "Paper Type");
  GtkWidget* duplex = OptionRow(mDialog, "Two-Sided");
  ASSERT_TRUE(media != nullptr && duplex != nullptr);
  GtkWidget* options = ShowTabOf(duplex);
  ASSERT_NE(options, nullptr);
  GtkWidget* conflictNotice = nullptr;
  ForEachWidget(mDialog, [&](GtkWidget* widget) {
    if (GTK_IS_LABEL(widget) && std::string(gtk_label_get_text(GTK_LABEL(widget))) ==
                                    "Some of the settings in the dialog conflict")
      conflictNotice = widget;
  });
  ASSERT_NE(conflictNotice, nullptr);

  ASSERT_TRUE(Choose(media, "Transparency"));
  Settle();
  EXPECT_EQ(FlaggedRows(mDialog), Texts{});
  EXPECT_FALSE(gtk_widget_is_visible(conflictNotice));
  EXPECT_EQ(ItemTexts(duplex),
            (Texts{"One-Sided", "Two-Sided, Long Edge", "Two-Sided, Short Edge"}));
  EXPECT_EQ(GreyedRows(options), Texts{});

  for (const char* forbidden : {"Two-Sided, Long Edge", "Two-Sided, Short Edge"}) {
    ASSERT_TRUE(Choose(duplex, forbidden));
    Settle();
    EXPECT_EQ(FlaggedRows(mDialog), (Texts{"Paper Type", "Two-Sided"})) << forbidden;
    EXPECT_TRUE(gtk_widget_is_visible(conflictNotice)) << forbidden;
    EXPECT_EQ(GreyedRows(options), Texts{}) << forbidden;
  }
  // Another paper takes the two-sided choice.
  ASSERT_TRUE(Choose(media, "Plain"));
  Settle();
  EXPECT_EQ(FlaggedRows(mDialog), Texts{});
  EXPECT_FALSE(gtk_widget_is_visible(conflictNotice));
}
