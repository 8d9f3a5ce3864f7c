// The job-level PostScript of PDEData: what the dialog puts into the job
// ticket when it synchronises with the print system.

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cstring>
#include <cwchar>

#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "output/EncodedText.h"
#include "output/PDEData.h"
#include "output/PDEKeywordTables.h"
#include "output/PrintfText.h"
#include "output/WideText.h"
#include "output/ZPXJobTicket.h"

namespace {

// The room, in characters and in bytes, of one pair's block.
constexpr size_t kPairBlockSize = 256;
// Option values the output compares or names.
constexpr size_t kValueSize = 64;
constexpr size_t kMailboxPathSize = 1024;
constexpr char kUTF8ByteOrderMarkHex[] = "EFBBBF";
constexpr char kUTF8ByteOrderMark[] = "\xEF\xBB\xBF";

// The pair's block as the controller reads it, in UTF-8; false when it does
// not fit its room, so that no block is ever sent cut short.
bool PairBlock(const wchar_t* format, const std::wstring& keyword, const std::wstring& value,
               std::string& block) {
  wchar_t wide[kPairBlockSize];
  if (std::swprintf(wide, kPairBlockSize, format, keyword.c_str(), value.c_str()) < 0) return false;
  return UTF8FromWide(wide, block) && block.size() < kPairBlockSize;
}

void AddText(ZPXJobTicket& jobTicket, PostScriptInjectionSite site, const std::string& text) {
  jobTicket.Add(site, text.data(), long(text.size()));
}

bool SameIgnoringCase(const std::string& first, const char* second) {
  return strcasecmp(first.c_str(), second) == 0;
}

// The value a bidirectional control reports may announce UTF-8 with the
// byte-order mark written out in hexadecimal; the controller wants the mark.
std::string WithByteOrderMark(const char* text) {
  const std::string value = text != nullptr ? text : "";
  if (value.compare(0, sizeof kUTF8ByteOrderMarkHex - 1, kUTF8ByteOrderMarkHex) != 0) return value;
  return kUTF8ByteOrderMark + value.substr(sizeof kUTF8ByteOrderMarkHex - 1);
}

// An empty file where nothing stands: never over an existing file, never
// through a link, with the permissions the user's umask leaves of 0666.
void CreateDestinationFile(const std::string& path) {
  const int descriptor =
      open(path.c_str(), O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0666);
  if (descriptor >= 0) close(descriptor);
}

}  // namespace

OSStatus PDEData::OutPostscriptData(ZPXJobTicket* jobTicket) {
  if (jobTicket == nullptr || !jobTicket->IsValid()) return paramErr;
  SuppressApplePostscript(jobTicket);
  if (mDocument->GetControls()->FindSpecialOption("*Durance", true) != nullptr)
    UploadRoutixXMLFiles(kUploadNewJob);
  AddFeatureCodes(*jobTicket);
  AddMMPairs(*jobTicket);
  const long orientation = AddJobNotes(*jobTicket);
  AddWatermark(*jobTicket, orientation);
  AddDynamicProfiles(*jobTicket);
  AddScaling(*jobTicket);
  AddBidiPairs(*jobTicket);
  AddCustomPrintSize(*jobTicket);
  AddPrintSize(*jobTicket);
  AddFileDestination(*jobTicket);
  return noErr;
}

void PDEData::SuppressApplePostscript(ZPXJobTicket* jobTicket) {
  if (jobTicket == nullptr || mDocument == nullptr) return;
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = mDocument->GetControls();
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    const char* keyword = control->Keyword();
    if (keyword != nullptr && std::strcmp(keyword, "*PageSize") != 0)
      jobTicket->Add(kPSInjectionSiteSuppressedFeature, keyword, long(std::strlen(keyword)));
  }
}

// Job notes and the special colour options have steps of their own; scaling
// and print size too; collation is the print system's.
bool PDEData::SkipsFeatureCode(PPDXControl* control, CNTL_TYPE type) const {
  const char* keyword = control->Keyword() != nullptr ? control->Keyword() : "";
  const bool orientation = std::strcmp(keyword, "*ZPOrientation") == 0;
  if (type == CNTL_JOBNOTE || isSpecialTintoraControl(keyword))
    return !(orientation && !control->IsNoNimboDriverUI());
  for (const char* own : {"*ZPScale", "*ZPPrintSize", "*Collate"})
    if (std::strcmp(keyword, own) == 0) return true;
  return orientation && control->IsNoNimboDriverUI();
}

void PDEData::AddFeatureCodes(ZPXJobTicket& jobTicket) {
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = mDocument->GetControls();
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type))
    if (!SkipsFeatureCode(control, type)) jobTicket.Add(kPSInjectionSiteFeatureCode, control);
}

void PDEData::AddMMPairs(ZPXJobTicket& jobTicket) {
  for (long i = 0; i < mMMCount; ++i) {
    std::string block;
    if (PairBlock(L"%%%%BeginFeature: %S %S\n%%%%EndFeature\n", mMMPairs[size_t(i)].keyword,
                  mMMPairs[size_t(i)].value, block))
      AddText(jobTicket, kPSInjectionSiteFeatureCode, block);
  }
}

// The page orientation the notes read from the page format, for the watermark.
long PDEData::AddJobNotes(ZPXJobTicket& jobTicket) {
  ZPXJobNoteList notes(mDocument, false);
  notes.SetUserAuthPacker(mPackUserAuth);
  notes.outInjectionData(&jobTicket, mSession);
  return notes.PageOrientation();
}

void PDEData::AddWatermark(ZPXJobTicket& jobTicket, long orientation) {
  ZPXWatermark* watermark = Watermark(mSelectedWatermark);
  if (watermark != nullptr)
    AddText(jobTicket, kPSInjectionSiteFeatureCode, watermark->PostScriptResource(orientation));
}

