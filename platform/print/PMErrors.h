#pragma once
// Result codes of the print system's calls, with the platform's names and values.

#include "carbon/MacErrors.h"
#include "carbon/MacTypes.h"

enum : OSStatus {
  kPMNoError = noErr,
  kPMGeneralError = -30870,
  kPMInvalidParameter = paramErr,
  kPMNoSuchEntry = -30874,
  kPMInvalidPrintSettings = -30875,
  kPMInvalidPrintSession = -30879,
  kPMInvalidPrinter = -30880,
  kPMInvalidIndex = -30882,
  kPMXMLParseError = -30884,
  kPMInvalidKey = -30888,
  kPMInvalidValue = -30889,
  kPMInvalidTicket = -30891,
  kPMInvalidItem = -30892,
  kPMInvalidType = -30893,
  kPMItemIsLocked = -9586,
  kPMKeyNotFound = -9589,
};
