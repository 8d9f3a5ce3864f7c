#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/Files.h"
#include "constraints/UIConstraints.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"
#include "support/ControlTestSupport.h"
#include "support/ParsedDocument.h"

namespace {

const std::string kSample = ZPX_BUNDLE "/samples/ZPX-Sample.ppd";

bool HasKey(CFDictionaryRef values, const std::string& key) {
  CFStringRef keyText = CreateText(key);
  bool has = CFDictionaryGetValue(values, keyText) != nullptr;
  CFRelease(keyText);
  return has;
}

// The document's declared constraint lines as texts, a requirement marked "requires".
std::vector<std::string> DeclaredLineTexts(const ZPXPPD& document) {
  UIConstraints& constraints = *document.GetUIConstraints();
  CStringSoup& texts = *constraints.GetConstraintStrings();
  std::vector<std::string> lines;
  for (const UIConstraints::DeclaredLine& line : constraints.DeclaredLines()) {
    std::string text = line.requirement ? "requires" : "excludes";
    for (std::int32_t id : {line.key1, line.option1, line.key2, line.option2})
      text += std::string(" ") + texts.Find(id);
    lines.push_back(text);
  }
  return lines;
}

CFArrayRef Names(std::vector<const char*> names) {
  CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  for (const char* name : names) {
    CFStringRef string = CreateText(name);
    CFArrayAppendValue(array, string);
    CFRelease(string);
  }
  return array;
}

bool NameCheck(const std::string& ppd, std::vector<const char*> names) {
  TempFile file(ppd);
  PPDFile ppdFile(file.Path());
  CFArrayRef list = Names(names);
  bool passed = ZPXPPD::ValidateAgainstPCFilename(list, &ppdFile);
  CFRelease(list);
  return passed;
}

// The blob flattened and read back, as the job receives it.
std::unique_ptr<Settings> Travel(ZPXPPD& document) {
  Settings settings;
  EXPECT_TRUE(document.Save(settings));
  return Unflattened(settings);
}

// Marks the saved control of that keyword invisible, as a blob written by a
// document with hidden controls holds it.
void HideSavedControl(Settings& blob, const std::string& keyword) {
  const unsigned long kKeyword = FourCC("KyWd");
  const unsigned long kVisible = FourCC("isVs");
  for (long index = 0; index < 10000; ++index) {
    std::unique_ptr<CString> saved(GetSettingsString(blob, kKeyword, index));
    if (saved == nullptr || keyword != static_cast<const char*>(*saved)) continue;
    const SInt32 hidden = 0;
    ASSERT_EQ(0, blob.Add(kVisible, index, &hidden, sizeof hidden));
    return;
  }
  FAIL() << "no saved control " << keyword;
}

// Keyword, value, parent and feature code of every control, and whether each
// choice of every popup is constrained.
std::string Model(ZPXPPD& document) {
  ZPXPPD::Options(DISPLAY_ALL);
  std::string model;
  CNTL_TYPE type;
  PPDXControls* controls = document.GetControls();
  std::vector<PPDXControl*> all;
  for (PPDXControl* control = controls->First(type); control; control = controls->Next(type))
    all.push_back(control);
  for (PPDXControl* control : all) {
    // A custom size is not kept in the blob.
    if (control->Type() == CNTL_CUSTOMPAGESIZE) continue;
    PPDXElement* parent = control->GetParent();
    model += std::string(control->Keyword()) + "=" + Value(document, control->Keyword()) + " in " +
             (parent != nullptr ? parent->Keyword() : "-") + "\n" + Emitted(*control);
    PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control);
    for (_PopupItem* item = popup ? popup->FirstItem() : nullptr; item; item = popup->NextItem())
      model += document.IsKVConstrained(control->Keyword(), *item->keyword) ? "x" : ".";
    model += "\n";
  }
  return model;
}

const std::string kHead =
    "*PPD-Adobe: \"4.3\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*%ZPXPropPage FPPage/Page: True\n"
    "*%ZPXGroupName Pane/Pane: True\n"
    "*%ZPXGroupName Roll/Options: True\n"
    "*%ZPXParent Pane/FPPage: True|Scrollpane\n"
    "*%ZPXParent Roll/Pane: True|Rolldown\n";

