#include "host/QueueJob.h"

#include <unistd.h>

#include <vector>

int QueueJob::Submit(PrintServer& server, const std::string& queue, const std::string& title,
                     const std::vector<Option>& options, const char* format, int fd,
                     std::string& error) {
  if (!server.IsReached()) {
    error = server.Failure();
    return 0;
  }
  cups_option_t* cupsOptions = nullptr;
  int count = 0;
  for (const Option& option : options)
    count = cupsAddOption(option.first.c_str(), option.second.c_str(), count, &cupsOptions);
  int job = cupsCreateJob(server.Exchange(), queue.c_str(), title.c_str(), count, cupsOptions);
  cupsFreeOptions(count, cupsOptions);
  if (job == 0) {
    error = server.Failure();
    return 0;
  }
  if (SendDocument(server, queue, job, title, format, fd, error)) return job;
  if (server.Answered()) cupsCancelJob2(server.Exchange(), queue.c_str(), job, 0);
  return 0;
}

bool QueueJob::SendDocument(PrintServer& server, const std::string& queue, int job,
                            const std::string& title, const char* format, int fd,
                            std::string& error) {
  if (cupsStartDocument(server.Exchange(), queue.c_str(), job, title.c_str(), format, 1) !=
      HTTP_STATUS_CONTINUE) {
    error = server.Failure();
    return false;
  }
  std::vector<char> chunk(kChunkSize);
  bool sent = true;
  ssize_t length;
  while (sent && (length = read(fd, chunk.data(), chunk.size())) != 0) {
    if (length < 0) {
      error = "cannot read the job";
      sent = false;
    } else if (cupsWriteRequestData(server.Exchange(), chunk.data(), size_t(length)) !=
               HTTP_STATUS_CONTINUE) {
      error = server.Failure();
      sent = false;
    }
  }
  // A server that stopped answering is not asked again, its time would run out
  // again; otherwise the request is closed whatever happened, so that the
  // connection stays usable.
  if (!server.Answered()) return false;
  bool finished = server.Succeeded(cupsFinishDocument(server.Exchange(), queue.c_str()));
  if (sent && !finished) error = server.Failure();
  return sent && finished;
}
