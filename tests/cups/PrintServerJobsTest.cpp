// Printing through a print server of the test's own: zpx-print submits to a
// queue exactly the job it writes for the queue's PPD; jobs from lp run
// through zpx-filter, which finishes them or stops them with the reason;
// queue and server failures exit 3 (an unserved PPD 1), each named by its
// cause, and a server that stops answering is left within the budget; --list
// describes the queues; the filter leaves no scratch files and no shared
// memory behind, and copies the server made are not made again by the printer.
#include <cups/cups.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "SilentServer.h"
#include "host/PrintQueues.h"
#include "host/QueueJob.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/LocalPrintServer.h"
#include "support/PrintJobFiles.h"
#include "support/PrintServerSuite.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

constexpr int kJobSeconds = 30;

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What a failure says when the server took the connection and kept silent.
std::string NoAnswer() {
  return "did not answer within " +
         std::to_string(
             std::chrono::duration_cast<std::chrono::seconds>(PrintServer::kExchangeBudget)
                 .count()) +
         " s";
}

// Shared-memory segments the user owns.
int SegmentsOf(const std::string& user) {
  std::istringstream lines(RunCommand("ipcs -m").output);
  int count = 0;
  std::string key, id, owner;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if (words >> key >> id >> owner && key.rfind("0x", 0) == 0 && owner == user) ++count;
  }
  return count;
}

class PrintServerJobs : public PrintServerSuite {
 protected:
  static void SetUpTestSuite() {
    PrintServerSuite::SetUpTestSuite();
    if (HasFatalFailure()) return;
    sOtherPPD = new TempFolder();
    ASSERT_TRUE(sServer->AddQueue("Served", kSamplePPD));
    ASSERT_TRUE(sServer->AddQueue("Other", sOtherPPD->Write("Other.ppd", OtherPrinterPPDText())));
  }
  static void TearDownTestSuite() {
    PrintServerSuite::TearDownTestSuite();
    delete sOtherPPD;
  }

  // zpx-print of the installed tree, with a home of its own.
  CommandRun Print(const std::string& arguments, const std::string& environment = "") const {
    return RunCommand(environment + " HOME='" + mHome.Path() + "' XDG_CONFIG_HOME='" +
                      mHome.Path() + "/config' ZPX_TMPDIR=/tmp '" + sServer->Prefix() +
                      "/bin/zpx-print' " + arguments);
  }

  // The job's number from "request id is QUEUE-N (1 file(s))" or
  // "zpx-print: submitted QUEUE-N".
  static std::string JobNumber(const std::string& output) {
    std::smatch match;
    return std::regex_search(output, match, std::regex("-([0-9]+)\\b")) ? match[1].str() : "";
  }

  // The captured bytes once the backend has the whole job; "" after kJobSeconds.
  static bool Captured(const std::string& job, std::string& bytes) {
    const std::string base = sServer->CaptureFolder() + "/" + job;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kJobSeconds);
    while (!std::filesystem::exists(base + ".args") && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    bytes = FileText(base + ".ps");
    return std::filesystem::exists(base + ".args");
  }

  // The job's state once it is stopped or done, with the printer's message for it.
  static ipp_jstate_t FinalState(const std::string& job, std::string& message) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kJobSeconds);
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    while (state < IPP_JSTATE_STOPPED && std::chrono::steady_clock::now() < deadline) {
      ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
      const std::string uri = "ipp://localhost/jobs/" + job;
      ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
      ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
      ipp_attribute_t* found = ippFindAttribute(response, "job-state", IPP_TAG_ENUM);
      if (found != nullptr) state = ipp_jstate_t(ippGetInteger(found, 0));
      found = ippFindAttribute(response, "job-printer-state-message", IPP_TAG_TEXT);
      message = found != nullptr ? ippGetString(found, 0, nullptr) : "";
      ippDelete(response);
      if (state < IPP_JSTATE_STOPPED) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return state;
  }

  static std::set<std::string> FilterTemporaryFiles() {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(sServer->TemporaryFolder()))
      names.insert(entry.path().filename().string());
    return names;
  }

  static TempFolder* sOtherPPD;
  TempFolder mHome;
};

