#include "output/PDEData.h"

#include <cstring>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXElement.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/Files.h"
#include "cf/CFText.h"
#include "output/PDEKeywordTables.h"
#include "output/PrintSettingsTicket.h"
#include "output/WideText.h"
#include "output/ZPXJobTicket.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEBundle.h"
#include "plugin/SessionFunctions.h"
#include "plugin/TextBuffer.h"

namespace {

constexpr size_t kPPDPathSize = 512;
// The bytes of one ticket text of the MM pairs.
constexpr long kMMTextSize = 256;
constexpr int kShortcutBlob = 0;
constexpr int kWatermarkBlob = 1;
constexpr char kOrientationKeyword[] = "*ZPOrientation";

CFRef<CFStringRef> IndexedKey(const char* stem, long index) {
  return CFRef<CFStringRef>(CreateText(stem + std::to_string(index)));
}

// The ticket text of a wide text; empty when it cannot be written in the
// ticket's room.
CFRef<CFStringRef> TicketText(const std::wstring& text) {
  std::string utf8;
  if (!UTF8FromWide(text, utf8) || utf8.size() >= size_t(kMMTextSize)) utf8.clear();
  return CFRef<CFStringRef>(CreateText(utf8));
}

// Unset when the item is missing or not UTF-8 text of the ticket's room.
void ReadTicketText(PrintSettingsTicket& settings, CFStringRef key, std::wstring& text) {
  CFStringRef value = nullptr;
  if (settings.Get(key, value) != noErr || value == nullptr) return;
  char buffer[kMMTextSize];
  if (CopyTextCut(value, kCFStringEncodingUTF8, buffer, sizeof buffer) < 0) return;
  WideFromUTF8(buffer, text);
}

std::wstring CutWide(const std::wstring& text, size_t size) { return text.substr(0, size); }

std::string UTF8Of(CFStringRef text, long size) {
  if (text == nullptr) return "";
  std::string buffer(size_t(size), '\0');
  const long length = CopyTextCut(text, kCFStringEncodingUTF8, &buffer[0], size);
  buffer.resize(length > 0 ? size_t(length) : 0);
  return buffer;
}

}  // namespace

PDEData::PDEData(PMPrintSession session, ZPXPPD* document, ProjectPDE* extension)
    : mDocument(document), mSession(session), mExtension(extension) {
  for (TextPair& pair : mBidiPairs) pair = TextPair{L"*ZPPCMID", L"-1"};
  CFStringRef printer = GetCurrentPrinterName(session);
  if (printer == nullptr) return;
  mPrinterName = CFRef<CFStringRef>::Retain(printer);
  mPreferences.reset(new ZPXMelvanePrinterPList());
  mPrinterAddress = CFRef<CFStringRef>::Retain(mPreferences->Find(printer));
  FSSpec location;
  std::string path;
  if (document != nullptr && document->GetFileSpec(location) &&
      POSIXPathFromFSSpec(location, &path) == noErr && path.size() < kPPDPathSize)
    mPPDPath = path;
  mPageOrientation = GetPageOrientationFromOS();
  if (FindControl(kOrientationKeyword) != nullptr)
    mDocument->SetValueForKey(CFSTR("*ZPOrientation"), CFSTR("False"));
  mConstructionComplete = true;
}

PDEData::~PDEData() = default;

OSStatus PDEData::SaveNonPSSettings(PrintSettingsTicket* settings, CFStringRef clientID) {
  if (settings == nullptr || !settings->IsValid() || clientID == nullptr) return -1;
  settings->Set(clientID, CFSTR(".SelectedWatermarkKey"), mSelectedWatermark, false);
  OSStatus status = settings->Set(clientID, CFSTR(".MMKey"), mMMCount, false);
  for (long i = 0; i < mMMCount; ++i) {
    settings->Set(clientID, IndexedKey("MMKey", i).get(),
                  TicketText(mMMPairs[size_t(i)].keyword).get(), false);
    status = settings->Set(clientID, IndexedKey("MMValue", i).get(),
                           TicketText(mMMPairs[size_t(i)].value).get(), false);
  }
  return status;
}

