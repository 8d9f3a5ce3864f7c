// The pane's side of the job-properties link: the shared area, the
// companion's process, one exchange and the poll that waits for its end.

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "comm/HostAddress.h"
#include "foundation/CString.h"
#include "foundation/PointerListOf.h"
#include "ipc/CFMessagePort.h"
#include "ipc/ProcessSpawn.h"
#include "ipc/SharedSegment.h"
#include "ipc/WriteAll.h"
#include "output/PDEData.h"
#include "output/WideText.h"
#include "paths/PlatformPaths.h"
#include "plugin/PDEBundle.h"
#include "toolkit/Appearance.h"
#include "toolkit/Gestalt.h"
#include "toolkit/Processes.h"
#include "ui/TellUser.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_Panel.h"
#include "ui/UI_ZPXAlert.h"

namespace {

constexpr const char* kActionMessages[] = {"jpOpenMainUI", "jpOpenTintoraUI", "jpOpenMixedMediaUI"};
constexpr double kRetryWaitSeconds = 2;
constexpr CFTimeInterval kOpenSendTimeout = 10;
constexpr CFTimeInterval kUnloadTimeout = 5;
constexpr long kDefaultWatermarks = 5;
// Any status but 0 and 4096 leaves everything as it was.
constexpr int kStatusNothingToApply = 1;
// Before this minor version the blocker is a movable-modal window, then a sheet.
constexpr SInt32 kSheetMinorVersion = 5;
constexpr size_t kValueTextSize = 1024;
constexpr char kPrinterOptionGroup[] = "FPTintora";
// Options the two-way link fills in from the printer while it is on.
constexpr const char* kBidiOptions[] = {"*ZPSimulation", "*ZPOutProfile", "*ZPRGBOverride"};
constexpr const char* kMMKeys[] = {"*RangeProp", "*RangeNum", "*Chapters", "*SubsetFinishing"};
constexpr const char* kBidiPairKeys[] = {"*ZPPCMID", "*ZPPCName", "*ZPCoverSizePCMID",
                                         "*ZPCoverSizePCName"};

CFMessagePortRef OpenPort(int id) {
  CFRef<CFStringRef> name(CreateText(std::to_string(id)));
  return CFMessagePortCreateRemote(nullptr, name.get());
}

SInt32 Send(CFMessagePortRef port, const char* message, CFTimeInterval sendTimeout,
            CFTimeInterval receiveTimeout, CFStringRef replyMode) {
  CFRef<CFDataRef> data(CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(message),
                                     CFIndex(std::strlen(message) + 1)));
  return CFMessagePortSendRequest(port, 0, data.get(), sendTimeout, receiveTimeout, replyMode,
                                  nullptr);
}

// Waits in small real-time steps, at most `seconds`, for the companion's port.
CFMessagePortRef WaitForPort(int id, double seconds) {
  const struct timespec step = {0, 10 * 1000 * 1000};
  for (double waited = 0;; waited += 0.01) {
    CFMessagePortRef port = OpenPort(id);
    if (port != nullptr || waited >= seconds) return port;
    nanosleep(&step, nullptr);
  }
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool IsOneOf(const std::string& keyword, const char* const* list, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (StartsWith(keyword, list[i])) return true;
  return false;
}

bool IsExactlyOneOf(const std::string& keyword, const char* const* list, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (keyword == list[i]) return true;
  return false;
}

// Keys travel without the keyword's leading "*".
std::wstring WithoutStar(const std::wstring& keyword) {
  return !keyword.empty() && keyword[0] == L'*' ? keyword.substr(1) : keyword;
}

std::wstring Widen(const std::string& utf8) {
  return WideFromUTF8Replacing(utf8.data(), utf8.size());
}

std::string TextOfString(CFStringRef text) {
  if (text == nullptr) return "";
  char buffer[kValueTextSize] = {};
  CFStringGetCString(text, buffer, sizeof buffer, kCFStringEncodingUTF8);
  return buffer;
}

std::wstring ValueOf(PPDXControl* control) {
  CFRef<CFStringRef> value(control->CopyCurrentControlValueString());
  return Widen(TextOfString(value.get()));
}

PPDXControl* FindExact(ZPXPPD* document, const char* keyword) {
  CNTL_TYPE type = CNTL_NONE;
  const bool exact = true;
  return document->GetControls()->Find(keyword, type, exact);
}

bool IsDynamicAtDefault(PPDXControl* control) {
  if (control->Type() != CNTL_POPUP || !control->IsDynamic()) return false;
  auto* popup = static_cast<PPDXPopupControl*>(control);
  return popup->GetValue() == popup->DefaultValue();
}

bool SameIgnoringCase(const std::string& a, const char* b) {
  return a.size() == std::strlen(b) && strncasecmp(a.c_str(), b, a.size()) == 0;
}

// A one-choice list whose choice is `value` as keyword and display text.
PointerList OneChoice(const char* value) {
  PointerList items;
  auto* item = new _PopupItem;
  item->keyword = new CString(value);
  item->name = CFStringCreateWithCString(nullptr, value, kCFStringEncodingUTF8);
  items.PushBack(item);
  return items;
}

}  // namespace