TempFolder* PrintServerJobs::sOtherPPD = nullptr;

}  // namespace

TEST_F(PrintServerJobs, AQueueGetsExactlyTheJobItsPPDGivesAndOutputKeepsItHere) {
  CommandRun submitted = Print("--printer Served -o ZPDuplex=Top '" + kSampleDocument + "'");
  ASSERT_EQ(submitted.status, 0) << submitted.errors;
  EXPECT_EQ(submitted.errors, "");
  const std::string job = JobNumber(submitted.output);
  EXPECT_EQ(submitted.output, "zpx-print: submitted Served-" + job + "\n");
  std::string captured;
  ASSERT_TRUE(Captured(job, captured)) << FileText(sServer->ErrorLog());

  CommandRun local = Print("--forget --ppd '" + sServer->QueuePPD("Served") +
                           "' -o ZPDuplex=Top '" + kSampleDocument + "'");
  ASSERT_EQ(local.status, 0) << local.errors;
  EXPECT_TRUE(Has(captured, "%%BeginFeature: *ZPDuplex Top"));
  EXPECT_EQ(Unstamped(captured), Unstamped(local.output));

  // The choice was kept under the queue's name; --output writes the job here and submits nothing.
  const std::string output = mHome.Path() + "/job.ps";
  CommandRun kept = Print("--printer Served --output '" + output + "' '" + kSampleDocument + "'");
  ASSERT_EQ(kept.status, 0) << kept.errors;
  EXPECT_EQ(kept.output, "");
  EXPECT_TRUE(Has(FileText(output), "%%BeginFeature: *ZPDuplex Top"));
  EXPECT_TRUE(std::filesystem::exists(mHome.Path() + "/config/zpx-print/Served.plist"));
  EXPECT_FALSE(std::filesystem::exists(sServer->CaptureFolder() + "/" +
                                       std::to_string(std::stoi(job) + 1) + ".ps"));
}

// Custom values as a print dialog of the server sends them, one with a space.
TEST_F(PrintServerJobs, AJobFromLpIsFinishedWithEachFeatureOnceAndThePinOnlySealed) {
  const std::set<std::string> temporaryBefore = FilterTemporaryFiles();
  const int segmentsBefore = SegmentsOf(sServer->UserName());
  CommandRun lp = RunCommand(
      "lp -d Served -o ZPDuplex=Top -o ZPSecurePIN=Custom.735194 -o ZPScale=Custom.150 "
      "-o 'Notes1=\"Custom.two words\"' -o job-hold-until=no-hold '" +
      kSampleDocument + "'");
  ASSERT_EQ(lp.status, 0) << lp.errors;
  std::string job;
  ASSERT_TRUE(Captured(JobNumber(lp.output), job)) << FileText(sServer->ErrorLog());

  EXPECT_EQ(Occurrences(job, "%%BeginFeature: *ZPDuplex "), 1u) << job;
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPDuplex Top"));
  EXPECT_FALSE(Has(job, "735194"));
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPSecurePIN ")) << job;
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPScale 150"));
  EXPECT_TRUE(Has(job, "%%ZPXCustom1: two words"));
  // The print server put its own copy of every option's code into the setup;
  // the extension's list of features it writes itself took those out, and
  // the extension's page size took the document's and the server's out.
  std::istringstream lines(job);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("%%BeginFeature: *", 0) == 0) {
      EXPECT_EQ(Occurrences(job, line.substr(0, line.find(' ', 17)) + " "), 1u) << line;
    }

  CommandRun pages =
      InterpretedPages(sServer->CaptureFolder() + "/" + JobNumber(lp.output) + ".ps");
  EXPECT_EQ(pages.status, 0) << pages.errors;
  for (const char* page : {"Sample page one", "Sample page two", "Sample page three"})
    EXPECT_TRUE(Has(pages.output, page)) << pages.output;
  EXPECT_EQ(FilterTemporaryFiles(), temporaryBefore);
  EXPECT_EQ(SegmentsOf(sServer->UserName()), segmentsBefore);
}

