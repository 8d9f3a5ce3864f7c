// zpx-filter finishes a job from another application as zpx-print does for
// the queue's PPD with the job's options (custom values of ranges and notes
// read back, none of them on zpx-print's command line), passes a job
// zpx-print finished unchanged, and answers a job it cannot finish (or one
// that selects a file destination) with one ERROR line and no output; its
// scratch folder below TMPDIR never outlives it, nor does its zpx-print a
// cancelled job.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "../../tools/zpx-filter/DocumentHead.h"
#include "ipc/WriteAll.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/PrintJobFiles.h"
#include "support/ShellStart.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

class FilterFolder {
 public:
  FilterFolder() { mFolder.Write("tmp/.keep", ""); }

  // The filter as the print server starts it; `document` "" sends the sample on standard input.
  CommandRun Filter(const std::string& options, const std::string& document = kSampleDocument,
                    const std::string& environment = kSampleEnvironment) const {
    return Run(environment, options,
               document.empty() ? "< '" + kSampleDocument + "'" : "'" + document + "'");
  }
  // The filter with the document on standard input.
  CommandRun FilterInput(const std::string& options, const std::string& document) const {
    return Run(kSampleEnvironment, options, "< '" + document + "'");
  }

  // The filter on the document, its output dropped, with the ending signals at
  // their default action whatever the test runner ignores.
  pid_t StartFilter(const std::string& document) const {
    ShellStreams streams;
    streams.Null(STDOUT_FILENO).Null(STDERR_FILENO);
    return StartShellCommand("exec env " + Command(kSampleEnvironment, "", "'" + document + "'"),
                             streams);
  }

  // zpx-print's job for the document with a home of its own.
  std::string Print(const std::string& arguments,
                    const std::string& document = kSampleDocument) const {
    const std::string home = mFolder.Path() + "/print-home";
    std::filesystem::create_directories(home);
    return RunCommand("HOME='" + home + "' XDG_CONFIG_HOME='" + home + "/config' ZPX_TMPDIR='" +
                      home + "' " + ZPX_TOOLS_DIR + "/zpx-print --forget --ppd '" + kSamplePPD +
                      "' --title Report " + arguments + " < '" + document + "'")
        .output;
  }

  // The filter on standard input, writing on a pipe: its two ends in `input`
  // and `output`.
  pid_t StartStreaming(const std::string& options, int& input, int& output) const {
    ShellStreams streams;
    input = streams.Pipe(STDIN_FILENO);
    output = streams.Pipe(STDOUT_FILENO);
    streams.Null(STDERR_FILENO);
    return StartShellCommand("exec env " + Command(kSampleEnvironment, options, ""), streams);
  }
  // The bytes of the files below the temporary folder.
  uintmax_t BytesInTemporaryFolder() const {
    uintmax_t bytes = 0;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(mFolder.Path() + "/tmp", error))
      if (entry.is_regular_file(error)) bytes += entry.file_size(error);
    return bytes;
  }

  std::string Path(const std::string& relative) const { return mFolder.Path() + "/" + relative; }
  std::string Write(const std::string& relative, const std::string& bytes) const {
    return mFolder.Write(relative, bytes);
  }
  size_t LeftInTemporaryFolder() const { return EntriesLeftIn(mFolder.Path() + "/tmp"); }

 private:
  inline static const std::string kSampleEnvironment = "PPD='" + kSamplePPD + "'";

  std::string Command(const std::string& environment, const std::string& options,
                      const std::string& input) const {
    return environment + " TMPDIR='" + mFolder.Path() + "/tmp' '" ZPX_FILTER "' 12 ann Report 1 '" +
           options + "' " + input;
  }
  CommandRun Run(const std::string& environment, const std::string& options,
                 const std::string& input) const {
    return RunCommand(Command(environment, options, input));
  }

  TempFolder mFolder;
};

// The processes whose parent is `parent`, from /proc: "pid (name) state ppid ...".
std::vector<pid_t> ChildrenOf(pid_t parent) {
  std::vector<pid_t> children;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string stat = FileText(entry.path().string() + "/stat");
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos || nameEnd + 4 >= stat.size()) continue;
    if (std::atoi(stat.c_str() + nameEnd + 4) == parent)
      children.push_back(std::atoi(stat.c_str()));
  }
  return children;
}

