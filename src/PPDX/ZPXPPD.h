#pragma once
// The parsed PPD document of a ZPX printer: the option model (controls, groups,
// roll-downs, scroll panes, property pages, shortcuts), its constraint set and
// its parse errors, read from the maker's extension keywords in one pass over
// the file.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "PPDX/PPDX.h"
#include "PPDX/PPDXDisplayOptions.h"
#include "foundation/PPDStream.h"
#include "foundation/PointerList.h"

struct FSSpec;
class PPDFile;
class PPDXPopupControl;
class Settings;
namespace zpxppd {
class BooleanBlock;
class OptionBlockReader;
}  // namespace zpxppd
class FlagList;
struct GroupName;
class PPDXControl;
class PPDXControls;
class PPDXGroup;
class PPDXGroups;
class PPDXProperties;
class PPDXRollDown;
class PPDXShortcuts;
class UIConstraints;

// Bit value 1 makes controls that belong to no group and groups declared but
// never used; 2 makes the pages, group names and parents declared without the
// word True.
enum _PARSE_OPTIONS_ : SInt32 {
  PARSE_NONE = 0,
  PARSE_ORPHANS = 1,
  PARSE_HIDDEN = 2,
  PARSE_ALL = 3,
};

// How many job note flag words the parser accepts: level 0 the first 9 of the
// table, 1 the first 12, 2 the first 15, any other level all of them.
enum _EXTENSIONS_SUPPORT_ : SInt32 {
  EXTENSIONS_ALL = -1,
  EXTENSIONS_LEVEL0 = 0,
  EXTENSIONS_LEVEL1 = 1,
  EXTENSIONS_LEVEL2 = 2,
};

class ZPXPPD : public PPDX, public PPDXDisplayOptions {
 public:
  // An empty document: the collections exist, no file is parsed.
  explicit ZPXPPD(_PARSE_OPTIONS_ options);
  // The document of the PPD at `location`. Given printer names (which the
  // document releases), a PPD that serves none of them is not parsed: the
  // document stays empty and IsValidPrinterName() is false.
  ZPXPPD(const FSSpec& location, _PARSE_OPTIONS_ options, const __CFArray* printerNames);
  ZPXPPD(const __CFURL* location, _PARSE_OPTIONS_ options, const __CFArray* printerNames);
  ~ZPXPPD() override;

  void Parse() override;
  PPDXErrorObj* ParsePSKeywords(PPDStream& line, const char* keyword) override;

  PPDXControls* GetControls() const { return mControls.get(); }
  PPDXGroups* GetGroups() const { return mGroups.get(); }
  PPDXProperties* GetProperties() const { return mProperties.get(); }
  PPDXShortcuts* GetShortcuts() const { return mShortcuts.get(); }
  UIConstraints* GetUIConstraints() const { return mConstraints.get(); }
  bool ParseOrphans() const { return (mParseOptions & PARSE_ORPHANS) != 0; }
  bool ParseHidden() const { return (mParseOptions & PARSE_HIDDEN) != 0; }
  const char* MakerFileVersion() const;
  const char* MakerVersion() const;

  static _EXTENSIONS_SUPPORT_ GetExtensions() { return sExtensions; }
  static void SetExtensions(_EXTENSIONS_SUPPORT_ level) { sExtensions = level; }

  // The next flag word of a line (delimiters "|:\""), skipping words that are
  // empty once stripped; false when the line has no more.
  static bool NextFlagWord(PPDStream& line, char* word);

  // ---- The document as the dialog and the job see it.

  // Rebuilds a document from a blob that Save wrote. Without the layout
  // version entry the document stays empty and invalid. The file is the one
  // the blob locates, or `url` when that one is gone. Given printer names
  // (which the document releases), a PPD that none of them serves stops the
  // rebuild after the header (IsValidPrinterName() false).
  ZPXPPD(Settings& settings, const __CFURL* url, const __CFArray* printerNames);

