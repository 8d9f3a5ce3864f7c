// zpx-print drives the loaded bundle as the print system would and writes a
// job that a PostScript interpreter runs; it remembers choices per printer,
// refuses bad input with status 2 and leaves nothing of a run behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "plugin/PDEPluginInterface.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/PrintHome.h"
#include "support/PrintJobFiles.h"
#include "support/ShellStart.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

std::string SampleJob(const PrintHome& home, const std::string& options) {
  return home.Run("--ppd '" + kSamplePPD + "' " + options).output;
}

// A zpx-print of the sample that waits on a pipe for its document, with the
// ending signals at their default action whatever the test runner ignores;
// `input` is the pipe's writing end, for the caller to close.
pid_t StartWaitingPrint(const PrintHome& home, int& input, const std::string& arguments = "") {
  ShellStreams streams;
  input = streams.Pipe(STDIN_FILENO);
  streams.Null(STDOUT_FILENO);
  return StartShellCommand("exec env " + home.Command("--ppd '" + kSamplePPD + "' " + arguments),
                           streams);
}

// The run's folder below the home's temporary folder once it holds the
// printer's files; empty if none came within ten seconds.
std::string RunFolderWithFiles(const PrintHome& home) {
  for (int tries = 0; tries < 1000; ++tries) {
    for (const auto& entry : std::filesystem::directory_iterator(home.Path() + "/tmp"))
      if (entry.is_directory() && !std::filesystem::is_empty(entry.path()))
        return entry.path().string();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "";
}

// A FIFO or a listening socket at `path` that takes a job small enough for
// its buffer while the test runs the writer; what it took is read after.
class JobCatcher {
 public:
  JobCatcher(const std::string& path, bool socket) : mSocket(socket) {
    if (!socket) {
      // Reading and writing, so that opening neither waits nor sees the end.
      if (mkfifo(path.c_str(), 0600) == 0) mFd = open(path.c_str(), O_RDWR | O_NONBLOCK);
      return;
    }
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    mFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    if (bind(mFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(mFd, 1) != 0) {
      close(mFd);
      mFd = -1;
    }
  }
  ~JobCatcher() {
    if (mFd != -1) close(mFd);
  }
  bool IsValid() const { return mFd != -1; }

  std::string Bytes() const {
    const int from = mSocket ? accept4(mFd, nullptr, nullptr, SOCK_NONBLOCK) : mFd;
    std::string bytes;
    char buffer[4096];
    ssize_t length;
    while (from != -1 && (length = read(from, buffer, sizeof buffer)) > 0)
      bytes.append(buffer, size_t(length));
    if (mSocket && from != -1) close(from);
    return bytes;
  }

 private:
  bool mSocket;
  int mFd = -1;
};

// The files in `folder` whose names hold `part`: those a run writes beside
// its output (".zpx-print-") or its tickets (".new-") before renaming them.
size_t FilesNamedWith(const std::string& folder, const std::string& part = ".zpx-print-") {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find(part) != std::string::npos) ++count;
  return count;
}

}  // namespace

