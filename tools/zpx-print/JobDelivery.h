#pragma once
// Merges the extension's blocks into the document and writes the finished job
// to its output (see OutputFile), with copies to the paths of its file
// destinations.

#include <string>

#include "PrintArguments.h"
#include "PrintFailure.h"
#include "host/JobInjections.h"

class JobDelivery {
 public:
  // A document that is no PostScript is kExitBadInput. A file destination
  // that cannot take the copy does not undo the job: `warning` says why.
  static PrintFailure Deliver(const PrintArguments& arguments, const JobInjections& injections,
                              std::string& warning);
};