std::string PopupOfChoices(const std::string& key, const std::string& group,
                           const std::string& choices) {
  std::string text = "*%ZPXFlags *" + key + ": Setup\n*%ZPXGroup *" + key + " " + group + "/" +
                     key + "\n*OpenUI *" + key + "/" + key + ": PickOne\n";
  std::string first;
  for (size_t at = 0; at < choices.size();) {
    size_t end = choices.find(' ', at);
    std::string choice = choices.substr(at, end == std::string::npos ? end : end - at);
    if (first.empty()) first = choice;
    text += "*" + key + " " + choice + "/" + choice + ": \"(" + choice + ") pop\"\n";
    at = end == std::string::npos ? choices.size() : end + 1;
  }
  return text + "*Default" + key + ": " + first + "\n*CloseUI: *" + key + "\n";
}

class DisplayOptionsRestored : public ::testing::Test {
 protected:
  void TearDown() override { ZPXPPD::Options(mSaved); }
  _DISPLAY_OPTIONS_ mSaved = ZPXPPD::Options();
};

using ZPXPPDDocumentTest = DisplayOptionsRestored;

// A page size, a print size that may follow it, a media type that the print
// size constrains, an installable finisher and a tray that belongs nowhere.
const std::string kSmall = kHead + "*%ZPXGroupName ZPPPInstallableOptions/Installed: True\n" +
                           "*%ZPXParent ZPPPInstallableOptions/Pane: True|Rolldown\n" +
                           PopupOfChoices("PageSize", "Roll", "Letter A3") +
                           PopupOfChoices("ZPPrintSize", "Roll", "SameAsPageSize Letter A3") +
                           PopupOfChoices("ZPMediaType", "Roll", "Plain Transparency") +
                           PopupOfChoices("ZPFinisher", "ZPPPInstallableOptions", "None Stapler") +
                           PopupOfChoices("ZPTray", "Nowhere", "Upper Lower") +
                           "*UIConstraints: *ZPPrintSize A3 *ZPMediaType Transparency\n"
                           "*UIConstraints: *ZPMediaType Transparency *ZPPrintSize A3\n";

TEST_F(ZPXPPDDocumentTest, ValuesFollowTheDisplayOptionsAndSpareInstallableOptions) {
  TempFile file(kSmall);
  std::unique_ptr<ZPXPPD> document = ParseFile(file.Path());
  ZPXPPD::Options(DISPLAY_ATTACHED_VISIBLE);
  CFMutableDictionaryRef shown = document->CopyAllValues();
  ZPXPPD::Options(DISPLAY_ALL);
  CFMutableDictionaryRef all = document->CopyAllValues();
  EXPECT_TRUE(HasKey(shown, "*PageSize"));
  EXPECT_FALSE(HasKey(shown, "*ZPTray"));
  EXPECT_TRUE(HasKey(all, "*ZPTray"));
  EXPECT_EQ(5, CFDictionaryGetCount(all));

  CFDictionarySetValue(all, CFSTR("*PageSize"), CFSTR("A3"));
  CFDictionarySetValue(all, CFSTR("*ZPFinisher"), CFSTR("Stapler"));
  CFDictionarySetValue(all, CFSTR("*ZPTray"), kCFBooleanTrue);
  document->SetAllValues(all);
  EXPECT_EQ("A3", Value(*document, "*PageSize"));
  EXPECT_EQ("None", Value(*document, "*ZPFinisher"));
  EXPECT_EQ("Upper", Value(*document, "*ZPTray"));
  // The finisher takes a value given to it alone.
  SetValue(*document, "*ZPFinisher", "Stapler");
  EXPECT_EQ("Stapler", Value(*document, "*ZPFinisher"));
  CFRelease(shown);
  CFRelease(all);

  // A control saved hidden is left out under display option 0 as well.
  std::unique_ptr<Settings> blob = Travel(*document);
  HideSavedControl(*blob, "*ZPMediaType");
  ZPXPPD rebuilt(*blob, nullptr, nullptr);
  ZPXPPD::Options(DISPLAY_ATTACHED_VISIBLE);
  shown = rebuilt.CopyAllValues();
  EXPECT_TRUE(HasKey(shown, "*PageSize"));
  EXPECT_FALSE(HasKey(shown, "*ZPMediaType"));
  ZPXPPD::Options(DISPLAY_ALL);
  all = rebuilt.CopyAllValues();
  EXPECT_TRUE(HasKey(all, "*ZPMediaType"));
  CFRelease(shown);
  CFRelease(all);

  // Keys: exact, ASCII, at most 40 characters.
  EXPECT_EQ("<null>", Value(*document, "*PageSize" + std::string(40, ' ')));
  EXPECT_EQ("<null>", Value(*document, "*PageSiz"));
  EXPECT_EQ("<null>", Value(*document, "*PageSize\xC3\xA9"));
}

