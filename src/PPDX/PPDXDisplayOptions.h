#pragma once
// The document-wide display filter that every collection of the option model reads
// when it counts or walks its elements. The document class derives from this holder,
// so its own Options() and sDisplayOptions are these, one value per process.

#include "carbon/MacTypes.h"

// Bit value 1 includes orphans, 2 includes hidden elements; any value outside 0..2
// shows everything.
enum _DISPLAY_OPTIONS_ : SInt32 {
  DISPLAY_ATTACHED_VISIBLE = 0,
  DISPLAY_VISIBLE = 1,
  DISPLAY_ATTACHED = 2,
  DISPLAY_ALL = 3,
};

class PPDXDisplayOptions {
 public:
  static _DISPLAY_OPTIONS_ Options() { return sDisplayOptions; }
  static void Options(_DISPLAY_OPTIONS_ options) { sDisplayOptions = options; }

 protected:
  static _DISPLAY_OPTIONS_ sDisplayOptions;
};
