#pragma once
// How zpx-print marks a job it has finished, for the print server's filter to
// pass it on unchanged: only a job with both the option and the header comment.

struct FinishedJobMark {
  // The job option zpx-print submits a finished job with.
  static constexpr const char* kOption = "zpx-finished";
  // The header comment zpx-print writes into every job it finishes.
  static constexpr const char* kComment = "%%ZPXFinished: zpx-print";
};
