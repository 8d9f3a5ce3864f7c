#pragma once
// The platform's CoreFoundation subset that the system calls.

#include "cf/CFBase.h"
#include "cf/CFData.h"
#include "cf/CFString.h"
#include "cf/CFURL.h"
