// zpx-print drives the loaded bundle as the print system would and writes a
// job that a PostScript interpreter runs; it remembers choices per printer,
// refuses bad input with status 2 and leaves nothing of a run behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "plugin/PDEPluginInterface.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/PrintHome.h"
#include "support/PrintJobFiles.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

std::string SampleJob(const PrintHome& home, const std::string& options) {
  return home.Run("--ppd '" + kSamplePPD + "' " + options).output;
}

// A zpx-print of the sample that waits on a pipe for its document, with the
// ending signals at their default action whatever the test runner ignores;
// `input` is the pipe's writing end, for the caller to close.
pid_t StartWaitingPrint(const PrintHome& home, int& input) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int number : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&defaults, number);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  const std::string command = "exec env " + home.Command("--ppd '" + kSamplePPD + "'");
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t child = -1;
  if (posix_spawn(&child, "/bin/sh", &actions, &attributes, const_cast<char**>(argv), environ) != 0) child = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[0]);
  input = pipeFds[1];
  return child;
}

// The run's folder below the home's temporary folder once it holds the
// printer's files; empty if none came within ten seconds.
std::string RunFolderWithFiles(const PrintHome& home) {
  for (int tries = 0; tries < 1000; ++tries) {
    for (const auto& entry : std::filesystem::directory_iterator(home.Path() + "/tmp"))
      if (entry.is_directory() && !std::filesystem::is_empty(entry.path())) return entry.path().string();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "";
}

}  // namespace

TEST(ZpxPrint, TheJobRunsInAnInterpreterWithTheChosenDuplexInPlaceOfTheDocuments) {
  PrintHome home;
  CommandRun run = home.Run("--ppd '" + kSamplePPD + "' -o ZPDuplex=Top --title Proof --copies 2 --orientation landscape");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_TRUE(Has(run.output, "[{\n%%BeginFeature: *ZPDuplex Top\n<</Duplex true /Tumble false>> "
                           "setpagedevice\n%%EndFeature\n} stopped cleartomark\n"));
  EXPECT_FALSE(Has(run.output, "*ZPDuplex False"));
  // The document's own setup stays, ahead of what the dialog adds.
  EXPECT_LT(run.output.find("/Helvetica findfont"), run.output.find("*ZPDuplex Top"));
  EXPECT_LT(run.output.find("*ZPDuplex Top"), run.output.find("%%EndSetup"));
  EXPECT_FALSE(Has(run.output, "%%Orientation: Portrait"));
  EXPECT_LT(run.output.find("%%Orientation: Landscape"), run.output.find("%%EndComments"));

  CommandRun pages = InterpretedPages(home.Write("printed.ps", run.output));
  EXPECT_EQ(pages.status, 0) << pages.errors;
  for (const char* page : {"Sample page one", "Sample page two", "Sample page three"})
    EXPECT_TRUE(Has(pages.output, page)) << pages.output;
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, AChoiceIsKeptForTheNextRunUntilForgotten) {
  PrintHome home;
  EXPECT_TRUE(Has(SampleJob(home, "-o ZPDuplex=Bottom"), "*ZPDuplex Bottom"));
  struct stat status;
  ASSERT_EQ(stat(home.TicketsFile().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
  EXPECT_FALSE(Has(FileText(home.TicketsFile()), "ZPX.PSData."));

  EXPECT_TRUE(Has(SampleJob(home, ""), "*ZPDuplex Bottom"));
  EXPECT_TRUE(Has(SampleJob(home, "--forget"), "*ZPDuplex False"));
  EXPECT_TRUE(Has(SampleJob(home, ""), "*ZPDuplex False"));

  // An unreadable file is reported and leaves the defaults.
  home.Write("config/zpx-print/ZPX-Sample.plist", "not a property list");
  CommandRun run = home.Run("--ppd '" + kSamplePPD + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
  EXPECT_TRUE(Has(run.errors, "zpx-print: ignoring the unreadable tickets file"));
  EXPECT_TRUE(Has(run.output, "*ZPDuplex False"));
}

TEST(ZpxPrint, BadCommandLinesOptionsAndDocumentsExitWithTwoNamingTheFault) {
  PrintHome home;
  const std::string ppd = "--ppd '" + kSamplePPD + "' ";
  struct Case {
    std::string arguments;
    std::string named;
  };
  for (const Case& bad : std::initializer_list<Case>{
           {"", "--ppd"},
           {ppd + "--copies 0", "--copies"},
           {ppd + "--orientation upside-down", "--orientation"},
           {ppd + "--frobnicate", "--frobnicate"},
           {ppd + "-o ZPDuplex", "ZPDuplex"},
           {ppd + "-o Nothing=1", "*Nothing"},
           {ppd + "-o ZPDuplex=Sideways", "Sideways"},
           {ppd + "-o '*ZPMediaType=Transparency' -o ZPDuplex=Top", "constraints forbid"},
           {ppd + "-o ZPOptionalFinisher=Stapler", "*ZPOptionalFinisher"},
           {ppd + "-o Durance=False", "*Durance"},
           {ppd + "--printer Office", "--printer"},
           {ppd + "--number-up 3", "--number-up"},
           {ppd + "--job-option ZPDuplex", "ZPDuplex"},
           {ppd + "--job-option ZPDuplex=Sideways", "Sideways"},
           {"--ppd '" + home.Path() + "/missing.ppd'", "missing.ppd"},
       }) {
    CommandRun run = home.Run(bad.arguments);
    EXPECT_EQ(run.status, 2) << bad.arguments;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, "zpx-print: ") && Has(run.errors, bad.named)) << run.errors;
    EXPECT_EQ(run.output, "") << bad.arguments;
  }
  CommandRun help = home.Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(Has(help.output, "--ppd FILE") && Has(help.output, "--list")) << help.output;
  EXPECT_EQ(help.errors, "");
  CommandRun run = home.Run(ppd, home.Write("text.txt", "Dear printer,\n"));
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.errors, "%!")) << run.errors;
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, AnEndingSignalRemovesTheRunsFolderAndEndsTheProgramAsTheSignalAsks) {
  PrintHome home;
  for (int number : {SIGTERM, SIGINT, SIGHUP}) {
    int input = -1;
    pid_t child = StartWaitingPrint(home, input);
    ASSERT_GT(child, 0);
    const std::string folder = RunFolderWithFiles(home);
    EXPECT_NE(folder, "") << strsignal(number);
    kill(child, number);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(input);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == number) << strsignal(number) << " " << status;
    EXPECT_EQ(home.LeftInTemporaryFolder(), 0u) << strsignal(number);
  }
}

