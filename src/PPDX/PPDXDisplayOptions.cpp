#include "PPDX/PPDXDisplayOptions.h"

_DISPLAY_OPTIONS_ PPDXDisplayOptions::sDisplayOptions = DISPLAY_ATTACHED_VISIBLE;
