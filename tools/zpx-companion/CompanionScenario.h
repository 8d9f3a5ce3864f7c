#pragma once
// What the stand-in companion does when the pane opens its main view, read
// from the scenario file (doc/companion.md). One directive a line:
//
//   set KEY=VALUE          change the entry KEY, or add it when missing
//   add KEY=VALUE          add an entry even when KEY is there already
//   addmany N KEY=VALUE    the same entry added N times
//   watermark DEFINITION   the watermarks become the listed ones, in order
//   status N               the status to leave (0 when not given)
//   delay SECONDS          wait before answering
//   raw OFFSET HEX         write the bytes at the area's offset, last
//   exit                   quit without answering (the status stays -1)
//
// Blank lines and lines starting with "#" are skipped; an unknown directive
// makes the scenario unreadable.

#include <string>
#include <utility>
#include <vector>

#include "output/SharedMemoryList.h"

class CompanionScenario {
 public:
  // False, with a message on standard error, when the file cannot be read.
  bool Load(const std::string& path);
  // Plays the scenario on the area (`bytes` are its bytes, for raw writes);
  // false for "exit".
  bool Play(SharedMemoryList& area, char* bytes) const;

 private:
  bool ReadLine(const std::string& line);
  void ApplyEntries(SharedMemoryList& area) const;
  void ApplyWatermarks(SharedMemoryList& area) const;
  void ApplyRawBytes(char* bytes) const;

  struct Entry {
    std::wstring mKey;
    std::wstring mValue;
    bool mReplace;
  };
  struct RawBytes {
    size_t mOffset;
    std::string mBytes;
  };
  std::vector<Entry> mEntries;
  std::vector<std::string> mWatermarks;
  std::vector<RawBytes> mRawBytes;
  int mStatus = SharedMemoryList::kStatusDone;
  double mDelaySeconds = 0;
  bool mExitUnanswered = false;
};
