#pragma once
// A document whose head the filter has read, given to zpx-print on its
// standard input as it comes: a process of its own writes the bytes read,
// then the rest of the document, into a pipe, so that no part of the job
// waits on disk. It ends when the document does, or when the reader goes.

#include <sys/types.h>

#include "DocumentHead.h"

class DocumentFeed {
 public:
  explicit DocumentFeed(const DocumentHead& head);
  ~DocumentFeed();
  DocumentFeed(const DocumentFeed&) = delete;
  DocumentFeed& operator=(const DocumentFeed&) = delete;

  // The pipe's reading end, which the caller takes over (HostRun closes it);
  // -1 when no feed could be started.
  int TakeInput();
  // Waits for the feed to end: true when it passed the whole document.
  bool Fed();

 private:
  int mInput = -1;
  pid_t mFeeder = -1;
};
