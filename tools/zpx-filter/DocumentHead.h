#pragma once
// The head of a job's document: read from its descriptor up to the end of its
// header comments ("%%EndComments", or the first line that is no "%%"
// comment), at most kMaximumBytes, and kept, so that the whole document can
// still be passed on after it. A header that does not end within the bound
// counts as none.

#include <string>

class DocumentHead {
 public:
  static constexpr size_t kMaximumBytes = 64 << 10;

  explicit DocumentHead(int fd);

  bool Failed() const { return mFailed; }
  // Every byte read, the header and maybe more of the document.
  const std::string& Bytes() const { return mBytes; }
  // Where the rest of the document is read from.
  int Fd() const { return mFd; }
  // Writes the bytes read, then the rest of the document, to `to`; false when
  // either fails.
  bool PassOn(int to) const;
  // Whether a line of the header begins with `comment` ("%%Orientation:").
  bool HasComment(const std::string& comment) const;

 private:
  // Looks for the header's end in the lines read whole since the last call.
  void FindHeaderEnd();

  int mFd;
  std::string mBytes;
  size_t mNextLine = 0;                   // where the first line not yet looked at begins
  size_t mHeaderEnd = std::string::npos;  // where the line that ends the header begins
  bool mFailed = false;
};
