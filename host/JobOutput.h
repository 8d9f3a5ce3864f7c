#pragma once
// Where a finished job goes: one descriptor, and files that receive a copy.
// Writes are gathered in a buffer of constant size, whose pages the system
// gives only as a job fills them.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class JobOutput {
 public:
  static constexpr size_t kBufferSize = 1 << 20;

  // `fd` stays open; the caller owns it.
  explicit JobOutput(int fd);
  ~JobOutput();
  JobOutput(const JobOutput&) = delete;
  JobOutput& operator=(const JobOutput&) = delete;

  // Sends a copy of what follows to the file, which must exist as an empty
  // regular file of this user (a link is not followed); false otherwise.
  bool AddCopy(const std::string& path);
  void Write(const char* bytes, size_t length);
  void Write(const std::string& text) { Write(text.data(), text.size()); }
  // False when any write failed.
  bool Flush();
  bool Failed() const { return mFailed; }

 private:
  void WriteThrough(const char* bytes, size_t length);

  std::vector<int> mFds;
  std::vector<int> mCopies;  // ours to close
  std::unique_ptr<char[]> mBuffer;  // kBufferSize bytes, written before read
  size_t mUsed = 0;
  bool mFailed = false;
};
