#pragma once
// Where in the job a PostScript block goes: the sites the print system knows.
// Stored in the job ticket's entries as a 32-bit integer number.

#include <cstdint>

enum PostScriptInjectionSite : int16_t {
  // A main keyword whose feature code the print system must leave out.
  kPSInjectionSiteSuppressedFeature = -9,
  // Job-note comment lines.
  kPSInjectionSiteJobNoteComments = 30,
  // Feature code of options, job notes, the watermark resource, page properties.
  kPSInjectionSiteFeatureCode = 81,
  // Header comments for N-up and orientation.
  kPSInjectionSiteHeaderComments = 504,
  // The file path of a file destination.
  kPSInjectionSiteFileDestination = 900,
};
