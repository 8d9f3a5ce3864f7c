// The document in a settings blob, so that the job can be produced later
// without parsing the PPD again, and the check that ties a PPD to the printer
// models this plug-in serves.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "PPDX/AllElementsShown.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/Files.h"
#include "carbon/MacErrors.h"
#include "constraints/UIConstraints.h"
#include "foundation/BoyerMoore.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"
#include "foundation/Settings.h"
#include "foundation/SettingsKeys.h"
#include "foundation/SettingsStrings.h"

namespace {

// All declared constraint lines in one entry, each as its two keys and two
// options (empty for a wildcard), every text NUL-terminated, then '1' for a
// requirement or '0': one look-up however many lines the PPD declares.
constexpr int kLineTexts = 4;

// The printer-name check reads only the head of the file.
constexpr long kHeadSize = 4096;
constexpr char kPCFileNameKeyword[] = "*PCFileName";
// The keyword and its colon.
constexpr long kValueOffset = 12;
// A name must stand within this many bytes of the value.
constexpr long kNameWindow = 32;

bool AddText(Settings& settings, unsigned long key, long index, const char* text) {
  if (text == nullptr || *text == '\0') return true;
  return settings.Add(key, index, text, long(std::strlen(text))) == noErr;
}

// Reads up to kHeadSize bytes into `head` (zeroed first); -1 when the file
// cannot be opened.
long ReadHead(PPDFile& file, char* head) {
  std::memset(head, 0, kHeadSize);
  if (file.openDataFork(fsRdPerm) != noErr) return -1;
  unsigned long count = kHeadSize;
  OSErr error = file.dataForkRead(head, &count);
  file.closeDataFork();
  return error == noErr || error == eofErr ? long(count) : -1;
}

// Where the *PCFileName value starts in the head, or -1.
long FindPCFileNameValue(char* head, long length) {
  BoyerMoore search;
  search.SetSearchData(head, length);
  long found = search.Search(0, kPCFileNameKeyword, short(sizeof kPCFileNameKeyword - 1));
  if (found < 0) return -1;
  long value = found + kValueOffset;
  while (value < kHeadSize && (head[value] == ' ' || head[value] == '\t')) ++value;
  return value;
}

bool NameInWindow(const void* name, char* window, long windowLength) {
  if (!name || CFGetTypeID(name) != CFStringGetTypeID()) return false;
  char text[256];
  if (!CFStringGetCString(static_cast<CFStringRef>(name), text, sizeof text,
                          kCFStringEncodingMacRoman) ||
      text[0] == '\0')
    return false;
  BoyerMoore search;
  search.SetSearchData(window, windowLength);
  return search.Search(0, text, short(std::strlen(text))) >= 0;
}

}  // namespace

bool ZPXPPD::ValidateAgainstPCFilename(const __CFArray* names, PPDFile* file) {
  if (names == nullptr || file == nullptr) return false;
  char head[kHeadSize];
  long length = ReadHead(*file, head);
  long value = length > 0 ? FindPCFileNameValue(head, length) : -1;
  if (value < 0 || value >= kHeadSize) return false;
  long window = kHeadSize - value < kNameWindow ? kHeadSize - value : kNameWindow;
  for (CFIndex i = 0; i < CFArrayGetCount(names); ++i) {
    if (NameInWindow(CFArrayGetValueAtIndex(names, i), head + value, window)) return true;
  }
  return false;
}

bool ZPXPPD::ValidateFileName(const __CFURL* url, const __CFArray* names, PPDFile* file) {
  if (names == nullptr) return true;
  if (file != nullptr) return ValidateAgainstPCFilename(names, file);
  if (url == nullptr) return false;
  PPDFile fromURL(url);
  return ValidateAgainstPCFilename(names, &fromURL);
}

bool ZPXPPD::CheckPrinterNames(const __CFArray* names) {
  if (names == nullptr) return true;
  SetValidPrinterName(ValidateAgainstPCFilename(names, File()));
  return IsValidPrinterName();
}

bool ZPXPPD::Save(Settings& settings) {
  return PPDX::Save(settings) && SaveMakerVersions(settings) && SaveModel(settings);
}

