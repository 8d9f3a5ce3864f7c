#pragma once
// Merges the extension's blocks into the document and writes the finished job
// to its output (a file is written beside itself and renamed into place, so a
// failed run leaves no half job), with copies to the paths of its file
// destinations.

#include "PrintArguments.h"
#include "PrintFailure.h"
#include "print/JobInjections.h"

class JobDelivery {
 public:
  // A document that is no PostScript is kExitBadInput; a destination that
  // cannot take the copy is kExitNoJob after the job was written.
  static PrintFailure Deliver(const PrintArguments& arguments, const JobInjections& injections);
};