OSStatus PDEData::RestoreNonPSSettings(PrintSettingsTicket* settings) {
  if (settings == nullptr || !settings->IsValid()) return -1;
  long value = 0;
  mSelectedWatermark =
      settings->GetInt(CFSTR(".SelectedWatermarkKey"), value) == noErr ? value : kNoWatermark;
  long count = 0;
  if (settings->GetInt(CFSTR(".MMKey"), count) != noErr || count < 0) count = 0;
  ClearMMPairs();
  mMMCount = count < kMaxMMPairs ? count : kMaxMMPairs;
  for (long i = 0; i < mMMCount; ++i) {
    ReadTicketText(*settings, IndexedKey("MMKey", i).get(), mMMPairs[size_t(i)].keyword);
    ReadTicketText(*settings, IndexedKey("MMValue", i).get(), mMMPairs[size_t(i)].value);
  }
  return noErr;
}

OSStatus PDEData::GetSummaryLine(CFMutableStringRef title, CFMutableStringRef summary,
                                 bool& filled) {
  CFRef<CFStringRef> notApplicable(PDEBundle::CopyLocalizedCFString(CFSTR("N/A")));
  if (notApplicable) {
    if (title != nullptr) CFStringAppend(title, notApplicable.get());
    if (summary != nullptr) CFStringAppend(summary, notApplicable.get());
  }
  filled = true;
  return noErr;
}

bool PDEData::IsValidBasicPanelControl(PPDXControl* control) const {
  if (control == nullptr) return false;
  PPDXElement* group = control->GetParent();
  if (group != nullptr && group->Keyword() != nullptr &&
      std::strcmp(group->Keyword(), UserChoice::kMakerInstallableGroup) == 0)
    return false;
  const char* keyword = control->Keyword();
  return !isBidiKeyword(keyword) && !isExpertTintoraControl(keyword) &&
         !control->IsNoNimboDriverUI() && !isBasicPanelExclusion(keyword);
}

long PDEData::GetPageOrientationFromOS() {
  PMTicketRef ticket = nullptr;
  SInt32 orientation = 0;
  if (MyGetTicket(mSession, kPDE_PMPageFormatRef, ticket) == noErr)
    PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kPMOrientationKey, &orientation);
  return orientation;
}

void PDEData::Set1CopiesToOS() {
  PrintSettingsTicket settings(mSession);
  CFRef<CFStringRef> key(CreatePostscriptDataFileKey());
  ZPXJobTicket jobTicket(&settings, key.get());
  jobTicket.EnforceCopiesLimit(GetBundleID(), 1);
}

long PDEData::GetNumCopiesFromOS() {
  PrintSettingsTicket settings(mSession);
  CFRef<CFStringRef> key(CreatePostscriptDataFileKey());
  ZPXJobTicket jobTicket(&settings, key.get());
  return jobTicket.GetCopies();
}

// ---- The printer preferences store.

bool PDEData::GetIPAddressEnabled() const {
  return mPreferences && mPrinterName && mPreferences->getIPEnabled(mPrinterName.get());
}

void PDEData::SetIPAddressEnabled(bool enabled) {
  TakeIPAddressEnabled(enabled);
  if (mPreferences && mPrinterName) mPreferences->Save();
}

void PDEData::TakeIPAddressEnabled(bool enabled) {
  if (mPreferences && mPrinterName) mPreferences->setIPEnabled(mPrinterName.get(), enabled);
}

CFStringRef PDEData::GetMelvanePrinterAddress(CFStringRef name) const {
  return mPreferences && name != nullptr ? mPreferences->Find(name) : nullptr;
}

CFStringRef PDEData::GetMelvanePrinterAddress(CFStringRef name, bool* ipEnabled) const {
  if (ipEnabled != nullptr)
    *ipEnabled = mPreferences && name != nullptr && mPreferences->getIPEnabled(name);
  return GetMelvanePrinterAddress(name);
}

void PDEData::SetMelvanePrinterAddress(CFStringRef name, const CString& address, bool ipEnabled) {
  CFStringRef printer = name != nullptr ? name : mPrinterName.get();
  if (!mPreferences || printer == nullptr) return;
  CFRef<CFStringRef> text(CreateText(static_cast<const char*>(address)));
  if (mPreferences->Add(printer, text.get(), ipEnabled)) mPreferences->Save();
}

void PDEData::ResetMelvanePrinterList() { mPreferences.reset(new ZPXMelvanePrinterPList()); }