TEST(ZpxPrint, TheJobRunsInAnInterpreterWithTheChosenDuplexInPlaceOfTheDocuments) {
  PrintHome home;
  CommandRun run = home.Run("--ppd '" + kSamplePPD +
                            "' -o ZPDuplex=Top --title Proof --copies 2 --orientation landscape");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_TRUE(Has(run.output,
                  "[{\n%%BeginFeature: *ZPDuplex Top\n<</Duplex true /Tumble false>> "
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

TEST(ZpxPrint, CopiesOrientationAndTitleReachTheJobAndAnOptionByNameDecides) {
  PrintHome home;
  std::string job =
      SampleJob(home, "--forget --copies 3 --orientation reverse-landscape --title 'Q3\nshowpage'");
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPCopies 3\n<</NumCopies 3 >> setpagedevice")) << job;
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZP_PAPER_ORIENTATION Landscape\n"));
  // The title replaces the document's, on one line whatever it holds.
  EXPECT_TRUE(Has(job, "\n%%Title: Q3 showpage\n"));
  EXPECT_FALSE(Has(job, "%%Title: Sample"));
  job = SampleJob(
      home,
      "--forget --copies 3 -o ZPCopies=2 --orientation landscape -o ZP_PAPER_ORIENTATION=Portrait");
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPCopies 2\n"));
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZP_PAPER_ORIENTATION Portrait\n"));
  // Pages per sheet are the print server's to lay out: zpx-print does not offer it.
  EXPECT_FALSE(Has(home.Run("--help").output, "number-up"));
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
           {ppd + "-o '*ZPMediaType=Transparency' -o ZPDuplex=Top", "conflicts with *ZPDuplex Top"},
           {ppd + "-o ZPOptionalFinisher=Stapler", "*ZPOptionalFinisher"},
           {ppd + "-o Durance=False", "*Durance"},
           {ppd + "--printer Office", "--printer"},
           {ppd + "--number-up 3", "--number-up"},
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

TEST(ZpxPrint, DevicesFifosSocketsAndDescriptorsAreWrittenIntoNeverReplaced) {
  PrintHome home;
  const std::string folder = home.Path() + "/out";
  std::filesystem::create_directories(folder);
  const std::string expected = SampleJob(home, "");
  auto print = [&](const std::string& output) {
    return home.Run("--ppd '" + kSamplePPD + "' --output '" + output + "'");
  };

  const std::string device = folder + "/null";
  ASSERT_EQ(mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  EXPECT_EQ(print(device).status, 0);
  struct stat status;
  EXPECT_TRUE(lstat(device.c_str(), &status) == 0 && S_ISCHR(status.st_mode));

  for (bool socket : {false, true}) {
    const std::string path = folder + (socket ? "/socket" : "/fifo");
    JobCatcher catcher(path, socket);
    ASSERT_TRUE(catcher.IsValid()) << path;
    CommandRun run = print(path);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Unstamped(catcher.Bytes()), Unstamped(expected)) << path;
    EXPECT_TRUE(lstat(path.c_str(), &status) == 0 &&
                (socket ? S_ISSOCK(status.st_mode) : S_ISFIFO(status.st_mode)));
  }

  // A link into the process's descriptors, as /dev/stdout and /dev/fd/N are.
  const std::string standardOutput = folder + "/stdout";
  std::filesystem::create_symlink("/proc/self/fd/1", standardOutput);
  CommandRun run = print(standardOutput);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Unstamped(run.output), Unstamped(expected));
  EXPECT_TRUE(std::filesystem::is_symlink(standardOutput));
  EXPECT_EQ(FilesNamedWith(folder), 0u);
}

TEST(ZpxPrint, AFileIsReplacedWholeKeepingItsModeALinkIsReplacedAndAFolderRefused) {
  PrintHome home;
  const std::string expected = SampleJob(home, "");
  auto print = [&](const std::string& output) {
    return home.Run("--ppd '" + kSamplePPD + "' --output '" + output + "'");
  };
  const std::string job = home.Write("out/job.ps", "an older job");
  ASSERT_EQ(chmod(job.c_str(), 0600), 0);
  EXPECT_EQ(print(job).status, 0);
  EXPECT_EQ(Unstamped(FileText(job)), Unstamped(expected));
  struct stat status;
  ASSERT_EQ(stat(job.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  const std::string target = home.Write("out/target.ps", "kept");
  const std::string link = home.Path() + "/out/link.ps";
  std::filesystem::create_symlink(target, link);
  EXPECT_EQ(print(link).status, 0);
  EXPECT_FALSE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Unstamped(FileText(link)), Unstamped(expected));
  EXPECT_EQ(FileText(target), "kept");

  const std::string folder = home.Path() + "/out/folder";
  std::filesystem::create_directories(folder);
  std::filesystem::create_symlink(folder, home.Path() + "/out/folder-link");
  for (const std::string& refused : {folder, home.Path() + "/out/folder-link"}) {
    CommandRun run = print(refused);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, refused + ": it is a")) << run.errors;
  }
  EXPECT_TRUE(std::filesystem::is_symlink(home.Path() + "/out/folder-link"));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  EXPECT_EQ(FilesNamedWith(home.Path() + "/out"), 0u);
}

TEST(ZpxPrint, ClosedStandardDescriptorsAreNeverTakenForTheDocumentOrTheJob) {
  PrintHome home;
  const std::string print = "timeout 20 env " + home.Command("--ppd '" + kSamplePPD + "'");
  // Standard input closed: an empty document, not the program's own pipe.
  CommandRun run = RunCommand(print + " <&-");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.errors, "%!")) << run.errors;
  // Standard output closed: the job goes nowhere, and nowhere it should not.
  run = RunCommand("(exec " + print + " '" + kSampleDocument + "' >&-)");
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  run = RunCommand("(exec " + print + " >&- 2>&- <&-)");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, AnEndingSignalAtAnyStageLeavesNoFileOfTheRun) {
  PrintHome home;
  const std::string folder = home.Path() + "/out";
  std::filesystem::create_directories(folder);
  const std::string document = FileText(kSampleDocument);
  // Stages: starting, loading the bundle, waiting for the document, half a
  // job written beside the output, the whole document given.
  enum Stage { kAtOnce, kAfterDelay, kRunFolderMade, kHalfWritten, kDocumentGiven };
  const struct {
    Stage stage;
    int delay;  // milliseconds
  } kRuns[] = {{kAtOnce, 0},        {kAfterDelay, 5},    {kAfterDelay, 20},  {kAfterDelay, 60},
               {kRunFolderMade, 0}, {kHalfWritten, 0},   {kHalfWritten, 30}, {kDocumentGiven, 0},
               {kDocumentGiven, 2}, {kDocumentGiven, 10}};
  const int signals[] = {SIGTERM, SIGINT, SIGHUP};
  for (size_t index = 0; index < sizeof kRuns / sizeof kRuns[0]; ++index) {
    const int number = signals[index % 3];
    int input = -1;
    pid_t child = StartWaitingPrint(home, input, "--output '" + folder + "/job.ps'");
    ASSERT_GT(child, 0);
    if (kRuns[index].stage >= kRunFolderMade) {
      EXPECT_NE(RunFolderWithFiles(home), "");
    }
    if (kRuns[index].stage == kHalfWritten) {
      EXPECT_EQ(write(input, document.data(), document.size() / 2), ssize_t(document.size() / 2));
      for (int tries = 0; tries < 1000 && FilesNamedWith(folder) == 0; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      EXPECT_EQ(FilesNamedWith(folder), 1u);
    }
    if (kRuns[index].stage == kDocumentGiven) {
      EXPECT_EQ(write(input, document.data(), document.size()), ssize_t(document.size()));
      close(input);
      input = -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kRuns[index].delay));
    kill(child, number);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (input != -1) close(input);
    const std::string run = "run " + std::to_string(index) + ", " + strsignal(number);
    EXPECT_TRUE(WIFSIGNALED(status) ? WTERMSIG(status) == number : WEXITSTATUS(status) == 0) << run;
    EXPECT_EQ(home.LeftInTemporaryFolder(), 0u) << run;
    EXPECT_EQ(FilesNamedWith(folder), 0u) << run;
    const std::string tickets = home.Path() + "/config/zpx-print";
    if (std::filesystem::exists(tickets)) {
      EXPECT_EQ(FilesNamedWith(tickets, ".new-"), 0u) << run;
    }
  }
}