// Reads from `fd` until `output` holds `bytes` or the end came; false when
// neither came within 30 seconds.
bool ReadUntil(int fd, size_t bytes, std::string& output) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  char chunk[1 << 16];
  while (output.size() < bytes) {
    pollfd ready = {fd, POLLIN, 0};
    if (std::chrono::steady_clock::now() > deadline || poll(&ready, 1, 100) < 0) return false;
    if (ready.revents == 0) continue;
    const ssize_t length = read(fd, chunk, sizeof chunk);
    if (length <= 0) return true;
    output.append(chunk, size_t(length));
  }
  return true;
}

// Running or stopped, not ended: a zombie has ended.
bool IsAlive(pid_t process) {
  const std::string stat = FileText("/proc/" + std::to_string(process) + "/stat");
  const size_t nameEnd = stat.rfind(')');
  return nameEnd != std::string::npos && nameEnd + 2 < stat.size() && stat[nameEnd + 2] != 'Z';
}

// The FIFO's writing end once a reader has opened it; -1 after 30 seconds.
int OpenWhenRead(const std::string& fifo) {
  for (int tries = 0; tries < 3000; ++tries) {
    int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd != -1) return fd;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

}  // namespace

TEST(ZpxFilter, AJobIsFinishedWithTheOptionsOfThePPDAndTheRestIgnored) {
  FilterFolder folder;
  // The server's own attributes, an installable and a special option are not the job's choices.
  const std::string serverOptions =
      "finishings=3 job-uuid=urn:uuid:1b4e28ba ZPOptionalFinisher=Stapler Durance=False "
      "print-color-mode=monochrome";
  CommandRun run = folder.Filter(serverOptions + " ZPDuplex=Top orientation-requested=4");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(Unstamped(run.output),
            Unstamped(folder.Print("--server-job -o ZPDuplex=Top --orientation landscape")));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPDuplex Top"));
  EXPECT_TRUE(Has(run.output, "%%Orientation: Landscape"));
  // The server turned the pages: the printer's own orientation stays.
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZP_PAPER_ORIENTATION Portrait"));

  // From standard input, with pages on each sheet and a page size from the job's media.
  run = folder.Filter("number-up=2 media=A4,Tray1", "");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Unstamped(run.output), Unstamped(folder.Print("--number-up 2 -o PageSize=A4")));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *PageSize A4"));
  // A page size the job names itself wins over its media.
  run = folder.Filter("media=A4 PageSize=Letter");
  EXPECT_FALSE(Has(run.output, "%%BeginFeature: *PageSize A4"));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *PageSize Letter"));

  // The PIN travels sealed only.
  run = folder.Filter("ZPSecurePIN=735194");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_FALSE(Has(run.output, "735194"));
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}