  // The control with that keyword, of any kind and whatever the display
  // options; null for a key that is not ASCII or longer than 40 characters.
  PPDXControl* GetPPDXControlForKey(const __CFString* key) const;
  // A new string the caller releases; null without a control.
  CFStringRef CopyValueForKey(const __CFString* key) const;
  void SetValueForKey(const __CFString* key, const __CFString* value);
  // Keyword to value of each control the display options let through; the
  // caller releases the dictionary.
  CFMutableDictionaryRef CopyAllValues();
  // Takes the string values the dictionary holds for the controls the display
  // options let through; installable options keep theirs.
  void SetAllValues(CFDictionaryRef values);
  // Whether choosing the option of that key conflicts with the current
  // choices; a print size that follows the page size is tested as that size.
  bool IsKVConstrained(const char* key, const char* option);
  bool IsKVConstrained(long key, long option);
  // The other side of the first constraint that forbids choosing the option
  // of that key under the current choices (UIConstraints::FindConflict), with
  // the print size as IsKVConstrained tests it; two nulls when none does.
  std::pair<const char*, const char*> FindConflict(const char* key, const char* option);
  bool GetFileSpec(FSSpec& location) const;
  // The same PPD: the same file location and the same *PCFileName.
  bool operator==(const ZPXPPD& other) const;

  // A popup made at run time, in the named group when one exists (adopts the
  // items and the default); null without a group name, a translation or a
  // text converter, and the items stay the caller's then.
  virtual PPDXPopupControl* PPDCreatePopupMenu(const char* groupName, const char* key,
                                               const char* translation, PointerList& items,
                                               CString* defaultKeyword);
  // The popup's Rebuild with the new choices; false when the key names no popup.
  virtual bool PPDReconcilePopupMenu(const char* key, const char* translation, PointerList& items,
                                     CString* defaultKeyword);

  // Writes the whole document; false at the first entry that cannot be added
  // (the blob is then partial).
  bool Save(Settings& settings) override;
  // Takes back only the control values of a blob of the same PPD.
  bool Restore(Settings& settings);

  // Whether one of the names (platform strings) stands within the first 32
  // bytes of the *PCFileName value found in the file's first 4096 bytes.
  static bool ValidateAgainstPCFilename(const __CFArray* names, PPDFile* file);
  // True without names; otherwise the check on `file`, or on the file of
  // the URL when no file is given.
  static bool ValidateFileName(const __CFURL* url, const __CFArray* names, PPDFile* file);

 private:
  void Rebuild(Settings& settings, const __CFURL* url, const __CFArray* printerNames);
  static PPDFile* RebuiltFile(Settings& settings, const __CFURL* url);
  void RebuildModel(Settings& settings);
  void IndexControls();
  // Rebuilt elements name their parents; these make the links again.
  void ResolveHierarchy();
  void AttachScrollPane(PPDXGroup* group);
  void AttachRollDown(PPDXGroup* group);
  void AttachControl(PPDXControl* control);
  bool SaveMakerVersions(Settings& settings) const;
  bool SaveModel(Settings& settings);
  // The declared constraint lines follow the shortcuts (kConstraintsKey), so that a
  // rebuilt document answers as the parsed one did.
  bool SaveConstraints(Settings& settings) const;
  void RestoreConstraints(Settings& settings);
  // Tells the constraint set every option and current choice of the rebuilt
  // popups and Boolean controls.
  void RegisterRebuiltOptions();
  // The print size popup while it follows the page size, else null.
  PPDXPopupControl* PrintSizeFollowingPageSize() const;

  typedef PPDXErrorObj* (*LineHandler)(ZPXPPD& document, PPDStream& line, const char* keyword);

  void Build();
  // Builds the document of a file for the printers named, releasing the names.
  void BuildFor(const __CFArray* printerNames);
  void MakeCollections();
  // True without names; otherwise the printer-name check on the document's
  // file, whose result the document keeps.
  bool CheckPrinterNames(const __CFArray* names);
  PPDXErrorObj* TestHeader(PPDStream& file);
  void ParseLines();
  bool NextLine(PPDStream::Line& line, char* scratch);
  PPDXErrorObj* DispatchLine(PPDStream& line, const char* keyword);
  void FinishParse();
  void DeleteModel();

