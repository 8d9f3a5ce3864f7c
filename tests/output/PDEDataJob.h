#pragma once
// A print job of the bundled sample as the dialog writes it: a session whose
// current printer is "ZPX Queue", the parsed sample, a data object on them,
// the printer preferences, temporary files and the workflow library's folder
// redirected below a fresh folder, and a bundle of the chosen server
// language. The job notes' user-authentication record is a fixed text, so
// the output does not depend on the clock. Restores all process-wide state.

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "output/PDEData.h"
#include "output/PrintSettingsTicket.h"
#include "output/ServerLanguageBundle.h"
#include "output/ZPXJobTicket.h"
#include "paths/PlatformPaths.h"
#include "plugin/SessionFunctions.h"
#include "security/JobNoteGlobalsTest.h"
#include "support/JobTicketBlocks.h"
#include "support/ParsedDocument.h"
#include "support/TempFolder.h"

class PDEDataJob {
 public:
  static constexpr const char* kRecord = "PACKED-RECORD";
  static constexpr const char* kPrinter = "ZPX Queue";

  explicit PDEDataJob(const std::string& language = "en",
                      const std::string& ppd = ZPX_BUNDLE "/samples/ZPX-Sample.ppd")
      : mBundle(language) {
    std::filesystem::create_directories(mFolder.Path() + "/home");
    PlatformPaths::Redirect(PlatformPaths::kHomeFolder, mFolder.Path() + "/home");
    PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mFolder.Path());
    PlatformPaths::Redirect(PlatformPaths::kApplicationSupport, mFolder.Path() + "/support");
    PMCreateSession(&mSession);
    PMPrinter printer = nullptr;
    CFRef<CFStringRef> name(CreateText(kPrinter));
    PMPrinterCreate(name.get(), CFSTR("ZPX 9000"), nullptr, nullptr, &printer);
    PMSessionSetCurrentPMPrinter(mSession, printer);
    PMRelease(printer);
    mDocument = ParseFile(ppd);
  }
  ~PDEDataJob() {
    mData.reset();
    PMRelease(mSession);
    PlatformPaths::ResetAll();
  }
  PDEDataJob(const PDEDataJob&) = delete;
  PDEDataJob& operator=(const PDEDataJob&) = delete;

  void SetOrientation(SInt32 orientation) {
    PMTicketRef ticket = nullptr;
    MyGetTicket(mSession, kPDE_PMPageFormatRef, ticket);
    PMTicketSetSInt32(ticket, CFSTR("test"), kPMOrientationKey, orientation, false);
  }
  // Made on first use, after the page format is set as the test wants it.
  PDEData& Data() {
    if (!mData) {
      mData.reset(new PDEData(mSession, mDocument.get(), nullptr));
      mData->SetUserAuthPacker(FixedRecord);
    }
    return *mData;
  }
  ZPXPPD& Document() { return *mDocument; }
  // The control's current value as the pane sets it (job notes take plain text).
  void Set(const char* keyword, const std::string& value) {
    CNTL_TYPE type = CNTL_NONE;
    PPDXControl* control = mDocument->GetControls()->Find(keyword, type, true);
    CFRef<CFStringRef> text(CreateText(value));
    if (control != nullptr) control->SetCurrentControlWithCFString(text.get());
  }
  // The control's current value as the pane shows it; "<none>" without it.
  std::string Current(const char* keyword) {
    CNTL_TYPE type = CNTL_NONE;
    PPDXControl* control = mDocument->GetControls()->Find(keyword, type, true);
    return control != nullptr ? TakeText(control->CopyCurrentControlValueString()) : "<none>";
  }
  PMPrintSession Session() const { return mSession; }
  const TempFolder& Folder() const { return mFolder; }

  // Two-way communication on for the printer, as the panel would store it.
  void EnableTwoWay() { Data().SetMelvanePrinterAddress(nullptr, CString("10.0.0.9"), true); }

  // Runs the output into a fresh job ticket; the blocks in order.
  std::vector<JobBlock> Output(OSStatus* status = nullptr) {
    PrintSettingsTicket settings(mSession);
    ZPXJobTicket jobTicket(&settings, CFSTR("ZPX.PSData.test"));
    const OSStatus result = Data().OutPostscriptData(&jobTicket);
    if (status != nullptr) *status = result;
    return JobTicketBlocks(jobTicket);
  }
  // The blocks as one text: each block after a line "@@ <site>".
  std::string Listing() {
    std::string text;
    for (const JobBlock& block : Output())
      text += "@@ " + std::to_string(block.site) + "\n" + block.bytes;
    return text;
  }

 private:
  static int FixedRecord(const char*, const char*, const char*, UAL_DomainType, int, char** out) {
    *out = static_cast<char*>(std::malloc(std::strlen(kRecord) + 1));
    std::strcpy(*out, kRecord);
    return 0;
  }

  TempFolder mFolder;
  ServerLanguageBundle mBundle;
  PMPrintSession mSession = nullptr;
  std::unique_ptr<ZPXPPD> mDocument;
  std::unique_ptr<PDEData> mData;
};