// As a print dialog sends them, and the named form as the server writes it:
// quoted, with its quotes and spaces escaped.
TEST(ZpxFilter, CustomValuesOfRangesAndNotesAreCheckedAndPrintedAsTheirOwn) {
  FilterFolder folder;
  const std::string expected = Unstamped(
      folder.Print("--server-job -o ZPSecurePIN=735194 -o ZPScale=150 -o 'Notes1=two words'"));
  EXPECT_TRUE(Has(expected, "%%BeginFeature: *ZPSecurePIN ") &&
              Has(expected, "%%BeginFeature: *ZPScale 150") &&
              Has(expected, "%%ZPXCustom1: two words"));
  for (const std::string options :
       {"ZPSecurePIN=Custom.735194 ZPScale=custom.150 Notes1=Custom.two\\ words",
        "ZPSecurePIN={Value=735194} ZPScale={value=\\\"150\\\"} "
        "Notes1={Value=\\\"two\\ words\\\"}"}) {
    CommandRun run = folder.Filter(options);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Unstamped(run.output), expected) << options;
    EXPECT_FALSE(Has(run.output, "735194"));
  }
  // A note's "None" choice leaves it empty; its custom form is the text.
  CommandRun empty = folder.Filter("Notes1=None");
  EXPECT_EQ(Unstamped(empty.output), Unstamped(folder.Print("--server-job -o Notes1=")));
  EXPECT_FALSE(Has(empty.output, "%%ZPXCustom1:"));
  EXPECT_TRUE(Has(folder.Filter("Notes1=Custom.None").output, "%%ZPXCustom1: None"));

  const std::string longPIN(5000, '7');
  struct Case {
    std::string options;
    std::string named;
    std::string value;
  };
  for (const Case& bad : std::initializer_list<Case>{
           {"ZPSecurePIN=Custom.7351ab", "*ZPSecurePIN takes digits only", "7351ab"},
           {"ZPSecurePIN={Value=735194123}", "*ZPSecurePIN needs 4 to 8 digits", "735194123"},
           {"ZPSecurePIN={Value=" + longPIN + "}", "longer than 4096 bytes", longPIN},
           {"ZPScale=Custom.401", "*ZPScale takes 25 to 400", "401"},
           {"ZPScale={Value=150 Percent=150}", "*ZPScale takes a custom value as", "150"},
           {"ZPDuplex=Custom.Top", "*ZPDuplex takes no custom value", "Top"},
       }) {
    CommandRun run = folder.Filter(bad.options);
    EXPECT_EQ(run.status, 1) << bad.options;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_EQ(run.errors.rfind("ERROR: ", 0), 0u) << run.errors;
    EXPECT_TRUE(Has(run.errors, bad.named)) << run.errors;
    EXPECT_FALSE(Has(run.errors, bad.value)) << run.errors;
    EXPECT_EQ(run.output, "") << bad.options;
  }
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}

// The server names choices without regard to case, and hands a print
// dialog's unticked Boolean, or the choice "False", on as "noKEY": KEY=false.
TEST(ZpxFilter, AChoiceInAnyCaseIsTheOptionsOwn) {
  FilterFolder folder;
  const std::string expected =
      Unstamped(folder.Print("--server-job -o Collate=False -o ZPOffsetStack=True "
                             "-o ZPDuplex=False -o ZPOutputBin=Stacker"));
  CommandRun run = folder.Filter("noCollate ZPOffsetStack noZPDuplex ZPOutputBin=stacker");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Unstamped(run.output), expected);
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPOutputBin Stacker"));
}

// Every local user reads a command line: a PIN typed in a print dialog is not on zpx-print's.
TEST(ZpxFilter, TheJobsOptionsReachZpxPrintOutsideItsCommandLine) {
  FilterFolder folder;
  const std::string given = folder.Path("given");
  const std::string program =
      folder.Write("zpx-print", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + given + "'\nexec '" +
                                    ZPX_TOOLS_DIR + "/zpx-print' \"$@\"\n");
  ASSERT_EQ(chmod(program.c_str(), 0700), 0);
  CommandRun run = folder.Filter("ZPSecurePIN=735194 ZPDuplex=Top", kSampleDocument,
                                 "PPD='" + kSamplePPD + "' ZPX_PRINT='" + program + "'");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPDuplex Top"));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPSecurePIN "));
  const std::string arguments = FileText(given);
  EXPECT_TRUE(Has(arguments, "--server-job")) << arguments;
  EXPECT_FALSE(Has(arguments, "735194")) << arguments;
  EXPECT_FALSE(Has(arguments, "ZPDuplex")) << arguments;
}

