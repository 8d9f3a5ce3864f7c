#pragma once
// One job for a queue of the print server: created with its options, its
// single document streamed from a descriptor in chunks of constant size, each
// request and each chunk an exchange of the server's.

#include <string>
#include <utility>
#include <vector>

#include "host/PrintServer.h"

class QueueJob {
 public:
  static constexpr size_t kChunkSize = 64 << 10;
  using Option = std::pair<std::string, std::string>;

  // The job's number on the server, or 0 with `error` saying why (a job that
  // was created is cancelled then, unless the server stopped answering).
  static int Submit(PrintServer& server, const std::string& queue, const std::string& title,
                    const std::vector<Option>& options, const char* format, int fd,
                    std::string& error);

 private:
  static bool SendDocument(PrintServer& server, const std::string& queue, int job,
                           const std::string& title, const char* format, int fd,
                           std::string& error);
};
