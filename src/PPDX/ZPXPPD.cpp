#include "PPDX/ZPXPPD.h"

#include <cstring>
#include <new>

#include "PPDX/AllElementsShown.h"
#include "PPDX/GroupName.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXElement.h"
#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPDParse.h"
#include "cf/CFRef.h"
#include "constraints/UIConstraints.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"
#include "foundation/PPDStream.h"
#include "foundation/PointerListOf.h"

using namespace zpxppd;

_EXTENSIONS_SUPPORT_ ZPXPPD::sExtensions = EXTENSIONS_ALL;

namespace {

template <typename Element, typename Collection>
void DeleteElements(Collection& collection) {
  for (Element* element = collection.First(); element != nullptr; element = collection.Next())
    delete element;
}

}  // namespace

ZPXPPD::ZPXPPD(_PARSE_OPTIONS_ options) : mParseOptions(options) { Build(); }

ZPXPPD::ZPXPPD(const FSSpec& location, _PARSE_OPTIONS_ options, const __CFArray* printerNames)
    : PPDX(new PPDFile(location)), mParseOptions(options) {
  BuildFor(printerNames);
}

ZPXPPD::ZPXPPD(const __CFURL* location, _PARSE_OPTIONS_ options, const __CFArray* printerNames)
    : PPDX(new PPDFile(location)), mParseOptions(options) {
  BuildFor(printerNames);
}

ZPXPPD::~ZPXPPD() { DeleteModel(); }

void ZPXPPD::DeleteModel() {
  {
    AllElementsShown everything;
    DeleteElements<PPDXProperty>(*mProperties);
    DeleteElements<PPDXGroup>(*mGroups);
    CNTL_TYPE type;
    for (PPDXControl* control = mControls->First(type); control != nullptr;
         control = mControls->Next(type))
      delete control;
  }
  mProperties.reset();
  mGroups.reset();
  mControls.reset();
  mShortcuts.reset();
  mConstraints.reset();
  PointerListOf<CString>(mShortcutKeywords).DeleteAll();
  DeleteGroupNames();
}

void ZPXPPD::BuildFor(const __CFArray* printerNames) {
  CFRef<CFArrayRef> names(printerNames);
  // A document for other printers still has its (empty) collections.
  if (CheckPrinterNames(names.get()))
    Build();
  else
    MakeCollections();
}

void ZPXPPD::MakeCollections() {
  mConstraints.reset(new UIConstraints);
  mProperties.reset(new PPDXProperties);
  mGroups.reset(new PPDXGroups);
  mControls.reset(new PPDXControls);
  mControls->PlaceNodesIn(Storage());
}

void ZPXPPD::Build() {
  MakeCollections();
  if (File() == nullptr) return;
  Parse();
  // A file that is not a PPD of this kind reports only why it is not.
  if (!HeaderPassed()) return;
  if (mProperties->Empty()) AddError(MakeError(kPPDXErrNoPropertyPage, nullptr, false));
  if (mGroups->Empty()) AddError(MakeError(kPPDXErrNoGroup, nullptr, false));
  if (mControls->Empty()) AddError(MakeError(kPPDXErrNoOption, nullptr, false));
}

void ZPXPPD::Parse() {
  if (!mGroups || !mControls || !mProperties) {
    AddError(MakeError(kPPDXErrOutOfMemory, nullptr, true));
    return;
  }
  PPDFileStream stream(File(), true);
  if (stream.Bad()) {
    AddError(MakeError(kPPDXErrUnreadableFile, nullptr, true));
    return;
  }
  SetStream(&stream);
  PPDXErrorObj* headerError = TestHeader(stream);
  if (headerError == nullptr)
    ParseLines();
  else
    AddError(headerError);
  FinishParse();
  SetStream(nullptr);
}