bool UI_Panel::SetUpSharedArea() {
  mAreaId = SharedSegmentCreate(SharedMemoryList::kAreaSize);
  if (mAreaId != -1) mArea = static_cast<char*>(SharedSegmentAttachAndMark(mAreaId));
  if (mArea == nullptr) return false;
  mList = std::make_unique<SharedMemoryList>(mArea);
  mList->Clear();
  mList->WritePPDPath(mPPDCopy.c_str());
  if (mAddressArea != nullptr && mData->GetIPAddressEnabled()) {
    mList->WriteAddress(mAddressArea->Address().c_str());
  } else {
    mList->WriteNoAddress();
  }
  GetWatermarks();
  SDMKeyValueList* list = GetDefaultSettings();
  mList->Create_SharedMemoryList_From_SDMList(*list);
  SharedMemoryList::FreeSDMList(list);
  LoadHelperModule();
  return true;
}

void UI_Panel::CloseDownLink() {
  if (mTimer != nullptr) RemoveEventLoopTimer(std::exchange(mTimer, nullptr));
  if (mArea == nullptr) return;
  const bool unloaded = SendUnload();
  mData->SaveWatermarksToPreferences();
  // A companion that was not told to quit (not serving yet) is ended at once.
  if (mCompanion != -1) ProcessReapWithin(mCompanion, unloaded ? kUnloadTimeout : 0);
  mList.reset();
  SharedSegmentDetach(mArea);
  SharedSegmentRemove(mAreaId);
  mArea = nullptr;
}

bool UI_Panel::TwoWayOn() const { return mAddressArea != nullptr && mAddressArea->IsTwoWayOn(); }

bool UI_Panel::CompanionInstalled() const {
  struct stat info;
  return !mCompanionPath.empty() && stat(mCompanionPath.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode) && access(mCompanionPath.c_str(), X_OK) == 0;
}

void UI_Panel::LoadHelperModule() {
  if (mCompanionPath.empty()) return;
  if (mCompanion != -1) ProcessReap(mCompanion);
  mCompanion = ProcessSpawn(mCompanionPath, {std::to_string(mAreaId)});
  WriteArgumentsFile();
}

// The identifier for a companion that looks for it in the temporary folder.
// The name is fixed in a shared folder: only a regular file of this user is
// written, never through a link.
void UI_Panel::WriteArgumentsFile() const {
  const std::string path = PlatformPaths::Below(PlatformPaths::kTemporaryFolder, "ND3Args.txt");
  if (path.empty()) return;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
      ftruncate(fd, 0) == 0) {
    const std::string text = std::to_string(mAreaId) + "\n";
    if (!WriteAll(fd, text.data(), text.size())) std::fprintf(stderr, "ND3Args.txt: short write\n");
  }
  close(fd);
}

void UI_Panel::LoadWatermarks() {
  mData->GetWatermarksFromPreferences();
  if (mData->WatermarkCount() != 0) return;
  for (long i = 0; i < kDefaultWatermarks; ++i) {
    CFRef<CFStringRef> key(CreateText("Watermark" + std::to_string(i)));
    CFRef<CFStringRef> text(PDEBundle::CopyLocalizedCFString(key.get()));
    mData->AddWatermark(TextOfString(text.get()).c_str());
  }
}

void UI_Panel::GetWatermarks() {
  LoadWatermarks();
  const size_t count =
      std::min<size_t>(size_t(mData->WatermarkCount()), SharedMemoryList::kWatermarkSlots);
  for (size_t i = 0; i < count; ++i)
    mList->WriteWatermark(i, mData->Watermark(long(i))->Description());
  mList->WriteWatermarkCount(count);
}

void UI_Panel::UpdateWatermarks() {
  mData->DeleteWatermarks();
  const size_t count = mList->ReadWatermarkCount();
  for (size_t i = 0; i < count; ++i) mData->AddWatermark(mList->ReadWatermarkDefinition(i).c_str());
  if (mData->SelectedWatermark() >= mData->WatermarkCount())
    mData->SelectWatermark(mData->WatermarkCount() - 1);
}

