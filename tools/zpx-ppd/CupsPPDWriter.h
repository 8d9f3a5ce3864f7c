#pragma once
// The PPD a print server's queue is made with, from a maker's PPD and its
// option model. The maker's entries stay as they are for the extension, which
// the server's filter runs on the queue's PPD, save what the model rewrites
// for the dialogs that show a queue's options: each option a user sets (a
// pop-up or Boolean in place of the maker's block, a range or job note after
// the extension's line that declares it) in its group (the installable ones
// in InstallableOptions), and the constraints, after the maker's entries. The
// maker's filter lines give way to one naming zpx-filter.

#include <istream>
#include <map>
#include <ostream>
#include <string>

#include "CupsConstraints.h"
#include "CupsOptionBlock.h"
#include "MakerEntryReader.h"
#include "TranslationText.h"

class PPDXControl;
class PPDXElement;
class ZPXPPD;

namespace zpxtool {

class CupsPPDWriter {
 public:
  static constexpr const char* kFilterLine =
      "*cupsFilter2: \"application/vnd.cups-postscript application/vnd.zpx-postscript 0 "
      "zpx-filter\"";

  // `source` names the maker's PPD in the line that says what made the file.
  CupsPPDWriter(ZPXPPD& document, std::ostream& out, const std::string& source);

  // False when the maker's PPD holds an entry longer than MakerEntryReader reads.
  bool Write(std::istream& maker);

 private:
  void CollectOptions();
  void Entry(const MakerEntry& entry, MakerEntryReader& reader);
  // One of the maker's entries: kept, dropped or rewritten.
  void TakeEntry(const MakerEntry& entry, MakerEntryReader& reader);
  void Header(const MakerEntry& entry);
  void Block(PPDXControl& control, MakerEntryReader& reader);
  void Pending();
  // Opens the option's group, unless the maker's entries have one open; true
  // when it did. The extension reads a pop-up's block right after the lines
  // that announce it, so the group opens before them.
  bool OpenGroup(PPDXControl& control);
  // The roll-down the option's block goes in; null for InstallableOptions.
  static PPDXElement* Group(PPDXControl& control);
  void CloseGroup(PPDXControl& control);
  PPDXControl* UserOption(const std::string& key) const;
  static bool IsChoiceOption(const PPDXControl* control);
  bool IsPendingEntry(const MakerEntry& entry) const;

  ZPXPPD& mDocument;
  std::ostream& mOut;
  std::string mSource;
  TranslationText mText;
  CupsOptionBlock mBlocks;
  std::map<std::string, PPDXControl*> mUserOptions;
  CupsConstraints::ChoiceOptions mChoiceOptions;
  // The range or job note whose block follows the extension's lines for it.
  PPDXControl* mPending = nullptr;
  bool mPendingTakesNext = false;
  // The key of the last option the maker's entries announced (*%ZPXFlags).
  std::string mAnnounced;
  bool mNextSwallowed = false;
  bool mInMakerGroup = false;
  // The pop-up or Boolean whose group opened with its announcement.
  PPDXControl* mGrouped = nullptr;
};

}  // namespace zpxtool
