#pragma once
// The fixed keyword tables of the dialog's data object: the expert and special
// colour controls, the controls the basic panel never shows, and the dynamic
// colour-profile options with their bidirectional partners.

#include <cstddef>

struct DynamicProfilePair {
  const char* plain;
  const char* bidirectional;
};

constexpr size_t kDynamicProfilePairCount = 3;
extern const DynamicProfilePair kDynamicProfilePairs[kDynamicProfilePairCount];

// Longer than the four letters and ending in "Bidi": the value that the
// job-properties application reads back from the printer.
bool isBidiKeyword(const char* keyword);
// Exactly a keyword of the expert colour table.
bool isExpertTintoraControl(const char* keyword);
// Holds a keyword of the special colour table anywhere in it, so that the
// bidirectional partners of the dynamic options count too.
bool isSpecialTintoraControl(const char* keyword);
// Exactly a keyword of the basic panel's exclusion table.
bool isBasicPanelExclusion(const char* keyword);
