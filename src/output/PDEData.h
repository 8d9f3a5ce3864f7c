#pragma once
// The dialog's data object: one parsed PPD with its print session, and the
// settings that are not PPD options (the watermarks and the selected one, the
// MM pairs, the four bidirectional pairs the job-properties application reads
// back from the printer). It keeps those settings in the print settings
// ticket, decides which controls the basic panel shows and writes the
// job-level PostScript into a job ticket.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/PPDXControl.h"
#include "cf/CFRef.h"
#include "comm/ZPXMelvanePrinterPList.h"
#include "foundation/CString.h"
#include "output/ZPXWatermark.h"
#include "print/PMPrintSession.h"
#include "security/ZPXJobNoteList.h"

class PrintSettingsTicket;
class ProjectPDE;
class ZPXJobTicket;
class ZPXPPD;

class PDEData {
 public:
  static constexpr long kMaxMMPairs = 255;
  static constexpr long kBidiPairCount = 4;
  static constexpr size_t kBidiKeywordSize = 19;
  static constexpr size_t kBidiValueSize = 512;
  static constexpr long kMaxWatermarks = 99;
  static constexpr long kNoWatermark = -1;
  // The upload mode that creates the job on the workflow server.
  static constexpr int kUploadNewJob = 2;

  // Without a current printer the object keeps only the document and the
  // session, and is not complete.
  PDEData(PMPrintSession session, ZPXPPD* document, ProjectPDE* extension);
  ~PDEData();
  PDEData(const PDEData&) = delete;
  PDEData& operator=(const PDEData&) = delete;

  // -1 without a valid ticket or client id; else the status of the last write.
  OSStatus SaveNonPSSettings(PrintSettingsTicket* settings, CFStringRef clientID);
  // -1 without a valid ticket; else 0.
  OSStatus RestoreNonPSSettings(PrintSettingsTicket* settings);
  // Appends the localized "N/A" to both texts.
  OSStatus GetSummaryLine(CFMutableStringRef title, CFMutableStringRef summary, bool& filled);
  bool IsValidBasicPanelControl(PPDXControl* control) const;
  // Every control's keyword but the page size's at the suppression site.
  void SuppressApplePostscript(ZPXJobTicket* jobTicket);
  // The job-level PostScript; paramErr (-50) without a valid job ticket.
  OSStatus OutPostscriptData(ZPXJobTicket* jobTicket);
  // Creates the job on the workflow server when its client library is
  // installed; ends silently otherwise.
  void UploadRoutixXMLFiles(int mode);

  long GetPageOrientationFromOS();
  void Set1CopiesToOS();
  long GetNumCopiesFromOS();

  // ---- The printer preferences store.
  bool GetIPAddressEnabled() const;
  // Saved at once.
  void SetIPAddressEnabled(bool enabled);
  // For this data object only: the stored file keeps its value.
  void TakeIPAddressEnabled(bool enabled);
  // The stored address (owned by the store), null without a store.
  CFStringRef GetMelvanePrinterAddress(CFStringRef name) const;
  CFStringRef GetMelvanePrinterAddress(CFStringRef name, bool* ipEnabled) const;
  // Null name: the current printer. Saved at once.
  void SetMelvanePrinterAddress(CFStringRef name, const CString& address, bool ipEnabled);
  void ResetMelvanePrinterList();
  bool SaveMelvanePrinterList();
  bool SaveWatermarksToPreferences();
  bool GetWatermarksFromPreferences();
  // The shortcut list's keywords; reading keeps those of controls that exist
  // and that the basic panel shows.
  bool SetPPDShortcuts(const std::vector<std::string>& keywords);
  bool GetPPDShortcuts(std::vector<std::string>& keywords) const;

  // ---- The settings that the panel edits.
  long WatermarkCount() const { return long(mWatermarks.size()); }
  ZPXWatermark* Watermark(long index) const;
  // False when the list is full.
  bool AddWatermark(const char* description);
  void DeleteWatermarks();
  long SelectedWatermark() const { return mSelectedWatermark; }
  void SelectWatermark(long index) { mSelectedWatermark = index; }