TEST(ZpxFilter, AJobStreamsThroughWithNoCopyOfItKept) {
  FilterFolder folder;
  const std::string sample = FileText(kSampleDocument);
  const size_t trailer = sample.find("%%Trailer");
  std::string pages;
  while (pages.size() < (3u << 20)) pages += "% a line of the last page's own, to make it long\n";
  const std::string body = sample.substr(0, trailer) + pages;
  // Finished from standard input, and from the head the filter read first.
  for (const std::string options : {"", "zpx-finished=true"}) {
    int input = -1, output = -1;
    const pid_t filter = folder.StartStreaming(options, input, output);
    ASSERT_GT(filter, 0);
    std::promise<void> rest;
    std::thread writer([&, ended = rest.get_future()]() mutable {
      WriteAll(input, body.data(), body.size());
      ended.wait();
      WriteAll(input, sample.data() + trailer, sample.size() - trailer);
      close(input);
    });
    std::string job;
    // A megabyte of the job comes out while the document is still coming in,
    // and the scratch folder holds no copy of either.
    EXPECT_TRUE(ReadUntil(output, 1u << 20, job) && job.size() >= (1u << 20)) << options;
    EXPECT_LT(folder.BytesInTemporaryFolder(), 256u << 10) << options;
    rest.set_value();
    EXPECT_TRUE(ReadUntil(output, SIZE_MAX, job)) << options;
    writer.join();
    close(output);
    int status = -1;
    ASSERT_EQ(waitpid(filter, &status, 0), filter);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << options;
    EXPECT_GT(job.size(), body.size()) << options;
    EXPECT_EQ(job.compare(job.size() - 6, 6, "%%EOF\n"), 0) << options;
    EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u) << options;
  }
}

TEST(ZpxFilter, AFinishedJobPassesUnchangedByteForByte) {
  FilterFolder folder;
  // zpx-print's jobs, one of a document with CR line ends and no %%EndComments,
  // each followed by binary data well past the header that the filter reads.
  const std::string crDocument = folder.Write("cr.ps",
                                              "%!PS-Adobe-3.0\r%%Title: cr\r/Helvetica findfont\r"
                                              "%%Page: 1 1\rshowpage\r%%EOF\r");
  const char binary[] = "\0\x01\xff\r binary";
  const std::string tail = std::string(binary, sizeof binary - 1) + std::string(200000, 'x');
  for (const std::string& job :
       {folder.Print("-o ZPDuplex=Top") + tail, folder.Print("", crDocument) + tail}) {
    const std::string path = folder.Write("finished.ps", job);
    for (const CommandRun& run :
         {folder.Filter("job-uuid=urn:uuid:1 zpx-finished=true ZPDuplex=Sideways", path),
          folder.FilterInput("zpx-finished=true", path)}) {
      ASSERT_EQ(run.status, 0) << run.errors;
      EXPECT_EQ(run.output, job);
      EXPECT_EQ(run.errors, "");
    }
  }
}