void PDEData::AddDynamicProfiles(ZPXJobTicket& jobTicket) {
  const bool twoWay = GetIPAddressEnabled();
  for (const DynamicProfilePair& row : kDynamicProfilePairs) {
    PPDXControl* plain = FindControl(row.plain);
    if (plain == nullptr) continue;
    PPDXControl* bidirectional = FindControl(row.bidirectional);
    if (!twoWay || bidirectional == nullptr) {
      jobTicket.Add(kPSInjectionSiteFeatureCode, plain);
      continue;
    }
    const std::string value = WithByteOrderMark(bidirectional->UserName());
    AddText(jobTicket, kPSInjectionSiteFeatureCode,
            PrintfText("%%%%BeginFeature: %s %s\n /XJXsetDynamicOption where\n        { pop (%s) "
                       "(%s) XJXsetDynamicOption } if\n%%%%EndFeature\n",
                       plain->Keyword(), value.c_str(), plain->Keyword(), value.c_str()));
  }
}

void PDEData::AddScaling(ZPXJobTicket& jobTicket) {
  PPDXRangeControl* scale = mDocument->GetControls()->FindRangeControl("*ZPScale", true);
  if (scale == nullptr) return;
  const long value = scale->GetValue();
  AddText(
      jobTicket, kPSInjectionSiteFeatureCode,
      PrintfText("%%%%BeginFeature: *ZPScale %d\n userdict /XJXZPXsetpageproperties known {  << "
                 "/XJXSetZPScale [ %.2f ] >> XJXZPXsetpageproperties } { /XJXSetZPScale where { "
                 "pop %.2f XJXSetZPScale } if } ifelse \n%%%%EndFeature\n",
                 int(value), value / 100.0, value / 100.0));
}

void PDEData::AddBidiPairs(ZPXJobTicket& jobTicket) {
  if (!GetIPAddressEnabled()) return;
  const bool japanese = ServerLanguage() == "ja";
  const TextEncoding macJapanese = CreateTextEncoding(
      kTextEncodingMacJapanese, kControllerJapaneseVariant, kTextEncodingDefaultFormat);
  long added = 0;
  for (const TextPair& pair : mBidiPairs) {
    std::string block;
    if (!PairBlock(L"%%%%BeginFeature: *%S %S\n%%%%EndFeature\n", pair.keyword, pair.value, block))
      continue;
    std::string converted;
    if (japanese && ConvertFromUTF8(block, macJapanese, converted)) block = converted;
    if (std::wcstol(pair.value.c_str(), nullptr, 10) == -1) continue;
    AddText(jobTicket, kPSInjectionSiteFeatureCode, block);
    ++added;
  }
  if (added == 0 || FindControl("*ZPPrintSize") == nullptr) return;
  const std::string size =
      PrintSizeIsCustom() ? "CustomPageSize0" : CurrentValue("*ZPPrintSize", kValueSize);
  AddText(jobTicket, kPSInjectionSiteFeatureCode,
          PrintfText("%%%%BeginFeature: %s %s\n%%%%EndFeature\n", "*ZPPCPPDSize", size.c_str()));
}

bool PDEData::PrintSizeIsCustom() const {
  return SameIgnoringCase(CurrentValue("*ZPPrintSize", kValueSize), "CustomPrintSize");
}

void PDEData::AddCustomPrintSize(ZPXJobTicket& jobTicket) {
  CNTL_TYPE type = CNTL_NONE;
  PPDXControl* control = mDocument->GetControls()->Find("*CustomPrintSize", type, true);
  if (control == nullptr || type != CNTL_CUSTOMPAGESIZE || !PrintSizeIsCustom()) return;
  auto* custom = static_cast<PPDXCustomPageSizeControl*>(control);
  const double width = custom->GetWidth(), height = custom->GetHeight();
  AddText(
      jobTicket, kPSInjectionSiteFeatureCode,
      PrintfText("%%%%BeginFeature: *CustomPrintSize %.2f %.2f\n   userdict "
                 "/XJXZPXsetpageproperties known\n   {<< /XJXsetPrintSize [ %.2f %.2f 0 0 1 ] >> "
                 "XJXZPXsetpageproperties} if\n%%%%EndFeature\n",
                 width, height, width, height));
}

void PDEData::AddPrintSize(ZPXJobTicket& jobTicket) {
  PPDXControl* printSize = FindControl("*ZPPrintSize");
  if (printSize == nullptr || FindControl("*PageSize") == nullptr) return;
  const std::string pageSize = CurrentValue("*PageSize", kValueSize);
  if (SameIgnoringCase(CurrentValue("*ZPPrintSize", kValueSize), pageSize.c_str()) &&
      !mDocumentPageSizeInUse)
    AddText(jobTicket, kPSInjectionSiteFeatureCode,
            "%%BeginFeature: *ZPPrintSize SameAsPageSize\n\n%%EndFeature\n");
  else
    jobTicket.Add(kPSInjectionSiteFeatureCode, printSize);
}

void PDEData::AddFileDestination(ZPXJobTicket& jobTicket) {
  if (FindControl("*ZPDestination") == nullptr || FindControl("*ZPMailboxName") == nullptr ||
      !SameIgnoringCase(CurrentValue("*ZPDestination", kValueSize), "File"))
    return;
  const std::string path = CurrentValue("*ZPMailboxName", kMailboxPathSize);
  AddText(jobTicket, kPSInjectionSiteFileDestination, path);
  // The print system writes the job's copy there, and says so when it cannot.
  CreateDestinationFile(path);
}