// One entry per option of the document, with the options the printer fills
// in (and dynamic ones left at their default) kept out while two-way is on.
void UI_Panel::AddOptionEntries(SDMPairs& entries, bool twoWay, bool customPageSize) {
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = mData->Document()->GetControls();
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    const std::string keyword = control->Keyword() != nullptr ? control->Keyword() : "";
    if (keyword.size() < 2 || keyword == "*CustomPrintSize") continue;
    if (twoWay && IsExactlyOneOf(keyword, kBidiOptions, std::size(kBidiOptions))) continue;
    if (customPageSize && keyword == "*PageSize") continue;
    const bool installable = UserChoice::IsInstallable(*control);
    if (twoWay && !installable && IsDynamicAtDefault(control)) continue;
    if (installable) mList->AppendInstallableIndex(int(entries.size()));
    entries.push_back({Widen(keyword.substr(1)), ValueOf(control)});
  }
}

SDMKeyValueList* UI_Panel::GetDefaultSettings() {
  SDMPairs entries;
  mList->ClearInstallableIndexes();
  const bool twoWay = TwoWayOn();
  const bool customPageSize = mData->IsDocumentPageSizeInUse() && !mCustomSizeText.empty();
  ZPXPPD* document = mData->Document();
  AddOptionEntries(entries, twoWay, customPageSize);
  if (PPDXControl* custom = FindExact(document, "*CustomPrintSize")) {
    PPDXControl* printSize = FindExact(document, "*ZPPrintSize");
    const bool notCustom =
        printSize != nullptr &&
        !SameIgnoringCase(
            TextOfString(CFRef<CFStringRef>(printSize->CopyCurrentControlValueString()).get()),
            "CustomPrintSize");
    entries.push_back({L"CustomPrintSize", notCustom ? L"False" : ValueOf(custom)});
  }
  if (customPageSize) {
    entries.push_back({L"PageSize", L"Custom"});
    entries.push_back({L"CustomPageSize", Widen(mCustomSizeText)});
  }
  for (const char* keyword : kBidiOptions) {
    if (!twoWay) break;
    PPDXControl* printer = FindExact(document, (std::string(keyword) + "Bidi").c_str());
    if (printer != nullptr)
      entries.push_back({Widen(keyword + 1), Widen(TextOfString(printer->CFStringUserName()))});
  }
  const long selected = mData->SelectedWatermark();
  const bool hasSelection = selected >= 0 && selected < mData->WatermarkCount();
  entries.push_back({L"ZP_WATERMARK", std::to_wstring(hasSelection ? selected + 1 : 0)});
  entries.push_back(
      {L"ZP_WATERMARK_FIRSTPAGEONLY",
       hasSelection && mData->Watermark(selected)->FirstPageOnly() ? L"True" : L"False"});
  for (long i = 0; i < PDEData::kBidiPairCount; ++i)
    entries.push_back({WithoutStar(mData->BidiKeyword(i)), mData->BidiValue(i)});
  entries.push_back({L"ZP_COPIES", std::to_wstring(mData->GetNumCopiesFromOS())});
  for (long i = 0; i < mData->MMCount(); ++i)
    if (!mData->MMKeyword(i).empty()) entries.push_back({mData->MMKeyword(i), mData->MMValue(i)});
  return SharedMemoryList::NewSDMList(entries);
}

bool UI_Panel::LaunchJobProperties(JP_ACTIONS action) {
  if (mArea == nullptr || action < kJPMainView || action > kJPMixedMediaView) return false;
  SetThemeCursor(kThemeWatchCursor);
  SDMKeyValueList* list = GetDefaultSettings();
  GetWatermarks();
  mList->WriteStatus(SharedMemoryList::kStatusWorking);
  mList->WritePPDPath(mPPDCopy.c_str());
  if (TwoWayOn()) {
    char resolved[16] = {};
    if (!ResolveHostToAddrString(mAddressArea->Address().c_str(), resolved, sizeof resolved)) {
      SharedMemoryList::FreeSDMList(list);
      mList->WriteStatus(SharedMemoryList::kStatusDone);
      TellInvalidAddress();
      SetThemeCursor(kThemeArrowCursor);
      return false;
    }
    mList->WriteAddress(mAddressArea->Address().c_str());
  } else {
    mList->WriteNoAddress();
  }
  mList->Create_SharedMemoryList_From_SDMList(*list);
  SharedMemoryList::FreeSDMList(list);
  CFRef<CFMessagePortRef> port(OpenPort(mAreaId));
  if (port.get() == nullptr) {
    LoadHelperModule();
    port.reset(WaitForPort(mAreaId, kRetryWaitSeconds));
  }
  if (port.get() == nullptr) {
    mList->WriteStatus(SharedMemoryList::kStatusDone);
    SetThemeCursor(kThemeArrowCursor);
    return false;
  }
  ShowBlocker();
  Send(port.get(), kActionMessages[action - kJPMainView], kOpenSendTimeout, 0, nullptr);
  mIgnoreButton = true;
  SetTimerCheckForJPReturn();
  return true;
}