bool ZPXPPD::SaveMakerVersions(Settings& settings) const {
  return AddText(settings, kMakerKey, kMakerFileVersionIndex, MakerFileVersion()) &&
         AddText(settings, kMakerKey, kMakerVersionIndex, MakerVersion());
}

bool ZPXPPD::SaveModel(Settings& settings) {
  AllElementsShown everything;
  return mProperties->Save(settings) == noErr && mGroups->Save(settings) == noErr &&
         mControls->Save(settings) == noErr &&
         (mShortcuts == nullptr || mShortcuts->Save(settings) == noErr) &&
         SaveConstraints(settings);
}

bool ZPXPPD::SaveConstraints(Settings& settings) const {
  std::string packed;
  CStringSoup& texts = *mConstraints->GetConstraintStrings();
  for (const UIConstraints::DeclaredLine& line : mConstraints->DeclaredLines()) {
    for (long id : {line.key1, line.option1, line.key2, line.option2}) {
      const char* text = texts.Find(id);
      packed += text != nullptr ? text : "";
      packed += '\0';
    }
    packed += line.requirement ? '1' : '0';
  }
  return settings.Add(kConstraintsKey, kConstraintsIndex, packed.data(), long(packed.size())) ==
         noErr;
}

void ZPXPPD::RestoreConstraints(Settings& settings) {
  const void* bytes = nullptr;
  long size = 0;
  if (settings.View(kConstraintsKey, kConstraintsIndex, bytes, size) != noErr || size <= 0) return;
  // Read where the store keeps it, which nothing changes meanwhile.
  const std::string_view packed(static_cast<const char*>(bytes), size_t(size));
  // The entry may come from anywhere: a line cut short ends the list.
  for (size_t at = 0; at < packed.size();) {
    std::string_view texts[kLineTexts];
    for (std::string_view& text : texts) {
      const size_t end = packed.find('\0', at);
      if (end == std::string_view::npos) return;
      text = packed.substr(at, end - at);
      at = end + 1;
    }
    if (at >= packed.size()) return;
    const bool requirement = packed[at++] == '1';
    // A line without its keys is not one that Save wrote.
    if (texts[0].empty() || texts[2].empty()) continue;
    const UIConstraints::DeclaredLine line{
        std::int32_t(mConstraints->Intern(texts[0])), std::int32_t(mConstraints->Intern(texts[1])),
        std::int32_t(mConstraints->Intern(texts[2])), std::int32_t(mConstraints->Intern(texts[3])),
        requirement};
    mConstraints->Add(line, texts[1].empty() || texts[3].empty());
  }
}

// A popup's keyword is interned once for all its choices.
void ZPXPPD::RegisterRebuiltOptions() {
  for (PPDXPopupControl* popup = mControls->FirstPopupControl(); popup != nullptr;
       popup = mControls->NextPopupControl()) {
    long key = -1;
    for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem()) {
      if (item->keyword == nullptr) continue;
      if (key < 0) key = mConstraints->Intern(popup->Keyword());
      const long option = mConstraints->Intern(static_cast<const char*>(*item->keyword));
      mConstraints->KVSInsert(key, option);
      if (item->selected) mConstraints->UpdateKVCache(key, option);
    }
  }
  for (PPDXBooleanControl* control = mControls->FirstBooleanControl(); control != nullptr;
       control = mControls->NextBooleanControl()) {
    mConstraints->KVSInsert(control->Keyword(), "True");
    mConstraints->KVSInsert(control->Keyword(), "False");
    mConstraints->UpdateKVCache(control->Keyword(), control->IsTrue() ? "True" : "False");
  }
}

bool ZPXPPD::Restore(Settings& settings) {
  AllElementsShown everything;
  return mControls->Restore(settings) == noErr;
}

ZPXPPD::ZPXPPD(Settings& settings, const __CFURL* url, const __CFArray* printerNames)
    : mParseOptions(PARSE_ALL) {
  Build();
  Rebuild(settings, url, printerNames);
  if (printerNames != nullptr) CFRelease(printerNames);
}