TEST_F(PrintServerJobs, AQueueMadeWithTheDriversModelTakesLpsCustomValues) {
  CommandRun models = RunCommand("lpinfo -m");
  ASSERT_EQ(models.status, 0) << models.errors;
  EXPECT_TRUE(Has(models.output, "zpx:ZPX-Sample.ppd ZPX Production 9000 PS v1.0"))
      << models.output;
  ASSERT_TRUE(sServer->AddModelQueue("Driven", "zpx:ZPX-Sample.ppd"))
      << FileText(sServer->ErrorLog());
  // The queue's PPD is the one a print dialog of the server understands.
  const std::string ppd = FileText(sServer->QueuePPD("Driven"));
  EXPECT_TRUE(Has(ppd, "*CustomZPScale True") && Has(ppd, "*% made by zpx-ppd")) << ppd;
  // What -o takes on the queue (the shell's completion asks this) is what it
  // takes with the model itself; an unknown queue is named as zpx-print names it.
  const std::string keys = "'" + sServer->Prefix() + "/bin/zpx-ppd' options --keys ";
  CommandRun queueKeys = RunCommand(keys + "--printer Driven");
  EXPECT_EQ(queueKeys.status, 0) << queueKeys.errors;
  EXPECT_TRUE(Has(queueKeys.output, "ZPDuplex=Bottom\n")) << queueKeys.output;
  EXPECT_EQ(queueKeys.output, RunCommand(keys + "'" + kSamplePPD + "'").output);
  CommandRun nowhere = RunCommand(keys + "--printer Nowhere");
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_EQ(nowhere.errors,
            "zpx-ppd: cannot use the queue Nowhere: The printer or class does not exist.\n");

  CommandRun lp = RunCommand(
      "lp -d Driven -o ZPSecurePIN=Custom.735194 -o ZPScale=Custom.150 -o job-hold-until=no-hold "
      "'" +
      kSampleDocument + "'");
  ASSERT_EQ(lp.status, 0) << lp.errors;
  std::string job;
  ASSERT_TRUE(Captured(JobNumber(lp.output), job)) << FileText(sServer->ErrorLog());
  EXPECT_FALSE(Has(job, "735194")) << job;
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPSecurePIN ")) << job;
  EXPECT_TRUE(Has(job, "*ZPScale 150")) << job;
  RunCommand("lpadmin -x Driven");
}

TEST_F(PrintServerJobs, ABadChoiceStopsItsJobWithTheReasonAndTheNextJobPrints) {
  // A file the job names would be written by the server's user, where it may write.
  const std::string named = sServer->ServerUserFolder("named") + "/job.ps";
  const std::tuple<std::string, std::string, std::string> choices[] = {
      {"-o ZPDuplex=Sideways", "*ZPDuplex", "Sideways"},
      {"-o ZPDestination=File -o 'ZPMailboxName=" + named + "'", "*ZPDestination", "File"},
  };
  std::string message;
  for (const auto& [options, key, value] : choices) {
    CommandRun bad = RunCommand("lp -d Served " + options + " '" + kSampleDocument + "'");
    ASSERT_EQ(bad.status, 0) << bad.errors;
    EXPECT_EQ(FinalState(JobNumber(bad.output), message), IPP_JSTATE_STOPPED) << options;
    EXPECT_TRUE(Has(message, key) && Has(message, value)) << message;
    std::string nothing;
    Captured(JobNumber(bad.output), nothing);
    EXPECT_EQ(nothing, "");
  }
  EXPECT_FALSE(std::filesystem::exists(named));

  CommandRun good = RunCommand("lp -d Served -o ZPDuplex=Bottom '" + kSampleDocument + "'");
  ASSERT_EQ(good.status, 0) << good.errors;
  std::string job;
  ASSERT_TRUE(Captured(JobNumber(good.output), job)) << FileText(sServer->ErrorLog());
  EXPECT_TRUE(Has(job, "%%BeginFeature: *ZPDuplex Bottom"));
  EXPECT_EQ(FinalState(JobNumber(good.output), message), IPP_JSTATE_COMPLETED) << message;
}