TEST_F(ZPXPPDDocumentTest, PrintSizeFollowingThePageSizeIsTestedAsThatSize) {
  TempFile file(kSmall);
  std::unique_ptr<ZPXPPD> document = ParseFile(file.Path());
  SetValue(*document, "*PageSize", "A3");
  EXPECT_TRUE(document->IsKVConstrained("*ZPMediaType", "Transparency"));
  const auto [otherKey, otherOption] = document->FindConflict("*ZPMediaType", "Transparency");
  EXPECT_STREQ(otherKey, "*ZPPrintSize");
  EXPECT_STREQ(otherOption, "A3");
  EXPECT_EQ("SameAsPageSize", Value(*document, "*ZPPrintSize"));
  EXPECT_FALSE(document->GetUIConstraints()->IsKVConstrained("*ZPMediaType", "Transparency"));
  SetValue(*document, "*PageSize", "Letter");
  EXPECT_FALSE(document->IsKVConstrained("*ZPMediaType", "Transparency"));
  EXPECT_EQ(document->FindConflict("*ZPMediaType", "Transparency").first, nullptr);
  SetValue(*document, "*ZPPrintSize", "A3");
  EXPECT_TRUE(document->IsKVConstrained("*ZPMediaType", "Transparency"));
}

TEST(ZPXPPDPrinterNameTest, NameMustStandAtThePCFileNameValueInTheHead) {
  const std::string head = "*PPD-Adobe: \"4.3\"\n";
  const std::string line = "*PCFileName:\t \"ZPX9000.PPD\"\n";
  EXPECT_TRUE(NameCheck(head + line, {"ZPX1000", "ZPX9000"}));
  EXPECT_TRUE(NameCheck(head + line, {"9000.PPD\""}));
  EXPECT_FALSE(NameCheck(head + line, {"zpx9000"}));
  EXPECT_FALSE(NameCheck(head + line, {}));
  EXPECT_FALSE(NameCheck(head, {"ZPX9000"}));
  // Only the 32 bytes after the value's start count.
  EXPECT_FALSE(
      NameCheck(head + "*PCFileName: \"" + std::string(40, 'x') + "ZPX9000\"\n", {"ZPX9000"}));
  EXPECT_FALSE(NameCheck(head + "*%" + std::string(4096, '-') + "\n" + line, {"ZPX9000"}));
  // A keyword at the very end of the head reads no byte beyond it.
  std::string atEnd = head + std::string(4096 - head.size() - 11, ' ') + "*PCFileName";
  EXPECT_FALSE(NameCheck(atEnd, {"ZPX9000"}));

  TempFile file(head + line);
  CFURLRef url = CreateFileURL(file.Path());
  CFArrayRef none = Names({});
  EXPECT_TRUE(ZPXPPD::ValidateFileName(url, nullptr, nullptr));
  EXPECT_FALSE(ZPXPPD::ValidateFileName(url, none, nullptr));
  CFRelease(none);
  CFRelease(url);
}

TEST(ZPXPPDPrinterNameTest, DocumentsFromALocationParseOnlyForThePrintersTheyServe) {
  TempFile file(kHead + "*PCFileName: \"ZPX9000.PPD\"\n" +
                PopupOfChoices("ZPTray", "Roll", "Upper Lower"));
  CFURLRef url = CreateFileURL(file.Path());
  FSSpec location;
  ASSERT_EQ(0, FSSpecFromPOSIXPath(file.Path(), &location));
  std::unique_ptr<ZPXPPD> documents[] = {
      std::make_unique<ZPXPPD>(url, PARSE_ALL, Names({"ZPX1000", "ZPX9000"})),
      std::make_unique<ZPXPPD>(location, PARSE_ALL, Names({"ZPX9000"})),
      std::make_unique<ZPXPPD>(url, PARSE_ALL, nullptr),
      std::make_unique<ZPXPPD>(location, PARSE_ALL, nullptr)};
  for (std::unique_ptr<ZPXPPD>& served : documents) {
    EXPECT_TRUE(served->IsValidPrinterName());
    EXPECT_TRUE(served->IsValidPPD());
    EXPECT_EQ("Upper", Value(*served, "*ZPTray"));
  }
  std::unique_ptr<ZPXPPD> refused[] = {std::make_unique<ZPXPPD>(url, PARSE_ALL, Names({"ZPX1000"})),
                                       std::make_unique<ZPXPPD>(location, PARSE_ALL, Names({}))};
  CFRelease(url);
  for (std::unique_ptr<ZPXPPD>& other : refused) {
    EXPECT_FALSE(other->IsValidPrinterName());
    EXPECT_FALSE(other->IsValidPPD());
    EXPECT_EQ(0u, other->GetErrors()->Count());
    EXPECT_EQ("<null>", Value(*other, "*ZPTray"));
    EXPECT_TRUE(other->GetControls()->Empty());
  }
}