PPDXErrorObj* ZPXPPD::TestHeader(PPDStream& file) {
  char token[kTokenSize];
  char version[kQuotedCapacity];
  bool passed = NextToken(file, token, kKeywordDelimiters, true) &&
                std::strcmp(token, "*PPD-Adobe") == 0 &&
                GetQuotedString(file, version, kQuotedCapacity) && std::strcmp(version, "4.3") == 0;
  SetValid(passed);
  return passed ? nullptr : MakeError(kPPDXErrNotVersion43, nullptr, true);
}

bool ZPXPPD::NextLine(PPDStream::Line& line, char* scratch) {
  if (!mHasPendingLine) return FetchLine(line, scratch);
  std::memcpy(scratch, mPendingLine, sizeof mPendingLine);
  line = PPDStream::Line{scratch, std::strlen(scratch)};
  mHasPendingLine = false;
  return true;
}

void ZPXPPD::ParseLines() {
  char scratch[kTokenSize];
  PPDStream::Line text;
  while (NextLine(text, scratch)) {
    PPDStream line(text);
    char keyword[kTokenSize];
    if (!NextToken(line, keyword, kKeywordDelimiters, true)) continue;
    PPDXErrorObj* error = DispatchLine(line, keyword);
    if (error != nullptr && AddError(error)) return;
  }
}

PPDXErrorObj* ZPXPPD::DispatchLine(PPDStream& line, const char* keyword) {
  static const struct {
    const char* keyword;
    LineHandler handler;
  } kHandlers[] = {
      {"*UIConstraints",
       [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseUIConstraint(l, false); }},
      {"*%ZPXUIConstraints",
       [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseUIConstraint(l, false); }},
      {"*%ZPXUIRequires",
       [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseUIConstraint(l, true); }},
      {"*%ZPXPropPage",
       [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParsePropertyPage(l); }},
      {"*%ZPXGroupName", [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseGroupName(l); }},
      {"*%ZPXParent", [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseParent(l); }},
      {"*%ZPXFlags", [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseControl(l); }},
      {"*%ParamCustomPrintSize",
       [](ZPXPPD& d, PPDStream& l, const char* k) { return d.ParseCustomPageSize(l, k); }},
      {"*%ZPShortcut", [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseShortcut(l); }},
      {"*%ZPXSpecialOption",
       [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseSpecialOption(l); }},
      {"*%ZPXJobNote", [](ZPXPPD& d, PPDStream& l, const char*) { return d.ParseJobNote(l); }},
  };
  for (const auto& entry : kHandlers) {
    if (std::strcmp(keyword, entry.keyword) == 0) return entry.handler(*this, line, keyword);
  }
  return ParsePSKeywords(line, keyword);
}

void ZPXPPD::FinishParse() {
  ResolveShortcuts();
  PointerListOf<CString>(mShortcutKeywords).DeleteAll();
  if (ParseOrphans()) CollectOrphanGroups();
  DeleteGroupNames();
  mConstraints->Resolve();
}

PPDXErrorObj* ZPXPPD::ParsePSKeywords(PPDStream& line, const char* keyword) {
  if (std::strcmp(keyword, "*%ZPFileVersion") == 0) return ReadRestOfLine(line, mMakerFileVersion);
  if (std::strcmp(keyword, "*%ZPVersion") == 0) return ReadRestOfLine(line, mMakerVersion);
  if (std::strcmp(keyword, "*OpenGroup") == 0) return ParseInstallableGroup(line, true);
  if (std::strcmp(keyword, "*CloseGroup") == 0) return ParseInstallableGroup(line, false);
  return PPDX::ParsePSKeywords(line, keyword);
}

