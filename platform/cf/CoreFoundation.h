#pragma once
// The platform's CoreFoundation subset that the system calls.

#include "cf/CFArray.h"
#include "cf/CFBase.h"
#include "cf/CFBundle.h"
#include "cf/CFData.h"
#include "cf/CFDictionary.h"
#include "cf/CFNumber.h"
#include "cf/CFPlugIn.h"
#include "cf/CFPropertyList.h"
#include "cf/CFString.h"
#include "cf/CFURL.h"
#include "cf/CFUUID.h"
