#pragma once
// Result codes of the toolkit calls, besides the general ones.

#include "carbon/MacErrors.h"

enum {
  errAECoercionFail = -1700,
  gestaltUndefSelectorErr = -5551,
  controlPropertyNotFoundErr = -5603,
  eventAlreadyPostedErr = -9860,
  eventClassInvalidErr = -9862,
  eventInternalErr = -9868,
  eventParameterNotFoundErr = -9870,
  eventNotHandledErr = -9874,
  eventLoopTimedOutErr = -9875,
  errUnknownControl = -30584,
  errControlIsNotEmbedder = -30590,
  errDataNotSupported = -30591,
  errRootAlreadyExists = -30595,
  errInvalidWindowRef = -5600,
  errNoRootControl = -30600,
  errUnknownWindow = -5601,
  errDataBrowserItemNotFound = -4971,
  errDataBrowserPropertyNotFound = -4972,
  kIBCarbonRuntimeCantFindNibFile = -10960,
  kIBCarbonRuntimeObjectNotOfRequestedType = -10961,
  kIBCarbonRuntimeCantFindObject = -10962,
};
