#include "JobDelivery.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "OutputFile.h"
#include "host/FinishedJobMark.h"
#include "host/JobOutput.h"
#include "host/PostScriptLineReader.h"
#include "host/PostScriptMerger.h"

namespace {

constexpr size_t kMaximumCommentLength = 255;

// A descriptor that is closed with the object unless it is a standard one.
class Descriptor {
 public:
  explicit Descriptor(int fd) : mFd(fd) {}
  ~Descriptor() {
    if (mFd > STDERR_FILENO) close(mFd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Fd() const { return mFd; }

 private:
  int mFd;
};

// Why the extension's file destination could not take the job's copy.
std::string WhyNoCopy(const std::string& path) {
  struct stat status;
  if (lstat(path.c_str(), &status) != 0) return std::strerror(errno);
  if (S_ISDIR(status.st_mode)) return "it is a folder";
  if (S_ISLNK(status.st_mode)) return "it is a link";
  if (!S_ISREG(status.st_mode)) return "it is not a regular file";
  if (status.st_uid != geteuid()) return "it is another user's file";
  return "a file was there already";
}

// The job's title as its header comment: one line of at most 255 bytes,
// whatever the title holds (a job's title comes from any print client).
std::string TitleComment(const std::string& title) {
  std::string comment = "%%Title: ";
  for (unsigned char c : title) comment += c < 0x20 || c == 0x7f ? ' ' : char(c);
  comment.resize(std::min(comment.size(), kMaximumCommentLength));
  return comment + "\n";
}

PrintFailure MergeFailure(PostScriptMerger::Result result) {
  switch (result) {
    case PostScriptMerger::kNotPostScript:
      return PrintFailure::BadInput("the document does not begin with %!");
    case PostScriptMerger::kReadFailed:
      return PrintFailure::NoJob("cannot read the document");
    case PostScriptMerger::kWriteFailed:
      return PrintFailure::NoJob("cannot write the job");
    case PostScriptMerger::kMerged:
      break;
  }
  return PrintFailure::None();
}

}  // namespace

PrintFailure JobDelivery::Deliver(const PrintArguments& arguments, const JobInjections& injections,
                                  std::string& warning) {
  Descriptor input(arguments.mDocument.empty()
                       ? STDIN_FILENO
                       : open(arguments.mDocument.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
  if (input.Fd() == -1)
    return PrintFailure::BadInput("cannot open the document " + arguments.mDocument);
  OutputFile destination(arguments.mOutput);
  if (destination.Fd() == -1) return PrintFailure::NoJob(destination.Problem());
  std::string refusedCopy;
  PostScriptMerger::Result result;
  {
    JobInjections job = injections;
    job.mHeaderComments.push_back(std::string(FinishedJobMark::kComment) + "\n");
    if (!arguments.mTitle.empty()) job.mHeaderComments.push_back(TitleComment(arguments.mTitle));
    JobOutput output(destination.Fd());
    for (const std::string& path : job.mCopyPaths)
      if (!output.AddCopy(path) && refusedCopy.empty()) refusedCopy = path;
    PostScriptLineReader reader(input.Fd());
    result = PostScriptMerger(job, reader, output).Merge();
  }
  PrintFailure failure = MergeFailure(result);
  if (failure.Failed()) return failure;
  if (!destination.Keep()) return PrintFailure::NoJob(destination.Problem());
  if (!refusedCopy.empty())
    warning = "warning: the job was written, but not its copy at the file destination " +
              refusedCopy + ": " + WhyNoCopy(refusedCopy);
  return PrintFailure::None();
}
