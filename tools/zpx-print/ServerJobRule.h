#pragma once
// What a job from the print server may not ask for. The server runs the
// filter for any client as its own user, so a file destination
// ("*ZPDestination" File, the path in a job note) would let any job create and
// write a file wherever it names. The run is refused on its values (the
// job's choices, the PPD's defaults, anything remembered) before the
// extension runs, as the extension makes the file at Sync.

#include "PrintFailure.h"
#include "cf/CoreFoundation.h"

class ServerJobRule {
 public:
  // A bad-input failure naming the option when `values` select the file destination.
  static PrintFailure Check(CFDictionaryRef values);
};