TEST(ZpxPrint, ThePrintWindowWithoutADisplayExitsWithTwoNamingDisplay) {
  PrintHome home;
  const std::string arguments = "--gui --ppd '" + kSamplePPD + "'";
  for (const std::string& environment : {std::string("env -u DISPLAY"), std::string("DISPLAY=:9876")}) {
    CommandRun run = home.Run(arguments, kSampleDocument, environment);
    EXPECT_EQ(run.status, 2) << environment;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, "zpx-print: ") && Has(run.errors, "DISPLAY")) << run.errors;
    EXPECT_EQ(run.output, "");
  }
  EXPECT_FALSE(std::filesystem::exists(home.TicketsFile()));
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, APPDOfAnotherPrinterMakesNoJob) {
  PrintHome home;
  CommandRun run = home.Run("--ppd '" + home.Write("Other.ppd", OtherPrinterPPDText()) + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.errors, "zpx-print: Initialize answered 1")) << run.errors;
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, AFileDestinationGetsACopyOnlyWhenTheExtensionMadeItEmpty) {
  PrintHome home;
  const std::string copy = home.Path() + "/copy.ps";
  const std::string options = "-o ZPDestination=File -o 'ZPMailboxName=" + copy + "'";
  CommandRun run = home.Run("--ppd '" + kSamplePPD + "' " + options);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(FileText(copy), run.output);

  // Now the file holds the last job: this one is written, its copy refused.
  run = home.Run("--ppd '" + kSamplePPD + "' --forget " + options + " --title second");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.output, "%%EOF"));
  EXPECT_TRUE(Has(run.errors, "zpx-print: the job's copy needs an empty regular file")) << run.errors;
  EXPECT_NE(FileText(copy), run.output);
}

