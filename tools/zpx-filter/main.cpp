// zpx-filter: the print server's filter for jobs that did not come through
// zpx-print (from lp or other applications). It runs the dialog extension on
// the job as `zpx-print --ppd "$PPD"` does, with the job's options, and
// streams the finished job to standard output; a job zpx-print finished
// already (marked so, with its header comment) passes
// unchanged. Any failure is one "ERROR:" line and exit 1, so the server stops
// the job rather than print it without the controller's code.
//
//   zpx-filter job-id user title copies options [file]
//   environment: PPD, TMPDIR (the scratch folder's parent)

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "DocumentFeed.h"
#include "DocumentHead.h"
#include "FilterOptions.h"
#include "HostRun.h"
#include "host/FinishedJobMark.h"
#include "host/ProcessStart.h"
#include "host/ProgramVersion.h"
#include "host/RunFolder.h"
#include "ipc/WriteAll.h"
#include "paths/PlatformPaths.h"

namespace {

// One line for the server's log, whatever the text holds.
void Say(const char* level, const std::string& message) {
  std::string line;
  for (unsigned char c : message) line += c < 0x20 || c == 0x7f ? '?' : char(c);
  std::fprintf(stderr, "%s: %s\n", level, line.c_str());
}

int Fail(const std::string& message) {
  Say("ERROR", message);
  return 1;
}

// A new file of the filter's own, for its user only.
int CreatePrivateFile(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

bool WriteJobOptions(const FilterOptions& options, const std::string& path) {
  int fd = CreatePrivateFile(path);
  if (fd == -1) return false;
  const std::string records = options.JobOptionRecords();
  bool written = WriteAll(fd, records.data(), records.size());
  return close(fd) == 0 && written;
}

// Anyone may mark a job finished; only one that zpx-print finished carries
// its comment in the header.
bool IsFinishedJob(const DocumentHead& head) { return head.HasComment(FinishedJobMark::kComment); }

// The document is the file the server named (standard input when none), or,
// once the filter has read its head, fed to zpx-print as it comes; the
// finished job goes out as zpx-print merges it.
int Finish(const FilterOptions& options, const std::string& document, const DocumentHead* head) {
  const char* ppd = getenv("PPD");
  if (ppd == nullptr || *ppd == '\0') return Fail("the queue has no PPD");
  const char* temporary = getenv("TMPDIR");
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder,
                          temporary != nullptr && *temporary != '\0' ? temporary : "/tmp");
  RunFolder scratch;
  if (!scratch.IsValid()) return Fail("cannot make a scratch folder");
  const std::string jobOptions = scratch.Path() + "/job-options";
  if (!WriteJobOptions(options, jobOptions)) return Fail("cannot keep the job's options");
  std::unique_ptr<DocumentFeed> feed;
  if (head != nullptr) feed = std::make_unique<DocumentFeed>(*head);
  const int input = feed ? feed->TakeInput() : -1;
  if (feed && input == -1) return Fail("cannot pass the job to the extension");
  HostRun run(PlatformPaths::Get(PlatformPaths::kPrintProgram),
              options.HostArguments(ppd, jobOptions, feed ? "" : document), scratch.Path(), input);
  if (run.Status() != 0) {
    if (run.Messages().empty())
      return Fail("zpx-print failed with status " + std::to_string(run.Status()));
    return Fail(run.Messages().back());
  }
  if (feed && !feed->Fed()) return Fail("cannot read the job " + document);
  for (const std::string& message : run.Messages()) Say("INFO", message);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ProcessStart::Prepare()) return 1;
  if (ProgramVersion::IsAsked(argc, argv)) return ProgramVersion::Print("zpx-filter");
  if (argc < 6 || argc > 7)
    return Fail("usage: zpx-filter job-id user title copies options [file]");
  FilterOptions options(argv[3], argv[4], argv[5]);
  const std::string document = argc == 7 ? argv[6] : "";
  if (!options.IsFinished()) return Finish(options, document, nullptr);
  int input = document.empty() ? STDIN_FILENO : open(document.c_str(), O_RDONLY | O_CLOEXEC);
  if (input == -1) return Fail("cannot read the job " + document);
  DocumentHead head(input);
  if (head.Failed()) return Fail("cannot read the job " + document);
  if (!IsFinishedJob(head)) return Finish(options, document, &head);
  return head.PassOn(STDOUT_FILENO) ? 0 : Fail("cannot pass the job on");
}