void ZPXPPD::Rebuild(Settings& settings, const __CFURL* url, const __CFArray* printerNames) {
  long versionSize = 0;
  if (settings.Get(kHeaderKey, kLayoutVersionIndex, nullptr, versionSize, false) != noErr ||
      versionSize != sizeof(SInt32))
    return;
  AdoptFile(RebuiltFile(settings, url));
  RestoreHeaderField(settings, kPCFileName);
  if (!CheckPrinterNames(printerNames)) return;
  for (HeaderField field :
       {kFormatVersion, kFileVersion, kLanguageVersion, kLanguageEncoding, kModelName})
    RestoreHeaderField(settings, field);
  UpdateTextConverter();
  mMakerFileVersion.reset(GetSettingsString(settings, kMakerKey, kMakerFileVersionIndex));
  mMakerVersion.reset(GetSettingsString(settings, kMakerKey, kMakerVersionIndex));
  RebuildModel(settings);
  SetValid(true);
}

PPDFile* ZPXPPD::RebuiltFile(Settings& settings, const __CFURL* url) {
  FSSpec location;
  long size = sizeof location;
  if (settings.Get(kHeaderKey, kFileLocationIndex, &location, size, true) == noErr &&
      size == long(sizeof location)) {
    std::unique_ptr<PPDFile> saved(new PPDFile(location));
    if (saved->valid() && saved->exists()) return saved.release();
  }
  return url != nullptr ? new PPDFile(url) : nullptr;
}

void ZPXPPD::RebuildModel(Settings& settings) {
  AllElementsShown everything;
  // The empty collections made for an empty document give way.
  mConstraints.reset(new UIConstraints);
  mProperties.reset(new PPDXProperties(settings));
  mGroups.reset(new PPDXGroups(settings));
  mControls.reset(new PPDXControls(settings, mConstraints.get(), &Storage()));
  IndexControls();
  mShortcuts.reset(new PPDXShortcuts(settings, mControls.get()));
  ResolveHierarchy();
  RegisterRebuiltOptions();
  RestoreConstraints(settings);
  mConstraints->Resolve();
}

void ZPXPPD::IndexControls() {
  CNTL_TYPE type;
  for (PPDXControl* control = mControls->First(type); control != nullptr;
       control = mControls->Next(type)) {
    if (control->Keyword() != nullptr) mControlsByKeyword.emplace(control->Keyword(), control);
  }
}

void ZPXPPD::ResolveHierarchy() {
  for (PPDXGroup* group = mGroups->First(); group != nullptr; group = mGroups->Next())
    AttachScrollPane(group);
  for (PPDXGroup* group = mGroups->First(); group != nullptr; group = mGroups->Next())
    AttachRollDown(group);
  CNTL_TYPE type;
  for (PPDXControl* control = mControls->First(type); control != nullptr;
       control = mControls->Next(type))
    AttachControl(control);
}

void ZPXPPD::AttachScrollPane(PPDXGroup* group) {
  PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(group);
  if (pane == nullptr) return;
  std::unique_ptr<CString> parent(pane->TakeParentKeyword());
  if (!parent) return;
  PPDXProperty* page = mProperties->Find(*parent, true);
  if (page == nullptr) return;
  pane->SetParent(page);
  page->SetScrollDown(pane);
}

void ZPXPPD::AttachRollDown(PPDXGroup* group) {
  PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group);
  if (rollDown == nullptr) return;
  std::unique_ptr<CString> parent(rollDown->TakeParentKeyword());
  if (!parent) return;
  PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(mGroups->Find(*parent, true));
  if (pane == nullptr) return;
  rollDown->SetParent(pane);
  pane->RollDowns()->Add(rollDown);
}

void ZPXPPD::AttachControl(PPDXControl* control) {
  std::unique_ptr<CString> parent(control->TakeParentKeyword());
  if (!parent) return;
  PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(mGroups->Find(*parent, true));
  if (rollDown == nullptr) return;
  control->SetParent(rollDown);
  AddToRollDown(*rollDown, control);
}