TEST_F(ZPXPPDDocumentTest, RebuiltSampleEqualsTheDocumentItWasSavedFrom) {
  std::unique_ptr<ZPXPPD> document = ParseFile(kSample);
  SetValue(*document, "*PageSize", "A3");
  SetValue(*document, "*ZPMediaType", "Coated");
  SetValue(*document, "*ZPCopies", "12");
  std::unique_ptr<Settings> blob = Travel(*document);
  CFURLRef url = CreateFileURL(kSample);
  ZPXPPD rebuilt(*blob, url, Names({"ZPX9000"}));
  CFRelease(url);

  EXPECT_TRUE(rebuilt.IsValidPPD());
  EXPECT_TRUE(rebuilt.IsValidPrinterName());
  EXPECT_EQ(0u, rebuilt.GetErrors()->Count());
  EXPECT_STREQ(document->ModelName(), rebuilt.ModelName());
  EXPECT_STREQ(document->MakerVersion(), rebuilt.MakerVersion());
  EXPECT_TRUE(rebuilt == *document);
  EXPECT_EQ(Model(*document), Model(rebuilt));

  // A constraint entry cut anywhere is read up to the cut.
  long size = 0;
  ASSERT_EQ(0, blob->Get(7000, 1, nullptr, size, false));
  std::string packed(size_t(size), '\0');
  ASSERT_EQ(0, blob->Get(7000, 1, &packed[0], size, false));
  for (long cut : {3L, size / 2, size - 1}) {
    Settings damaged(*blob);
    damaged.Remove(7000, 1);
    damaged.Add(7000, 1, packed.data(), cut);
    ZPXPPD rebuiltAgain(damaged, nullptr, nullptr);
    EXPECT_TRUE(rebuiltAgain.IsValidPPD());
  }

  // Values alone go back into a document of the same PPD.
  std::unique_ptr<ZPXPPD> fresh = ParseFile(kSample);
  EXPECT_TRUE(fresh->Restore(*blob));
  EXPECT_EQ(Model(*document), Model(*fresh));
}

// Every declared line, those with a wildcard and the requirements included,
// answers in the rebuilt document as in the parsed one, whichever choice of
// whichever popup is made.
TEST_F(ZPXPPDDocumentTest, RebuiltConstraintsAnswerAsTheParsedOnesForEveryChoice) {
  std::unique_ptr<ZPXPPD> document = ParseFile(kSample);
  std::unique_ptr<Settings> blob = Travel(*document);
  ZPXPPD rebuilt(*blob, nullptr, nullptr);
  ASSERT_TRUE(rebuilt.IsValidPPD());
  // Every line comes back as it was declared, requirements as requirements.
  const std::vector<std::string> declared = DeclaredLineTexts(*document);
  EXPECT_EQ(declared, DeclaredLineTexts(rebuilt));
  EXPECT_NE(std::find(declared.begin(), declared.end(),
                      "requires *ZPBookletGap  *ZPOptionalFinisher Booklet"),
            declared.end());
  ZPXPPD::Options(DISPLAY_ALL);
  std::vector<std::pair<std::string, std::string>> choices;
  PPDXControls* controls = document->GetControls();
  for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup != nullptr;
       popup = controls->NextPopupControl()) {
    for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem())
      choices.emplace_back(popup->Keyword(), static_cast<const char*>(*item->keyword));
  }
  ASSERT_GT(choices.size(), 20u);
  for (const auto& [key, option] : choices) {
    SetValue(*document, key, option);
    SetValue(rebuilt, key, option);
    ASSERT_EQ(Model(*document), Model(rebuilt)) << "after choosing " << key << " " << option;
  }
}

