#pragma once
// Where a run writes the finished job (--output PATH, or standard output).
//
// - A device, a FIFO, a socket, or a descriptor of this process named through
//   /dev/stdout, /dev/fd/N or /proc/PID/fd/N is written into directly: nothing
//   is ever put in its place.
// - A regular file, a link to one, a dangling link or a new name gets the job
//   in a file made beside it and renamed over it once whole, so that a reader
//   never sees half a job and a failed run leaves what was there. A replaced
//   file keeps its mode (else 0666 less the umask); a link is replaced, never
//   followed.
// - A folder, or a link to one, is refused.

#include <sys/types.h>

#include <string>

class OutputFile {
 public:
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // -1 when the output cannot be written; Problem() then says why.
  int Fd() const { return mFd; }
  const std::string& Problem() const { return mProblem; }
  // Puts the job in place. False, with Problem() set, when it cannot.
  bool Keep();

 private:
  void Open(const std::string& path);
  void WriteBeside(mode_t mode);
  void WriteInto(bool isSocket);
  bool OpenOwnDescriptor();

  std::string mPath;
  std::string mPending;  // the file renamed over mPath; "" when written directly
  std::string mProblem;
  mode_t mMode = 0;
  int mFd = -1;
  bool mOwnsFd = false;
};
