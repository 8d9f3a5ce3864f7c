#include "JobDelivery.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "print/JobOutput.h"
#include "print/PostScriptLineReader.h"
#include "print/PostScriptMerger.h"

namespace {

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

// The job's file beside the output, renamed over it only when kept.
class PendingOutput {
 public:
  explicit PendingOutput(const std::string& output) : mOutput(output) {
    if (output.empty()) return;
    std::string pattern = output + ".zpx-print-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    mFd = mkstemp(name.data());
    if (mFd != -1) mPath = name.data();
  }
  ~PendingOutput() {
    if (mFd != -1) close(mFd);
    if (!mPath.empty()) unlink(mPath.c_str());
  }
  PendingOutput(const PendingOutput&) = delete;
  PendingOutput& operator=(const PendingOutput&) = delete;

  int Fd() const { return mOutput.empty() ? STDOUT_FILENO : mFd; }
  bool Keep() {
    if (mOutput.empty()) return true;
    mode_t mask = umask(0);
    umask(mask);
    bool kept = fchmod(mFd, 0666 & ~mask) == 0 && rename(mPath.c_str(), mOutput.c_str()) == 0;
    if (kept) mPath.clear();
    return kept;
  }

 private:
  std::string mOutput;
  std::string mPath;
  int mFd = -1;
};

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

PrintFailure JobDelivery::Deliver(const PrintArguments& arguments, const JobInjections& injections) {
  Descriptor input(arguments.mDocument.empty()
                       ? STDIN_FILENO
                       : open(arguments.mDocument.c_str(), O_RDONLY | O_CLOEXEC));
  if (input.Fd() == -1) return PrintFailure::BadInput("cannot open the document " + arguments.mDocument);
  PendingOutput pending(arguments.mOutput);
  if (pending.Fd() == -1) return PrintFailure::NoJob("cannot write " + arguments.mOutput);
  std::string refusedCopy;
  PostScriptMerger::Result result;
  {
    JobOutput output(pending.Fd());
    for (const std::string& path : injections.mCopyPaths)
      if (!output.AddCopy(path)) refusedCopy = path;
    PostScriptLineReader reader(input.Fd());
    result = PostScriptMerger(injections, reader, output).Merge();
  }
  PrintFailure failure = MergeFailure(result);
  if (failure.Failed()) return failure;
  if (!pending.Keep()) return PrintFailure::NoJob("cannot write " + arguments.mOutput);
  if (!refusedCopy.empty())
    return PrintFailure::NoJob("the job's copy needs an empty regular file of this user: " + refusedCopy);
  return PrintFailure::None();
}