TEST_F(ZPXPPDDocumentTest, RebuildCopesWithMissingEntriesAndAMovedFile) {
  std::unique_ptr<Settings> blob;
  {
    TempFile original(kHead + "*PCFileName: \"ZPX1.PPD\"\n" +
                      PopupOfChoices("ZPTray", "Roll", "Upper Lower"));
    std::unique_ptr<ZPXPPD> document = ParseFile(original.Path());
    ASSERT_EQ(nullptr, document->ModelName());
    SetValue(*document, "*ZPTray", "Lower");
    blob = Travel(*document);
  }
  long size = 0;
  EXPECT_NE(0, blob->Get(1000, 1008, nullptr, size, false));

  // The saved location is gone: the URL's file stands in.
  TempFile moved(kHead + "*PCFileName: \"ZPX1.PPD\"\n", "moved.ppd");
  CFURLRef movedURL = CreateFileURL(moved.Path());
  {
    ZPXPPD rebuilt(*blob, movedURL, nullptr);
    EXPECT_TRUE(rebuilt.IsValidPPD());
    EXPECT_EQ(nullptr, rebuilt.ModelName());
    ASSERT_NE(nullptr, rebuilt.File());
    EXPECT_EQ(moved.Path(), rebuilt.File()->path());
    EXPECT_EQ("Lower", Value(rebuilt, "*ZPTray"));
  }
  // Printer names that the file does not serve stop the rebuild.
  ZPXPPD refused(*blob, movedURL, Names({"ZPX2"}));
  EXPECT_FALSE(refused.IsValidPrinterName());
  EXPECT_EQ("<null>", Value(refused, "*ZPTray"));

  Settings noVersion(*blob);
  noVersion.Remove(1000, 1001);
  ZPXPPD empty(noVersion, movedURL, nullptr);
  CFRelease(movedURL);
  EXPECT_FALSE(empty.IsValidPPD());
  EXPECT_EQ(nullptr, empty.File());
  EXPECT_EQ("<null>", Value(empty, "*ZPTray"));
}

// The document's choices live in storage it releases at once; what a caller
// retained of them is its own and outlives the document.
TEST_F(ZPXPPDDocumentTest, PlatformStringsACallerRetainedOutliveTheDocument) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead + PopupOfChoices("ZPTray", "Roll", "Upper Lower"));
  PPDXPopupControl* tray = document->GetControls()->FindPopup("*ZPTray", true);
  ASSERT_NE(nullptr, tray);
  CFStringRef choiceName = tray->GetKeywordCFLocalName("Lower");
  CFStringRef controlName = tray->CFStringUserName();
  ASSERT_NE(nullptr, choiceName);
  CFRetain(choiceName);
  CFRetain(controlName);
  CFStringRef value = document->CopyValueForKey(CFSTR("*ZPTray"));
  document.reset();
  EXPECT_EQ("Lower", TakeText(choiceName));
  EXPECT_EQ("ZPTray", TakeText(controlName));
  EXPECT_EQ("Upper", TakeText(value));
}

// Replacing one popup's parsed or rebuilt choices deletes them in the middle of
// the document's life: the other popups' choices, codes and names stay whole.
std::string ChoicesAfterReplacingTheMiddlePopup(ZPXPPD& document) {
  PointerList items = Items({{"Top", "Top bin", "(Top) pop\n"}, {"Face", nullptr, nullptr}});
  EXPECT_TRUE(document.PPDReconcilePopupMenu("*ZPBin", "Bin", items, new CString("Face")));
  SetValue(document, "*ZPMediaType", "Glossy");
  PPDXControls* controls = document.GetControls();
  std::string choices;
  for (const char* key : {"*ZPTray", "*ZPBin", "*ZPMediaType"}) {
    PPDXPopupControl* popup = controls->FindPopup(key, true);
    if (popup == nullptr) return choices + "no " + key;
    for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem()) {
      choices += std::string(*item->keyword) + "/" +
                 (item->name != nullptr ? TextOf(item->name) : "-") + "/" +
                 std::string(reinterpret_cast<const char*>(item->psData), size_t(item->psLength)) +
                 " ";
    }
    choices += "= " + Emitted(*popup);
  }
  return choices;
}

