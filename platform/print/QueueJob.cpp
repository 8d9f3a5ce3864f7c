#include "print/QueueJob.h"

#include <unistd.h>

#include <vector>

namespace {

bool Succeeded(ipp_status_t status) { return status <= IPP_STATUS_OK_CONFLICTING; }

}  // namespace

int QueueJob::Submit(const PrintServer& server, const std::string& queue, const std::string& title,
                     const std::vector<Option>& options, const char* format, int fd,
                     std::string& error) {
  http_t* connection = server.Connection();
  error = PrintServer::LastError();
  if (connection == nullptr) return 0;
  cups_option_t* cupsOptions = nullptr;
  int count = 0;
  for (const Option& option : options)
    count = cupsAddOption(option.first.c_str(), option.second.c_str(), count, &cupsOptions);
  int job = cupsCreateJob(connection, queue.c_str(), title.c_str(), count, cupsOptions);
  cupsFreeOptions(count, cupsOptions);
  if (job == 0) {
    error = PrintServer::LastError();
    return 0;
  }
  if (SendDocument(connection, queue, job, title, format, fd, error)) return job;
  cupsCancelJob2(connection, queue.c_str(), job, 0);
  return 0;
}

bool QueueJob::SendDocument(http_t* connection, const std::string& queue, int job,
                            const std::string& title, const char* format, int fd,
                            std::string& error) {
  if (cupsStartDocument(connection, queue.c_str(), job, title.c_str(), format, 1) != HTTP_STATUS_CONTINUE) {
    error = PrintServer::LastError();
    return false;
  }
  std::vector<char> chunk(kChunkSize);
  bool sent = true;
  ssize_t length;
  while (sent && (length = read(fd, chunk.data(), chunk.size())) != 0) {
    if (length < 0) {
      error = "cannot read the job";
      sent = false;
    } else if (cupsWriteRequestData(connection, chunk.data(), size_t(length)) != HTTP_STATUS_CONTINUE) {
      error = PrintServer::LastError();
      sent = false;
    }
  }
  // The request is closed whatever happened, so that the connection stays usable.
  bool finished = Succeeded(cupsFinishDocument(connection, queue.c_str()));
  if (sent && !finished) error = PrintServer::LastError();
  return sent && finished;
}