TEST_F(PrintServerJobs, UnservedPPDsAndUnknownQueuesEachHaveTheirStatus) {
  const std::string document = " '" + kSampleDocument + "'";
  CommandRun other = Print("--printer Other" + document);
  EXPECT_EQ(other.status, 1) << other.errors;
  EXPECT_EQ(LineCount(other.errors), 1) << other.errors;

  CommandRun unknown = Print("--printer Nowhere" + document);
  EXPECT_EQ(unknown.status, 3);
  EXPECT_TRUE(Has(unknown.errors, "zpx-print: ") && Has(unknown.errors, "Nowhere"))
      << unknown.errors;
  EXPECT_EQ(LineCount(unknown.errors), 1) << unknown.errors;
}

TEST_F(PrintServerJobs, EachServerFailureNamesItsCauseAndASilentServerIsLeftWithinTheBudget) {
  const std::string document = " '" + kSampleDocument + "'";
  // A server that takes the connection and never answers: --printer and
  // --list side by side, each given up within the time the README promises.
  SilentServer silent;
  ASSERT_GT(silent.Port(), 0);
  auto timedRun = [&](const std::string& arguments) {
    auto start = std::chrono::steady_clock::now();
    CommandRun run = Print(arguments, "CUPS_SERVER=127.0.0.1:" + std::to_string(silent.Port()));
    return std::make_pair(run, SecondsSince(start));
  };
  auto printing = std::async(std::launch::async, timedRun, "--printer Served" + document);
  auto listing = std::async(std::launch::async, timedRun, "--list");
  for (const auto& [run, seconds] : {printing.get(), listing.get()}) {
    EXPECT_EQ(run.status, 3) << run.errors;
    EXPECT_LT(seconds, PrintServer::kTimeoutSeconds) << run.errors;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, NoAnswer())) << run.errors;
  }
  // A job on a PPD file has no business with the server: it prints, and the
  // hanging server never hears of it.
  SilentServer unasked;
  ASSERT_GT(unasked.Port(), 0);
  CommandRun onFile = Print("--ppd '" + kSamplePPD + "' --forget --output /dev/null" + document,
                            "CUPS_SERVER=127.0.0.1:" + std::to_string(unasked.Port()));
  EXPECT_EQ(onFile.status, 0) << onFile.errors;
  EXPECT_FALSE(unasked.WasCalled());

  // Nothing listens (a stopped server): the socket's own reason.
  for (const std::string& arguments : {std::string("--list"), "--printer Served" + document}) {
    CommandRun refused =
        Print(arguments, "CUPS_SERVER=127.0.0.1:" + std::to_string(LocalPrintServer::FreePort()));
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(LineCount(refused.errors), 1) << refused.errors;
    EXPECT_TRUE(Has(refused.errors, "Connection refused")) << refused.errors;
  }

  // The server's answers: libcups's message for them; a name no queue has is
  // refused before the server is asked, without a message of an earlier call.
  CommandRun unknown = Print("--printer Nowhere" + document);
  EXPECT_EQ(unknown.status, 3);
  EXPECT_EQ(unknown.errors,
            "zpx-print: cannot use the queue Nowhere: The printer or class does not exist.\n");
  CommandRun badName = Print("--printer ../Served" + document);
  EXPECT_EQ(badName.status, 3);
  EXPECT_EQ(badName.errors,
            "zpx-print: no queue ../Served: not a name a queue may have\n");
  ASSERT_TRUE(sServer->AddQueue("Refusing", kSamplePPD));
  ASSERT_EQ(LocalPrintServer::Shell("cupsreject -h " + sServer->Address() + " Refusing"), 0);
  CommandRun refusing = Print("--printer Refusing" + document);
  LocalPrintServer::Shell("lpadmin -h " + sServer->Address() + " -x Refusing");
  EXPECT_EQ(refusing.status, 3);
  EXPECT_EQ(refusing.errors,
            "zpx-print: cannot submit the job to Refusing: Destination \"Refusing\" is not "
            "accepting jobs.\n");
}