TEST_F(ZPXPPDDocumentTest, ReplacingOnePopupsChoicesLeavesTheOthersIntact) {
  const std::string kReplaced =
      "Upper/Upper/(Upper) pop\n Lower/Lower/(Lower) pop\n "
      "= %%BeginFeature: *ZPTray Upper\n(Upper) pop\n%%EndFeature\n"
      "Top/Top bin/(Top) pop\n Face/-/ = %%BeginFeature: *ZPBin Face\n\n%%EndFeature\n"
      "Plain/Plain/(Plain) pop\n Glossy/Glossy/(Glossy) pop\n "
      "= %%BeginFeature: *ZPMediaType Glossy\n(Glossy) pop\n%%EndFeature\n";
  const std::string ppd = kHead + PopupOfChoices("ZPTray", "Roll", "Upper Lower") +
                          PopupOfChoices("ZPBin", "Roll", "Left Right Centre") +
                          PopupOfChoices("ZPMediaType", "Roll", "Plain Glossy");
  std::unique_ptr<ZPXPPD> parsed = ParseText(ppd);
  std::unique_ptr<Settings> blob = Travel(*parsed);
  EXPECT_EQ(ChoicesAfterReplacingTheMiddlePopup(*parsed), kReplaced);
  parsed.reset();
  ZPXPPD rebuilt(*blob, nullptr, nullptr);
  EXPECT_EQ(ChoicesAfterReplacingTheMiddlePopup(rebuilt), kReplaced);
}

// A choice without an option keyword is saved with an empty one and comes back
// with it: selected, it is still the value and its code is still emitted.
TEST_F(ZPXPPDDocumentTest, AChoiceWithAnEmptyKeywordSurvivesTheBlob) {
  std::unique_ptr<ZPXPPD> document = ParseText(kHead + PopupOfChoices("ZPTray", "Roll", "Upper"));
  PointerList items = Items({{"Top", nullptr, nullptr}, {"", "Blank", "(blank) pop\n"}});
  ASSERT_TRUE(document->PPDReconcilePopupMenu("*ZPTray", "Tray", items, nullptr));
  SetValue(*document, "*ZPTray", "");
  ZPXPPD rebuilt(*Travel(*document), nullptr, nullptr);
  PPDXPopupControl* tray = rebuilt.GetControls()->FindPopup("*ZPTray", true);
  ASSERT_NE(nullptr, tray);
  EXPECT_EQ("", Value(rebuilt, "*ZPTray"));
  EXPECT_EQ("%%BeginFeature: *ZPTray \n(blank) pop\n%%EndFeature\n", Emitted(*tray));
  EXPECT_EQ(2, tray->GetValue());
}

// Without a single popup choice, a document still keeps its controls' list
// nodes and flag words in its own storage, parsed or rebuilt, and reads them as
// before.
TEST_F(ZPXPPDDocumentTest, ControlListsAndFlagWordsLiveInTheDocumentStorage) {
  std::unique_ptr<ZPXPPD> document =
      ParseText(kHead +
                "*%ZPXFlags *ZPJog: Spooler|Setup\n*%ZPXGroup *ZPJog Roll/Jog\n*OpenUI *ZPJog/Jog: "
                "Boolean\n*DefaultZPJog: True\n*ZPJog True/On: \"on\"\n*ZPJog False/Off: \"off\"\n"
                "*CloseUI: *ZPJog\n");
  ASSERT_TRUE(document->IsValidPPD());
  EXPECT_GT(document->Storage().ChunkBytes(), 0u);
  ZPXPPD rebuilt(*Travel(*document), nullptr, nullptr);
  EXPECT_GT(rebuilt.Storage().ChunkBytes(), 0u);
  EXPECT_EQ(Model(*document), Model(rebuilt));
  for (ZPXPPD* model : {document.get(), &rebuilt}) {
    PPDXControl* jog = model->GetControls()->FindBoolean("*ZPJog", true);
    ASSERT_NE(jog, nullptr);
    EXPECT_TRUE(jog->IsSpooler() && jog->IsSetup() && !jog->IsDynamic());
  }
}

TEST_F(ZPXPPDDocumentTest, RunTimePopupsJoinTheirGroupAndRebuildInPlace) {
  TempFile file(kHead + PopupOfChoices("ZPTray", "Roll", "Upper Lower"));
  std::unique_ptr<ZPXPPD> document = ParseFile(file.Path());
  PointerList items;
  EXPECT_EQ(nullptr, document->PPDCreatePopupMenu(nullptr, "*ZPBin", "Bin", items, nullptr));
  PPDXPopupControl* bin = document->PPDCreatePopupMenu("Roll", "*ZPBin", "Bin", items, nullptr);
  ASSERT_NE(nullptr, bin);
  EXPECT_EQ(bin, document->GetPPDXControlForKey(CFSTR("*ZPBin")));
  ASSERT_NE(nullptr, bin->GetParent());
  EXPECT_STREQ("Roll", bin->GetParent()->Keyword());
  EXPECT_FALSE(document->PPDReconcilePopupMenu("*Missing", "Bin", items, nullptr));
}

}  // namespace
