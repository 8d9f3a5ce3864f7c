#pragma once
// File URLs turned into the file manager's references. Kept apart from CFURL.h
// so that the URL family does not depend on the file family.

#include "carbon/Files.h"
#include "cf/CFURL.h"

// True when the URL names an existing file or directory; *fsRef then names it.
Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef);
