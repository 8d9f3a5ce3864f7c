#include "QueuePrinter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "host/FinishedJobMark.h"
#include "host/PrintQueues.h"
#include "host/QueueJob.h"

PrintFailure QueuePrinter::Open(const std::string& queue, const std::string& folder,
                                PrinterDescription& ppd) {
  mQueue = queue;
  mServer = std::make_unique<PrintServer>();
  if (!mServer->IsReached()) return PrintFailure::PrintSystem(mServer->Failure());
  // The served PPD gets a folder of its own: the run's folder keeps its
  // names for the run's files.
  const std::string served = folder + "/served";
  if (mkdir(served.c_str(), 0700) != 0)
    return PrintFailure::NoJob("cannot make a folder in " + folder);
  std::string path;
  const std::string refusal = PrintQueues::FetchPPD(*mServer, queue, served, path);
  if (!refusal.empty()) return PrintFailure::PrintSystem(refusal);
  if (!ppd.Adopt(path)) return PrintFailure::NoJob("cannot read the PPD of " + queue);
  return PrintFailure::None();
}

PrintFailure QueuePrinter::Submit(const std::string& jobPath, const std::string& title) {
  if (!mServer) return PrintFailure::NoJob("no queue was opened for the job");
  int fd = open(jobPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd == -1) return PrintFailure::NoJob("cannot read the job " + jobPath);
  std::string error;
  int job = QueueJob::Submit(*mServer, mQueue, title, {{FinishedJobMark::kOption, "true"}},
                             kJobFormat, fd, error);
  close(fd);
  if (job == 0)
    return PrintFailure::PrintSystem("cannot submit the job to " + mQueue + ": " + error);
  std::printf("zpx-print: submitted %s-%d\n", mQueue.c_str(), job);
  return PrintFailure::None();
}