  long MMCount() const { return mMMCount; }
  const std::wstring& MMKeyword(long index) const { return mMMPairs[size_t(index)].keyword; }
  const std::wstring& MMValue(long index) const { return mMMPairs[size_t(index)].value; }
  // False when all pairs are in use.
  bool AddMMPair(const std::wstring& keyword, const std::wstring& value);
  void ClearMMPairs();

  // Texts beyond their room are cut.
  void SetBidiPair(long index, const std::wstring& keyword, const std::wstring& value);
  const std::wstring& BidiKeyword(long index) const { return mBidiPairs[size_t(index)].keyword; }
  const std::wstring& BidiValue(long index) const { return mBidiPairs[size_t(index)].value; }

  bool IsComplete() const { return mConstructionComplete; }
  // The pane could not set up what the model needs (its shared area).
  void MarkIncomplete() { mConstructionComplete = false; }
  bool IsReinitialized() const { return mReinitialized; }
  void SetReinitialized(bool on) { mReinitialized = on; }
  bool IsRestoredFromTicket() const { return mRestoredFromTicket; }
  void SetRestoredFromTicket(bool on) { mRestoredFromTicket = on; }
  void SetDocumentPageSizeInUse(bool on) { mDocumentPageSizeInUse = on; }
  bool IsDocumentPageSizeInUse() const { return mDocumentPageSizeInUse; }

  const std::string& PPDPath() const { return mPPDPath; }
  PMPrintSession Session() const { return mSession; }
  long PageOrientation() const { return mPageOrientation; }
  CFStringRef PrinterName() const { return mPrinterName.get(); }
  CFStringRef PrinterAddress() const { return mPrinterAddress.get(); }
  ZPXPPD* Document() const { return mDocument; }
  // The extension's document (borrowed), or null once the extension destroyed it.
  void SetDocument(ZPXPPD* document) { mDocument = document; }
  ProjectPDE* Extension() const { return mExtension; }

  // The packer of the job notes' user-authentication record, for tests.
  void SetUserAuthPacker(ZPXJobNoteList::UserAuthPacker packer) { mPackUserAuth = packer; }

 private:
  struct TextPair {
    std::wstring keyword;
    std::wstring value;
  };

  // ---- The steps of OutPostscriptData.
  void AddFeatureCodes(ZPXJobTicket& jobTicket);
  void AddMMPairs(ZPXJobTicket& jobTicket);
  long AddJobNotes(ZPXJobTicket& jobTicket);
  void AddWatermark(ZPXJobTicket& jobTicket, long orientation);
  void AddDynamicProfiles(ZPXJobTicket& jobTicket);
  void AddScaling(ZPXJobTicket& jobTicket);
  void AddBidiPairs(ZPXJobTicket& jobTicket);
  void AddCustomPrintSize(ZPXJobTicket& jobTicket);
  void AddPrintSize(ZPXJobTicket& jobTicket);
  void AddFileDestination(ZPXJobTicket& jobTicket);
  bool SkipsFeatureCode(PPDXControl* control, CNTL_TYPE type) const;

  PPDXControl* FindControl(const char* keyword) const;
  // The control's current value as UTF-8, cut to `size` bytes; empty without
  // the control.
  std::string CurrentValue(const char* keyword, size_t size) const;
  bool PrintSizeIsCustom() const;
  bool StoreBlob(int blobNumber, const std::vector<std::string>& lines);
  bool ReadBlob(int blobNumber, std::vector<std::string>& lines) const;

  std::string mPPDPath;
  ZPXPPD* mDocument;
  std::array<TextPair, kMaxMMPairs> mMMPairs;
  long mMMCount = 0;
  std::array<TextPair, kBidiPairCount> mBidiPairs;
  std::vector<std::unique_ptr<ZPXWatermark>> mWatermarks;
  long mSelectedWatermark = kNoWatermark;
  PMPrintSession mSession;
  ProjectPDE* mExtension;
  bool mConstructionComplete = false;
  bool mReinitialized = false;
  bool mRestoredFromTicket = false;
  bool mDocumentPageSizeInUse = false;
  long mPageOrientation = 0;
  CFRef<CFStringRef> mPrinterName;
  CFRef<CFStringRef> mPrinterAddress;
  std::unique_ptr<ZPXMelvanePrinterPList> mPreferences;
  ZPXJobNoteList::UserAuthPacker mPackUserAuth = AUTH_packAndEncrypt;
};
