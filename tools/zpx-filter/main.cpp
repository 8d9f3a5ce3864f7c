// zpx-filter: the print server's filter for jobs that did not come through
// zpx-print (from lp or other applications). It runs the dialog extension on
// the job as `zpx-print --ppd "$PPD"` does, with the job's options, and
// writes the finished job on standard output; a job zpx-print finished
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
#include <string>
#include <vector>

#include "DocumentHead.h"
#include "FilterOptions.h"
#include "HostRun.h"
#include "host/FinishedJobMark.h"
#include "host/ProcessStart.h"
#include "host/RunFolder.h"
#include "ipc/WriteAll.h"
#include "paths/PlatformPaths.h"

namespace {

constexpr size_t kChunkSize = 64 << 10;

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

bool Copy(int from, int to) {
  std::vector<char> chunk(kChunkSize);
  ssize_t length;
  while ((length = read(from, chunk.data(), chunk.size())) > 0)
    if (!WriteAll(to, chunk.data(), size_t(length))) return false;
  return length == 0;
}

bool CopyFile(const std::string& path, int to) {
  int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd == -1) return false;
  bool copied = Copy(fd, to);
  close(fd);
  return copied;
}

// The bytes the filter read, then the rest of the document.
bool PassOn(const DocumentHead& head, int to) {
  return WriteAll(to, head.Bytes().data(), head.Bytes().size()) && Copy(head.Fd(), to);
}

// A new file of the filter's own, for its user only.
int CreatePrivateFile(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
}

// The whole document in a new file of the filter's own.
bool Spool(const DocumentHead& head, const std::string& path) {
  int fd = CreatePrivateFile(path);
  if (fd == -1) return false;
  bool written = PassOn(head, fd);
  return close(fd) == 0 && written;
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
// once the filter has read its head, the whole document spooled into the
// scratch folder.
int Finish(const FilterOptions& options, std::string document, const DocumentHead* head) {
  const char* ppd = getenv("PPD");
  if (ppd == nullptr || *ppd == '\0') return Fail("the queue has no PPD");
  const char* temporary = getenv("TMPDIR");
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder,
                          temporary != nullptr && *temporary != '\0' ? temporary : "/tmp");
  RunFolder scratch;
  if (!scratch.IsValid()) return Fail("cannot make a scratch folder");
  if (head != nullptr) {
    document = scratch.Path() + "/document.ps";
    if (!Spool(*head, document)) return Fail("cannot keep the job for the extension");
  }
  const std::string jobOptions = scratch.Path() + "/job-options";
  if (!WriteJobOptions(options, jobOptions)) return Fail("cannot keep the job's options");
  const std::string job = scratch.Path() + "/job.ps";
  HostRun run(PlatformPaths::Get(PlatformPaths::kPrintProgram),
              options.HostArguments(ppd, job, jobOptions, document), scratch.Path());
  if (run.Status() != 0) {
    if (run.Messages().empty())
      return Fail("zpx-print failed with status " + std::to_string(run.Status()));
    return Fail(run.Messages().back());
  }
  for (const std::string& message : run.Messages()) Say("INFO", message);
  return CopyFile(job, STDOUT_FILENO) ? 0 : Fail("cannot pass the finished job on");
}

}  // namespace

int main(int argc, char** argv) {
  if (!ProcessStart::Prepare()) return 1;
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
  return PassOn(head, STDOUT_FILENO) ? 0 : Fail("cannot pass the job on");
}