TEST_F(PrintServerJobs, TheListDescribesEachQueue) {
  CommandRun list = Print("--list");
  ASSERT_EQ(list.status, 0) << list.errors;
  const std::string device = "capture:" + sServer->CaptureFolder();
  EXPECT_EQ(list.output, "Other\tZPX Production 9000 PS v1.0\t" + device + "\tnot served\n" +
                             "Served\tZPX Production 9000 PS v1.0\t" + device + "\tserved\n");
}

TEST_F(PrintServerJobs, QueuesAreNamedFetchedAndTakeJobsLargerThanAChunk) {
  PrintServer server;
  ASSERT_TRUE(server.IsReached()) << server.Failure();
  std::vector<std::string> names;
  ASSERT_TRUE(PrintQueues::Names(server, names));
  EXPECT_EQ(names, (std::vector<std::string>{"Other", "Served"}));

  PMPrinter printer = nullptr;
  ASSERT_EQ(PrintQueues::CreatePrinter(server, "Served", mHome.Path(), &printer), kPMNoError);
  EXPECT_EQ(FileText(mHome.Path() + "/Served.ppd"), FileText(sServer->QueuePPD("Served")));
  PMRelease(printer);
  EXPECT_EQ(PrintQueues::CreatePrinter(server, "Nowhere", mHome.Path(), &printer),
            kPMInvalidPrinter);
  for (const char* refused : {"../Served", ""})
    EXPECT_EQ(PrintQueues::CreatePrinter(server, refused, mHome.Path(), &printer),
              kPMInvalidParameter)
        << refused;
  EXPECT_EQ(printer, nullptr);

  // Three chunks and a piece, marked finished and with a finished job's header
  // comment, so that the filter passes them on.
  std::string bytes = "%!PS-Adobe-3.0\n%%ZPXFinished: zpx-print\n%%EndComments\n";
  while (bytes.size() < 3 * QueueJob::kChunkSize + 100) bytes += "% filler line of a large job\n";
  const std::string path = mHome.Write("large.ps", bytes);
  int fd = open(path.c_str(), O_RDONLY);
  std::string error;
  int job = QueueJob::Submit(server, "Served", "large", {{"zpx-finished", "true"}},
                             "application/vnd.cups-postscript", fd, error);
  close(fd);
  ASSERT_GT(job, 0) << error;
  std::string captured;
  ASSERT_TRUE(Captured(std::to_string(job), captured));
  EXPECT_EQ(captured, bytes);

  fd = open(path.c_str(), O_RDONLY);
  EXPECT_EQ(
      QueueJob::Submit(server, "Nowhere", "lost", {}, "application/vnd.cups-postscript", fd, error),
      0);
  close(fd);
  EXPECT_FALSE(error.empty());
}

