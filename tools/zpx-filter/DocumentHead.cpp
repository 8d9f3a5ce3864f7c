#include "DocumentHead.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "ipc/WriteAll.h"

namespace {

constexpr size_t kChunkSize = 4096;
// What the rest of the document is passed on in.
constexpr size_t kChunkBytes = 64 << 10;
constexpr char kLineEnds[] = "\r\n";

bool EndsHeader(const std::string& bytes, size_t start) {
  return bytes.compare(start, 2, "%%") != 0 || bytes.compare(start, 13, "%%EndComments") == 0;
}

}  // namespace

DocumentHead::DocumentHead(int fd) : mFd(fd) {
  char chunk[kChunkSize];
  while (mHeaderEnd == std::string::npos && mBytes.size() < kMaximumBytes) {
    ssize_t length = read(fd, chunk, std::min(sizeof chunk, kMaximumBytes - mBytes.size()));
    if (length < 0 && errno == EINTR) continue;
    mFailed = length < 0;
    if (length <= 0) return;
    mBytes.append(chunk, size_t(length));
    FindHeaderEnd();
  }
}

void DocumentHead::FindHeaderEnd() {
  size_t end;
  while (mHeaderEnd == std::string::npos &&
         (end = mBytes.find_first_of(kLineEnds, mNextLine)) != std::string::npos) {
    // CR LF is one line end: a CR that came last waits for the next byte.
    if (mBytes[end] == '\r' && end + 1 == mBytes.size()) return;
    // The first line is the document's "%!" line; the header follows it.
    if (mNextLine > 0 && EndsHeader(mBytes, mNextLine)) mHeaderEnd = mNextLine;
    mNextLine = end + (mBytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

bool DocumentHead::HasComment(const std::string& comment) const {
  if (mHeaderEnd == std::string::npos) return false;
  for (const char lineEnd : {'\r', '\n'}) {
    const size_t found = mBytes.find(lineEnd + comment);
    if (found != std::string::npos && found + 1 < mHeaderEnd) return true;
  }
  return false;
}

bool DocumentHead::PassOn(int to) const {
  if (!WriteAll(to, mBytes.data(), mBytes.size())) return false;
  std::vector<char> chunk(kChunkBytes);
  ssize_t length;
  while ((length = read(mFd, chunk.data(), chunk.size())) != 0) {
    if (length < 0 && errno == EINTR) continue;
    if (length < 0 || !WriteAll(to, chunk.data(), size_t(length))) return false;
  }
  return true;
}