TEST(ZpxPrint, ThePrintWindowWithoutADisplayExitsWithTwoNamingDisplay) {
  PrintHome home;
  const std::string arguments = "--gui --ppd '" + kSamplePPD + "'";
  for (const std::string& environment :
       {std::string("env -u DISPLAY"), std::string("DISPLAY=:9876")}) {
    CommandRun run = home.Run(arguments, kSampleDocument, environment);
    EXPECT_EQ(run.status, 2) << environment;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, "zpx-print: ") && Has(run.errors, "DISPLAY")) << run.errors;
    EXPECT_EQ(run.output, "");
  }
  EXPECT_FALSE(std::filesystem::exists(home.TicketsFile()));
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

// A display server of the test's own (Xvfb) on a free display; its number in
// `display`, -1 when none started. The number is read to its line's end: the
// server writes the line in two pieces and ends when the second finds the
// pipe closed.
pid_t StartDisplay(int& display) {
  display = -1;
  ShellStreams streams;
  const int said = streams.Pipe(3);
  streams.Null(STDERR_FILENO);
  const pid_t server =
      StartShellCommand("exec Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24", streams);
  std::string number;
  char c;
  while (server > 0 && read(said, &c, 1) == 1 && c != '\n') number += c;
  close(said);
  if (!number.empty()) display = std::atoi(number.c_str());
  return server;
}

