#pragma once
// zpx-print --list: one line per queue of the print server, its name, make and
// model, device URI and whether the dialog extension serves its PPD ("served"
// when the bundle's printer list names the PPD's *PCFileName), tab-separated.

#include "PrintFailure.h"

class QueueList {
 public:
  // A server that does not answer is kExitPrintSystem.
  static PrintFailure Show();
};