TEST_F(PrintServerJobs, AJobWhoseEndIsNeverAnsweredFailsWithinTheBudget) {
  PrintServer server;
  ASSERT_TRUE(server.IsReached()) << server.Failure();
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  // The job's beginning is taken; once it has been read from the pipe the
  // server stops (it still takes bytes, into the socket) and the job ends.
  std::chrono::steady_clock::time_point ended;
  std::thread document([&] {
    const std::string beginning = "%!PS-Adobe-3.0\n%%ZPXFinished: zpx-print\n%%EndComments\n";
    int unread = int(beginning.size());
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kJobSeconds);
    if (write(ends[1], beginning.data(), beginning.size()) == ssize_t(beginning.size()))
      while (unread > 0 && std::chrono::steady_clock::now() < deadline &&
             ioctl(ends[0], FIONREAD, &unread) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    sServer->Pause();
    ended = std::chrono::steady_clock::now();
    close(ends[1]);
  });
  std::string error;
  int job = QueueJob::Submit(server, "Served", "unanswered", {{"zpx-finished", "true"}},
                             "application/vnd.cups-postscript", ends[0], error);
  auto returned = std::chrono::steady_clock::now();
  document.join();
  const double seconds = std::chrono::duration<double>(returned - ended).count();
  sServer->Resume();
  close(ends[0]);
  EXPECT_EQ(job, 0);
  EXPECT_TRUE(Has(error, NoAnswer())) << error;
  EXPECT_LT(seconds, PrintServer::kTimeoutSeconds);
}

TEST_F(PrintServerJobs, TheInstalledProgramsFindTheirLibrariesOnlyWithinTheTree) {
  for (const char* program : {"/bin/zpx-print", "/lib/cups/filter/zpx-filter",
                              "/lib/zpx/ZPXPDE.plugin/Contents/MacOS/libzpxpde.so"}) {
    CommandRun dynamic = RunCommand("readelf -d '" + sServer->Prefix() + program + "'");
    ASSERT_EQ(dynamic.status, 0) << program;
    std::smatch match;
    ASSERT_TRUE(std::regex_search(dynamic.output, match, std::regex("runpath: \\[([^\\]]*)\\]")))
        << program;
    std::istringstream folders(match[1].str());
    for (std::string folder; std::getline(folders, folder, ':');)
      EXPECT_EQ(folder.rfind("$ORIGIN", 0), 0u) << program << ": " << folder;
  }
}

TEST_F(PrintServerJobs, CopiesTheServerMadeAreNotMadeAgainAndTheJobsMediaIsThePageSize) {
  // With *cupsManualCopies the server repeats the pages itself; the job's
  // copies still reach the filter, and must not become the printer's too.
  std::string ppd = FileText(kSamplePPD);
  ppd.insert(ppd.find("*cupsFilter2"), "*cupsManualCopies: True\n");
  TempFolder folder;
  ASSERT_TRUE(sServer->AddQueue("ServerCopies", folder.Write("ServerCopies.ppd", ppd)));
  CommandRun lp = RunCommand("lp -d ServerCopies -n 2 -o media=A4 '" + kSampleDocument + "'");
  ASSERT_EQ(lp.status, 0) << lp.errors;
  std::string job;
  ASSERT_TRUE(Captured(JobNumber(lp.output), job)) << FileText(sServer->ErrorLog());
  LocalPrintServer::Shell("lpadmin -h " + sServer->Address() + " -x ServerCopies");

  // The extension's A4 is the job's only page size: the document's Letter and
  // the server's A4 went.
  EXPECT_EQ(Occurrences(job, "%%BeginFeature: *PageSize "), 1u) << job;
  EXPECT_EQ(Occurrences(job, "%%BeginFeature: *PageSize A4"), 1u) << job;
  CommandRun printed =
      RunCommand("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- '" +
                 sServer->CaptureFolder() + "/" + JobNumber(lp.output) +
                 ".ps' -c 'currentpagedevice dup /NumCopies get == /PageSize get =='");
  EXPECT_EQ(printed.status, 0) << printed.errors;
  EXPECT_EQ(Occurrences(printed.output, "Sample page three"), 2u) << printed.output;
  EXPECT_TRUE(Has(printed.output, "\n1\n[595 842]\n")) << printed.output;
}