PPDXErrorObj* ZPXPPD::ReadRestOfLine(PPDStream& line, std::unique_ptr<CString>& field) {
  char value[kTokenSize];
  if (NextToken(line, value, kRestOfLine, true)) field.reset(new CString(value));
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseInstallableGroup(PPDStream& line, bool opening) {
  char name[kTokenSize];
  if (!NextToken(line, name, kOptionDelimiters, true) ||
      std::strcmp(name, UserChoice::kInstallableGroup) != 0)
    return nullptr;
  mInInstallableOptions = opening;
  if (!opening || mInstallableRollDown != nullptr) return nullptr;
  char translation[kTokenSize];
  bool named = NextToken(line, translation, kOptionDelimiters, false);
  CFRef<CFStringRef> displayName(CreateDisplayName(named ? translation : nullptr));
  mInstallableRollDown = new PPDXRollDown(UserChoice::kInstallableGroup, displayName.get(), true);
  mGroups->Add(mInstallableRollDown);
  return nullptr;
}

const char* ZPXPPD::MakerFileVersion() const {
  return mMakerFileVersion ? static_cast<const char*>(*mMakerFileVersion) : nullptr;
}

const char* ZPXPPD::MakerVersion() const {
  return mMakerVersion ? static_cast<const char*>(*mMakerVersion) : nullptr;
}

bool ZPXPPD::NextFlagWord(PPDStream& line, char* word) {
  while (NextToken(line, word, kFlagDelimiters, true)) {
    if (word[0] != '\0') return true;
  }
  return false;
}

PPDXControl* ZPXPPD::FindAnyControl(const char* keyword) const {
  auto found = mControlsByKeyword.find(keyword);
  return found != mControlsByKeyword.end() ? found->second : nullptr;
}

void ZPXPPD::AddControl(PPDXControl* control) {
  mControls->Add(control);
  if (control->Keyword() != nullptr) mControlsByKeyword.emplace(control->Keyword(), control);
}

void ZPXPPD::AddToRollDown(PPDXRollDown& rollDown, PPDXControl* control) {
  rollDown.Controls()->PlaceNodesIn(Storage());
  rollDown.Controls()->Add(control);
}

void ZPXPPD::SetupControl(PPDXGroup* group, PPDXControl* control, bool reportOrphan) {
  if (group == nullptr && mInInstallableOptions && mInstallableRollDown != nullptr)
    group = mInstallableRollDown;
  if (group == nullptr && !ParseOrphans()) {
    AddControl(control);
    return;
  }
  if (PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group)) {
    control->SetParent(rollDown);
    AddToRollDown(*rollDown, control);
    AddControl(control);
    return;
  }
  if (reportOrphan) AddError(MakeError(kPPDXErrOptionInNoRollDown, control->Keyword(), false));
  AddControl(control);
}

const GroupName* ZPXPPD::FindGroupName(const char* name) const {
  if (name == nullptr) return nullptr;
  auto found = mGroupNamesByName.find(name);
  return found != mGroupNamesByName.end() ? found->second : nullptr;
}

void ZPXPPD::AddGroupName(GroupName* record) {
  mGroupNames.PushBack(record);
  if (record->name != nullptr && static_cast<const char*>(*record->name) != nullptr)
    mGroupNamesByName.emplace(*record->name, record);
}

void ZPXPPD::DeleteGroupNames() {
  mGroupNamesByName.clear();
  PointerListOf<GroupName>(mGroupNames).DeleteAll();
}

PPDXGroup* ZPXPPD::CreateDeclaredGroup(const GroupName& record) {
  PPDXGroup* group = new PPDXGroup(*record.name, record.translation, record.visible);
  mGroups->Add(group);
  return group;
}

PPDXGroup* ZPXPPD::FindAndCreateParent(const char* name) {
  const GroupName* record = FindGroupName(name);
  if (record == nullptr) return nullptr;
  PPDXGroup* group = mGroups->Find(name, true);
  return group != nullptr ? group : CreateDeclaredGroup(*record);
}

void ZPXPPD::CollectOrphanGroups() {
  for (const GroupName* record : PointerListOf<const GroupName>(mGroupNames))
    if (mGroups->Find(*record->name, true) == nullptr) CreateDeclaredGroup(*record);
}
