#pragma once
// What zpx-print and zpx-filter do before anything else.
//
// A program started with standard input, output or error closed would hand
// those numbers to the first files it opens (the signal pipe, the job), then
// read its own pipe as the document or send the job into it: /dev/null takes
// each closed one. A reader that goes away (a closed pipe, FIFO or socket)
// is a write error the program reports and cleans up after, not SIGPIPE
// ending it with its scratch files in place.

class ProcessStart {
 public:
  // False when a closed standard descriptor could not be opened on /dev/null.
  static bool Prepare();
};