TEST(ZpxPrint, AVanishedDisplayEndsThePrintWindowWithTwoOneLineAndNothingLeft) {
  PrintHome home;
  int display = -1;
  const pid_t server = StartDisplay(display);
  ASSERT_GT(server, 0);
  ASSERT_GE(display, 0);
  const std::string errors = home.Path() + "/errors";
  ShellStreams streams;
  streams.Open(STDIN_FILENO, kSampleDocument, O_RDONLY)
      .Null(STDOUT_FILENO)
      .Open(STDERR_FILENO, errors, O_WRONLY | O_CREAT | O_TRUNC);
  const pid_t print = StartShellCommand("exec env DISPLAY=:" + std::to_string(display) + " " +
                                            home.Command("--gui --ppd '" + kSamplePPD + "'"),
                                        streams);
  ASSERT_GT(print, 0);
  // The screen is open before the run's folder is made; the window follows.
  EXPECT_NE(RunFolderWithFiles(home), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  kill(server, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(print, &status, 0), print);
  waitpid(server, nullptr, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
  const std::string said = FileText(errors);
  EXPECT_EQ(LineCount(said), 1) << said;
  EXPECT_TRUE(Has(said, "zpx-print: the display went away")) << said;
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, APPDOfAnotherPrinterMakesNoJob) {
  PrintHome home;
  CommandRun run = home.Run("--ppd '" + home.Write("Other.ppd", OtherPrinterPPDText()) + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors,
            "zpx-print: the extension does not serve this PPD: its *PCFileName \"OTHER.PPD\" is "
            "not in the "
            "bundle's printer list\n");
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxPrint, AFileDestinationGetsACopyOnlyWhenTheExtensionMadeItEmptyAndTheJobInAnyCase) {
  PrintHome home;
  auto print = [&](const std::string& destination) {
    return home.Run("--ppd '" + kSamplePPD +
                    "' --forget -o ZPDestination=File -o 'ZPMailboxName=" + destination + "'");
  };
  const std::string copy = home.Path() + "/copy.ps";
  CommandRun run = print(copy);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(FileText(copy), run.output);

  // A file there already (the last job), a folder, a folder that is not there:
  // the job is written, its copy is not, and one line says why.
  std::filesystem::create_directories(home.Path() + "/folder");
  for (const std::string& refused :
       {copy, home.Path() + "/folder", home.Path() + "/missing/copy.ps"}) {
    const std::string before = std::filesystem::is_regular_file(refused) ? FileText(refused) : "";
    run = print(refused);
    EXPECT_EQ(run.status, 0) << refused;
    EXPECT_TRUE(Has(run.output, "%%EOF"));
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, "zpx-print: warning: ") && Has(run.errors, refused + ": "))
        << run.errors;
    if (!before.empty()) {
      EXPECT_EQ(FileText(refused), before);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(home.Path() + "/missing"));
}

TEST(ZpxPrint, DocumentsOfOtherShapesStillRun) {
  PrintHome home;
  // CR line ends, no %%EndComments and no setup section.
  const std::string document =
      "%!PS-Adobe-3.0\r%%Title: cr\r/Helvetica findfont 20 scalefont setfont\r"
      "%%Page: 1 1\r72 700 moveto (Carriage page) show showpage\r%%EOF\r";
  CommandRun run =
      home.Run("--ppd '" + kSamplePPD + "' -o ZPDuplex=Top", home.Write("cr.ps", document));
  ASSERT_EQ(run.status, 0) << run.errors;
  // The document's lines keep their CR; the blocks are as the extension wrote them.
  EXPECT_EQ(run.output.rfind("%!PS-Adobe-3.0\r%%Title: cr\r%%Orientation: Portrait\n", 0), 0u);
  EXPECT_TRUE(Has(run.output, "\n%%BeginSetup\r[{\r%%BeginFeature:"));
  EXPECT_TRUE(
      Has(run.output, "%%EndSetup\r/Helvetica findfont 20 scalefont setfont\r%%Page: 1 1\r"));
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
             "<key>CFPlugInTypes</key><dict><key>" kPDEPlugInTypeID
             "</key><array>"
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
  for (const std::string& bad :
       {link, home.Write("odd.plist", list(block + "<integer>81</integer>")),
        home.Write("site7.plist", list("<integer>7</integer><data>AA==</data>")), std::string()}) {
    CommandRun refused = run(bad);
    EXPECT_EQ(refused.status, 1) << bad;
    EXPECT_EQ(LineCount(refused.errors), 1) << refused.errors;
    EXPECT_EQ(refused.output, "");
  }
  EXPECT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(home.LeftInTemporaryFolder(), 0u);
}