  // Control blocks announced by *%ZPXFlags.
  PPDXErrorObj* ParseControl(PPDStream& line);
  PPDXErrorObj* ParseGroup(PPDStream& line, const char* key, FlagList& flags);
  PPDXErrorObj* ParseOpenUI(PPDStream& line, const char* key, FlagList& flags, PPDXGroup* group);
  PPDXErrorObj* ParseOpenUIZPX(const char* key);
  PPDXErrorObj* ParsePopupControl(const char* key, CFStringRef translation, FlagList& flags,
                                  PPDXGroup* group, bool pickMany);
  PPDXErrorObj* ParseBooleanControl(const char* key, CFStringRef translation, FlagList& flags,
                                    PPDXGroup* group);
  // Reads the lines of an option block up to its close; false when the file
  // ended first.
  bool ReadOptionBlock(const char* key, zpxppd::OptionBlockReader& block);
  bool ExamineBlockLine(PPDStream& line, const char* key, zpxppd::OptionBlockReader& block);
  void ReadOptionLine(const char* field, PPDStream& line, zpxppd::OptionBlockReader& block);
  PPDXErrorObj* MakeBooleanControl(const char* key, CFStringRef translation, FlagList& flags,
                                   PPDXGroup* group, zpxppd::BooleanBlock& block);
  void SetupControl(PPDXGroup* group, PPDXControl* control, bool reportOrphan);
  // The roll-down's list nodes live in the document's storage, as the
  // document's own do.
  void AddToRollDown(PPDXRollDown& rollDown, PPDXControl* control);
  PPDXGroup* FindAndCreateParent(const char* name);
  void CollectOrphanGroups();
  PPDXGroup* CreateDeclaredGroup(const GroupName& record);
  const GroupName* FindGroupName(const char* name) const;
  // Adopts a declared group name; the first record of a name is the one found.
  void AddGroupName(GroupName* record);
  void DeleteGroupNames();
  // The first control made with the keyword, of any kind and whatever the
  // display options.
  PPDXControl* FindAnyControl(const char* keyword) const;
  void AddControl(PPDXControl* control);
  PPDXErrorObj* ParseInstallableGroup(PPDStream& line, bool opening);
  static PPDXErrorObj* ReadRestOfLine(PPDStream& line, std::unique_ptr<CString>& field);

  // The maker's extension keywords.
  PPDXErrorObj* ParsePropertyPage(PPDStream& line);
  PPDXErrorObj* ParseGroupName(PPDStream& line);
  PPDXErrorObj* ParseParent(PPDStream& line);
  PPDXErrorObj* ParseJobNote(PPDStream& line);
  // The note that *%ZPXGroup announced for `announcedKey` (null: a
  // standalone note).
  PPDXErrorObj* ParseJobNote(PPDStream& line, const char* announcedKey, FlagList& flags,
                             PPDXGroup* group);
  // An integer range, or with `real` a range of real numbers.
  PPDXErrorObj* ParseRange(PPDStream& line, const char* key, FlagList& flags, PPDXGroup* group,
                           bool real);
  PPDXErrorObj* ParseSpecialOption(PPDStream& line);
  PPDXErrorObj* ParseCustomPageSize(PPDStream& line, const char* keyword);
  PPDXErrorObj* ParseShortcut(PPDStream& line);
  PPDXErrorObj* ParseUIConstraint(PPDStream& line, bool requires);
  void ResolveShortcuts();

  _PARSE_OPTIONS_ mParseOptions;
  std::unique_ptr<PPDXProperties> mProperties;
  std::unique_ptr<PPDXGroups> mGroups;
  std::unique_ptr<PPDXControls> mControls;
  std::unique_ptr<PPDXShortcuts> mShortcuts;
  bool mInInstallableOptions = false;
  PPDXRollDown* mInstallableRollDown = nullptr;
  std::unique_ptr<CString> mMakerFileVersion;
  std::unique_ptr<CString> mMakerVersion;
  PointerList mShortcutKeywords;
  PointerList mGroupNames;
  // The first record of each declared name, viewing the record's own name: the
  // parser looks a name up for every group it makes and every parent line.
  std::unordered_map<std::string_view, const GroupName*> mGroupNamesByName;
  std::unique_ptr<UIConstraints> mConstraints;
  // Every control by keyword, so that finding one costs the same in a
  // document of any size.
  std::unordered_map<std::string, PPDXControl*> mControlsByKeyword;

  // A line that a standalone job note read but left to the line loop.
  char mPendingLine[PPDStream::kMaxLine + 1];
  bool mHasPendingLine = false;

  static _EXTENSIONS_SUPPORT_ sExtensions;
};