TEST(ZpxPrint, DocumentsOfOtherShapesStillRun) {
  PrintHome home;
  // CR line ends, no %%EndComments and no setup section.
  const std::string document = "%!PS-Adobe-3.0\r%%Title: cr\r/Helvetica findfont 20 scalefont setfont\r"
                               "%%Page: 1 1\r72 700 moveto (Carriage page) show showpage\r%%EOF\r";
  CommandRun run = home.Run("--ppd '" + kSamplePPD + "' -o ZPDuplex=Top", home.Write("cr.ps", document));
  ASSERT_EQ(run.status, 0) << run.errors;
  // The document's lines keep their CR; the blocks are as the extension wrote them.
  EXPECT_EQ(run.output.rfind("%!PS-Adobe-3.0\r%%Title: cr\r%%Orientation: Portrait\n", 0), 0u);
  EXPECT_TRUE(Has(run.output, "\n%%BeginSetup\r[{\r%%BeginFeature:"));
  EXPECT_TRUE(Has(run.output, "%%EndSetup\r/Helvetica findfont 20 scalefont setfont\r%%Page: 1 1\r"));
  CommandRun pages = InterpretedPages(home.Write("printed.ps", run.output));
  EXPECT_EQ(pages.status, 0) << pages.errors;
  EXPECT_TRUE(Has(pages.output, "Carriage page")) << pages.output;
}

TEST(ZpxPrint, DataFilesThatAreLinksMalformedOrOfUnknownSitesMakeNoJob) {
  PrintHome home;
  // A bundle whose extension names whatever data file ZPX_TEST_HANDOVER gives.
  const std::string bundle = home.Path() + "/Handover.plugin";
  home.Write("Handover.plugin/Contents/Info.plist",
             "<plist version=\"1.0\"><dict>"
             "<key>CFBundleIdentifier</key><string>com.zpx.test.handover</string>"
             "<key>CFBundleExecutable</key><string>handover.so</string>"
             "<key>CFPlugInFactories</key><dict><key>5F1B8C0E-3C1A-4E55-9C4B-6D2A1E0F7B31</key>"
             "<string>HandoverFactory</string></dict>"
             "<key>CFPlugInTypes</key><dict><key>" kPDEPlugInTypeID "</key><array>"
             "<string>5F1B8C0E-3C1A-4E55-9C4B-6D2A1E0F7B31</string></array></dict>"
             "</dict></plist>");
  std::filesystem::create_directories(bundle + "/Contents/MacOS");
  std::filesystem::create_symlink(ZPX_HANDOVER_EXTENSION, bundle + "/Contents/MacOS/handover.so");
  auto run = [&](const std::string& dataFile) {
    std::string environment = "ZPX_BUNDLE_DIR='" + bundle + "'";
    if (!dataFile.empty()) environment += " ZPX_TEST_HANDOVER='" + dataFile + "'";
    return home.Run("--ppd '" + kSamplePPD + "'", kSampleDocument, environment);
  };
  auto list = [](const std::string& entries) {
    return "<plist version=\"1.0\"><array>" + entries + "</array></plist>";
  };
  const std::string block = "<integer>81</integer><data>L3ggMSBkZWY=</data>";

  std::string good = home.Write("good.plist", list(block));
  CommandRun printed = run(good);
  ASSERT_EQ(printed.status, 0) << printed.errors;
  EXPECT_TRUE(Has(printed.output, "/x 1 def\n%%EndSetup"));
  EXPECT_FALSE(std::filesystem::exists(good));

  std::string target = home.Write("target.plist", list(block));
  const std::string link = home.Path() + "/link.plist";
  std::filesystem::create_symlink(target, link);
  for (const std::string& bad : {link, home.Write("odd.plist", list(block + "<integer>81</integer>")),
                                 home.Write("site7.plist", list("<integer>7</integer><data>AA==</data>")),
                                 std::string()}) {
    CommandRun refused = run(bad);
    EXPECT_EQ(refused.status, 1) << bad;
    EXPECT_EQ(LineCount(refused.errors), 1) << refused.errors;
    EXPECT_EQ(refused.output, "");
  }
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}