TEST(ZpxFilter, AJobMarkedFinishedWithoutTheExtensionsHeaderCommentsIsFinished) {
  FilterFolder folder;
  // The comments forged after more header than the filter reads.
  std::string forged = FileText(kSampleDocument);
  forged.insert(forged.find("%%EndComments"), "%%ZPXFinished: zpx-print\n");
  std::string filler = "%%DocumentSuppliedResources: procset filler\n";
  while (filler.size() <= DocumentHead::kMaximumBytes) filler += "%%+ procset filler\n";
  forged.insert(forged.find('\n') + 1, filler);
  for (const std::string& document : {kSampleDocument, folder.Write("forged.ps", forged)}) {
    const std::string expected = Unstamped(folder.Print("", document));
    for (const CommandRun& run : {folder.Filter("zpx-finished=true", document),
                                  folder.FilterInput("zpx-finished=true", document)}) {
      ASSERT_EQ(run.status, 0) << run.errors;
      EXPECT_EQ(Unstamped(run.output), expected);
      EXPECT_TRUE(Has(run.output, "%%ZPXCustom1: Proof"));
    }
  }
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxFilter, ACancelledJobEndsItsZpxPrintAndLeavesNothingBehind) {
  FilterFolder folder;
  const std::string fifo = folder.Path("document.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const pid_t filter = folder.StartFilter(fifo);
  ASSERT_GT(filter, 0);
  // zpx-print has opened the document and waits for bytes that never come.
  const int writer = OpenWhenRead(fifo);
  const std::vector<pid_t> children = ChildrenOf(filter);
  kill(filter, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(filter, &status, 0), filter);
  EXPECT_NE(writer, -1);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(children.size(), 1u);
  int living = 0;
  // A child left running must not outlive the test.
  for (pid_t child : children) {
    if (!IsAlive(child)) continue;
    ++living;
    kill(child, SIGKILL);
  }
  if (writer != -1) close(writer);
  EXPECT_EQ(living, 0);
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxFilter, AJobThatCannotBeFinishedFailsWithOneErrorLineAndNoOutput) {
  FilterFolder folder;
  const std::string otherPPD = folder.Write("Other.ppd", OtherPrinterPPDText());
  struct Case {
    std::string options;
    std::string document;
    std::string environment;
    std::string named;
  };
  const std::string ppd = "PPD='" + kSamplePPD + "'";
  // A file the job names is never made, whether the job or the PPD's default selects the file
  // destination.
  std::string fileDefault = SamplePPDText();
  fileDefault.replace(fileDefault.find("*DefaultZPDestination: Printer"), 30,
                      "*DefaultZPDestination: File");
  const std::string fileDefaultPPD = "PPD='" + folder.Write("FileDefault.ppd", fileDefault) + "'";
  const std::string mailbox = folder.Path("mailbox.ps");
  for (const Case& bad : std::initializer_list<Case>{
           {"ZPDuplex=Sideways", kSampleDocument, ppd, "Sideways"},
           {"ZPDestination=File ZPMailboxName=" + mailbox, kSampleDocument, ppd, "*ZPDestination"},
           {"ZPMailboxName=" + mailbox, kSampleDocument, fileDefaultPPD, "*ZPDestination"},
           {"ZPMediaType=Transparency ZPDuplex=Top", kSampleDocument, ppd,
            "*ZPDuplex Top conflicts with *ZPMediaType Transparency"},
           {"number-up=3", kSampleDocument, ppd, "--number-up"},
           {"", kSampleDocument, "PPD='" + otherPPD + "'",
            "its *PCFileName \"OTHER.PPD\" is not in the bundle's"},
           {"", kSampleDocument, "PPD=", "PPD"},
           {"", folder.Write("letter.txt", "Dear printer,\n"), ppd, "%!"},
       }) {
    CommandRun run = folder.Filter(bad.options, bad.document, bad.environment);
    EXPECT_EQ(run.status, 1) << bad.options;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_EQ(run.errors.rfind("ERROR: ", 0), 0u) << run.errors;
    EXPECT_TRUE(Has(run.errors, bad.named)) << run.errors;
    EXPECT_EQ(run.output, "") << bad.options;
  }
  EXPECT_FALSE(std::filesystem::exists(mailbox));
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);

  CommandRun usage = RunCommand("'" ZPX_FILTER "' 12 ann Report");
  EXPECT_EQ(usage.status, 1);
  EXPECT_EQ(usage.errors.rfind("ERROR: usage", 0), 0u) << usage.errors;
}

// zpx-print's reason is the ERROR line, whatever came before it, however long
// it is (cut on a character boundary) and whether or not its line ends.
TEST(ZpxFilter, TheErrorLineCarriesZpxPrintsLastReasonWhole) {
  FilterFolder folder;
  std::string value;
  while (value.size() < 5000) value += "\xC3\xA9";  // two bytes each, from an odd place
  CommandRun run = folder.Filter("ZPDuplex=" + value);
  EXPECT_EQ(run.status, 1);
  std::string reason = "option *ZPDuplex has no value \"";
  while (reason.size() + 2 <= 1000) reason += "\xC3\xA9";
  EXPECT_EQ(run.errors, "ERROR: " + reason + "\u2026\n");

  // Over 4 KiB of other lines first, and the last one unended.
  const std::string program = folder.Write("zpx-print",
                                           "#!/bin/sh\nfor i in $(seq 200); do echo \"zpx-print: "
                                           "forgetting a remembered choice: $i\" >&2; done\n"
                                           "printf 'zpx-print: the reason, unended' >&2\nexit 1\n");
  ASSERT_EQ(chmod(program.c_str(), 0700), 0);
  run = folder.Filter("", kSampleDocument, "PPD='" + kSamplePPD + "' ZPX_PRINT='" + program + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, "ERROR: the reason, unended\n");
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}