bool PDEData::SaveMelvanePrinterList() { return mPreferences && mPreferences->Save(); }

bool PDEData::StoreBlob(int blobNumber, const std::vector<std::string>& lines) {
  if (!mPreferences || !mPrinterName) return false;
  constexpr size_t kSlot = ZPXMelvanePrinterPList::kBlobLineSize;
  std::unique_ptr<char[][kSlot]> slots(new char[lines.size()][kSlot]());
  // A line cut to its slot may end inside a character; the store leaves such
  // a slot out rather than keep half a character.
  for (size_t i = 0; i < lines.size(); ++i) std::strncpy(slots[i], lines[i].c_str(), kSlot - 1);
  return mPreferences->AddDataBlob(mPrinterName.get(), int(lines.size()), blobNumber,
                                   slots.get()) &&
         mPreferences->Save();
}

bool PDEData::ReadBlob(int blobNumber, std::vector<std::string>& lines) const {
  lines.clear();
  if (!mPreferences || !mPrinterName) return false;
  CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  if (!mPreferences->GetDataBlob(mPrinterName.get(), blobNumber, array.get())) return true;
  for (CFIndex i = 0; i < CFArrayGetCount(array.get()); ++i)
    lines.push_back(UTF8Of(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array.get(), i)),
                           long(ZPXMelvanePrinterPList::kBlobLineSize)));
  return true;
}

bool PDEData::SaveWatermarksToPreferences() {
  if (!mPrinterName || mWatermarks.empty()) return false;
  std::vector<std::string> lines;
  for (const auto& watermark : mWatermarks) lines.push_back(watermark->Description());
  return StoreBlob(kWatermarkBlob, lines);
}

bool PDEData::GetWatermarksFromPreferences() {
  if (!mPrinterName) return false;
  std::vector<std::string> lines;
  ReadBlob(kWatermarkBlob, lines);
  if (lines.empty()) return true;
  DeleteWatermarks();
  for (const std::string& line : lines) AddWatermark(line.c_str());
  return true;
}

bool PDEData::SetPPDShortcuts(const std::vector<std::string>& keywords) {
  return StoreBlob(kShortcutBlob, keywords);
}

bool PDEData::GetPPDShortcuts(std::vector<std::string>& keywords) const {
  std::vector<std::string> lines;
  const bool read = ReadBlob(kShortcutBlob, lines);
  keywords.clear();
  for (const std::string& line : lines)
    if (IsValidBasicPanelControl(FindControl(line.c_str()))) keywords.push_back(line);
  return read;
}

// ---- The settings that the panel edits.

ZPXWatermark* PDEData::Watermark(long index) const {
  return index >= 0 && index < WatermarkCount() ? mWatermarks[size_t(index)].get() : nullptr;
}

bool PDEData::AddWatermark(const char* description) {
  if (WatermarkCount() >= kMaxWatermarks) return false;
  mWatermarks.emplace_back(new ZPXWatermark(description));
  return true;
}

void PDEData::DeleteWatermarks() { mWatermarks.clear(); }

bool PDEData::AddMMPair(const std::wstring& keyword, const std::wstring& value) {
  if (mMMCount >= kMaxMMPairs) return false;
  mMMPairs[size_t(mMMCount++)] = TextPair{keyword, value};
  return true;
}

void PDEData::ClearMMPairs() {
  for (TextPair& pair : mMMPairs) pair = TextPair{};
  mMMCount = 0;
}

void PDEData::SetBidiPair(long index, const std::wstring& keyword, const std::wstring& value) {
  if (index < 0 || index >= kBidiPairCount) return;
  mBidiPairs[size_t(index)] =
      TextPair{CutWide(keyword, kBidiKeywordSize), CutWide(value, kBidiValueSize)};
}

PPDXControl* PDEData::FindControl(const char* keyword) const {
  if (mDocument == nullptr || mDocument->GetControls() == nullptr) return nullptr;
  CNTL_TYPE type = CNTL_NONE;
  return mDocument->GetControls()->Find(keyword, type, true);
}

std::string PDEData::CurrentValue(const char* keyword, size_t size) const {
  PPDXControl* control = FindControl(keyword);
  if (control == nullptr) return "";
  CFRef<CFStringRef> value(control->CopyCurrentControlValueString());
  return UTF8Of(value.get(), long(size));
}
