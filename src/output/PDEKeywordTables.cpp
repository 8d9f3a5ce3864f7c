#include "output/PDEKeywordTables.h"

#include <cstring>

namespace {

// The tables keep the fixed row widths of the controller's own tables, so a
// keyword longer than a row can never match one.
constexpr size_t kNarrowRow = 64;
constexpr size_t kWideRow = 65;

const char kExpertColourControls[][kNarrowRow] = {
    "*ZPRGBOverride", "*ZPColorRendDict", "*ZPRGBSep",       "*ZPSimulation",
    "*ZPSimSpeed",    "*ZPOutProfile",    "*ZPSpotColors",   "*ZPPureBlack",
    "*ZPBlkOvpCtrl",  "*ZPKOnlyGrayCMYK", "*ZPKOnlyGrayRGB", "*ZPPaperSim",
};

const char kBasicPanelExclusions[][kNarrowRow] = {
    "*ZPMMInUse",       "*ZPMMInsType",     "*ZPMMCover",       "*ZPImageUnit",
    "*ZPImageFlag",     "*ZPImageAlign",    "*ZPRIPBooklet",    "*ZPBookCoverEnabled",
    "*ZPBookCoverTray", "*ZPBookFrCover",   "*ZPBookBkCover",   "*ZPBookCoverInType",
    "*ZPBookletCreep",  "*ZPBookletReduce", "*ZPBookAutoSpine", "*ZPBookNumSheetPerSubset",
    "*ZPBookCentering", "*ZPNUpOption",
};

const char kSpecialColourControls[][kWideRow] = {
    "*ZPOutProfile",
    "*ZPSimulation",
    "*ZPRGBOverride",
};

constexpr char kBidiSuffix[] = "Bidi";

template <size_t kRows, size_t kWidth>
bool EqualsRow(const char (&table)[kRows][kWidth], const char* keyword) {
  if (keyword == nullptr) return false;
  for (const auto& row : table)
    if (std::strcmp(row, keyword) == 0) return true;
  return false;
}

}  // namespace

const DynamicProfilePair kDynamicProfilePairs[kDynamicProfilePairCount] = {
    {"*ZPOutProfile", "*ZPOutProfileBidi"},
    {"*ZPSimulation", "*ZPSimulationBidi"},
    {"*ZPRGBOverride", "*ZPRGBOverrideBidi"},
};

bool isBidiKeyword(const char* keyword) {
  if (keyword == nullptr) return false;
  const size_t length = std::strlen(keyword);
  const size_t suffix = sizeof kBidiSuffix - 1;
  return length > suffix && std::strcmp(keyword + length - suffix, kBidiSuffix) == 0;
}

bool isExpertTintoraControl(const char* keyword) {
  return EqualsRow(kExpertColourControls, keyword);
}

bool isSpecialTintoraControl(const char* keyword) {
  if (keyword == nullptr) return false;
  for (const auto& row : kSpecialColourControls)
    if (std::strstr(keyword, row) != nullptr) return true;
  return false;
}

bool isBasicPanelExclusion(const char* keyword) {
  return EqualsRow(kBasicPanelExclusions, keyword);
}