// A 1 x 1 window that keeps the dialog modal while the companion works.
void UI_Panel::ShowBlocker() {
  if (mDialog == nullptr || mBlocker != nullptr) return;
  SInt32 minor = 0;
  Gestalt(gestaltSystemVersionMinor, &minor);
  const bool sheet = minor >= kSheetMinorVersion;
  const Rect bounds = {0, 0, 1, 1};
  if (CreateNewWindow(sheet ? kSheetWindowClass : kMovableModalWindowClass, kWindowNoAttributes,
                      &bounds, &mBlocker) != noErr)
    return;
  if (sheet) {
    ShowSheetWindow(mBlocker, mDialog);
  } else {
    SelectWindow(mBlocker);
    ShowWindow(mBlocker);
  }
}

void UI_Panel::DisposeBlocker() {
  if (mBlocker != nullptr) DisposeWindow(std::exchange(mBlocker, nullptr));
}

void UI_Panel::SetTimerCheckForJPReturn() {
  InstallEventLoopTimer(GetMainEventLoop(), kPollInterval, 0,
                        NewEventLoopTimerUPP(TimerCheckForJPReturn), this, &mTimer);
}

// A companion that died mid-exchange never writes its status: its process
// has exited or its port is gone.
bool UI_Panel::CompanionGone() const {
  if (mCompanion != -1 && ProcessReap(mCompanion)) return true;
  CFRef<CFMessagePortRef> port(OpenPort(mAreaId));
  return port.get() == nullptr;
}

void UI_Panel::TimerCheckForJPReturn(EventLoopTimerRef timer, void* panel) {
  auto* self = static_cast<UI_Panel*>(panel);
  RemoveEventLoopTimer(timer);
  self->mTimer = nullptr;
  int status = SharedMemoryList::kStatusDone;
  const bool read = self->mList->ReadStatus(status);
  if (read && status == SharedMemoryList::kStatusWorking) {
    if (!self->CompanionGone()) {
      self->SetTimerCheckForJPReturn();
      return;
    }
    self->mCompanion = -1;
    self->mList->WriteStatus(kStatusNothingToApply);
  }
  self->mIgnoreButton = false;
  self->OnJPReturn();
}

void UI_Panel::OnJPReturn() {
  DisposeBlocker();
  ProcessSerialNumber process = {0, kCurrentProcess};
  SetFrontProcess(&process);
  if (mDialog != nullptr) ShowWindow(mDialog);
  int status = SharedMemoryList::kStatusWorking;
  mList->ReadStatus(status);
  if (status == SharedMemoryList::kStatusDone) {
    UpdateWatermarks();
    mData->SaveWatermarksToPreferences();
    SDMKeyValueList* list = mList->Create_SDMList_From_SharedMemoryList();
    if (list != nullptr) SetUpdatedSettings(*list);
    SharedMemoryList::FreeSDMList(list);
  } else if (status == SharedMemoryList::kStatusInvalidAddress) {
    TellInvalidAddress();
  }
  mList->WriteStatus(SharedMemoryList::kStatusDone);
  SetThemeCursor(kThemeArrowCursor);
}

void UI_Panel::TellInvalidAddress() const {
  CFRef<CFStringRef> first(
      PDEBundle::CopyLocalizedCFStringFromFile(CFSTR("INVALID_IP_ADDRESS"), CFSTR("BidiStrings")));
  CFRef<CFStringRef> second(
      PDEBundle::CopyLocalizedCFStringFromFile(CFSTR("PRESS_OKAY"), CFSTR("BidiStrings")));
  TellUser(first.get(), second.get(), 0x202, nullptr);
}

// 0 selects none; a number past the list (or negative) the last watermark
// there is, so that the job never reads past the list.
void UI_Panel::SelectWatermarkNumber(long number) {
  const long count = mData->WatermarkCount();
  if (number == 0) {
    mData->SelectWatermark(PDEData::kNoWatermark);
  } else if (number > 0 && number <= count) {
    mData->SelectWatermark(number - 1);
  } else {
    mData->SelectWatermark(count > 0 ? count - 1 : PDEData::kNoWatermark);
  }
}

void UI_Panel::SetUpdatedSettings(const SDMKeyValueList& list) {
  mData->ClearMMPairs();
  mBidiPairsFilled = 0;
  std::vector<std::string> refusals;
  for (const auto& [key, value] : SharedMemoryList::PairsOf(list)) {
    std::string keyword = "*" + UTF8FromWideReplacing(key.c_str());
    keyword.resize(UTF8BoundaryCut(keyword, 65));
    ApplyEntry(keyword, value, refusals);
  }
  CreateBasicPanel();
  TellRefusals(refusals);
}

void UI_Panel::TellRefusals(const std::vector<std::string>& refusals) const {
  for (const std::string& refusal : refusals) {
    CFRef<CFStringRef> message(CreateText(refusal));
    TellUser(message.get(), UI_ZPXAlert::kCancelHidden, nullptr);
  }
}

void UI_Panel::ApplyEntry(const std::string& keyword, const std::wstring& value,
                          std::vector<std::string>& refusals) {
  std::string text = UTF8FromWideReplacing(value.c_str());
  text.resize(UTF8BoundaryCut(text, kValueTextSize - 1));
  const long selected = mData->SelectedWatermark();
  if (StartsWith(keyword, "*ZP_WATERMARK_FIRSTPAGEONLY")) {
    if (selected >= 0 && selected < mData->WatermarkCount())
      mData->Watermark(selected)->SetFirstPageOnly(value.c_str());
    return;
  }
  if (StartsWith(keyword, "*ZP_WATERMARK")) return SelectWatermarkNumber(std::atol(text.c_str()));
  if (StartsWith(keyword, "*ZP_COPIES")) return;
  if (IsOneOf(keyword, kMMKeys, std::size(kMMKeys))) {
    mData->AddMMPair(Widen(keyword.substr(1)), value);  // refuses past the 255th
    return;
  }
  if (IsOneOf(keyword, kBidiPairKeys, std::size(kBidiPairKeys))) {
    if (mBidiPairsFilled < PDEData::kBidiPairCount)
      mData->SetBidiPair(mBidiPairsFilled++, Widen(keyword), value);
    return;
  }
  if (TwoWayOn() && IsExactlyOneOf(keyword, kBidiOptions, std::size(kBidiOptions)))
    ApplyPrinterOption(keyword, text);
  PPDXControl* control = FindExact(mData->Document(), keyword.c_str());
  if (control == nullptr) return;
  if (auto* note = dynamic_cast<PPDXJobNote*>(control)) {
    // The note's own value, sent to the companion and back, is no entry: a
    // maker's default stands whatever its flags say.
    if (value == ValueOf(note)) return;
    std::string refusal = note->Refusal(text.c_str());
    if (!refusal.empty()) return refusals.push_back(std::move(refusal));
  }
  CFRef<CFStringRef> cfText(CreateText(text));
  control->SetCurrentControlWithCFString(cfText.get());
}

// The printer's own choice becomes the one choice of the option's "Bidi"
// pop-up, made in the printer-option group when the document has none.
void UI_Panel::ApplyPrinterOption(const std::string& keyword, const std::string& value) {
  ZPXPPD* document = mData->Document();
  const std::string printerKeyword = keyword + "Bidi";
  PointerList choices = OneChoice(value.c_str());
  auto* defaultChoice = new CString(value.c_str());
  const bool taken =
      FindExact(document, printerKeyword.c_str()) != nullptr
          ? document->PPDReconcilePopupMenu(printerKeyword.c_str(), value.c_str(), choices,
                                            defaultChoice)
          : document->PPDCreatePopupMenu(kPrinterOptionGroup, printerKeyword.c_str(), value.c_str(),
                                         choices, defaultChoice) != nullptr;
  if (taken) return;
  PointerListOf<_PopupItem>(choices).DeleteAll();
  delete defaultChoice;
}

// The companion quits on "jpUnload"; one more try after a pause when the
// first send fails.
bool UI_Panel::SendUnload() const {
  CFRef<CFMessagePortRef> port(OpenPort(mAreaId));
  if (port.get() == nullptr) return false;
  if (Send(port.get(), "jpUnload", kUnloadTimeout, kUnloadTimeout, kCFRunLoopDefaultMode) ==
      kCFMessagePortSuccess)
    return true;
  const struct timespec pause = {time_t(kRetryWaitSeconds), 0};
  nanosleep(&pause, nullptr);
  return Send(port.get(), "jpUnload", kUnloadTimeout, kUnloadTimeout, kCFRunLoopDefaultMode) ==
         kCFMessagePortSuccess;
}
