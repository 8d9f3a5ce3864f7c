// The option model as JSON, for dump and load.

#include <cstring>
#include <string>
#include <vector>

#include "JsonWriter.h"
#include "NoteDefaultWarnings.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "foundation/CString.h"

namespace zpxtool {
namespace {

const char* ParentKeyword(const PPDXElement& element) {
  return element.GetParent() != nullptr ? element.GetParent()->Keyword() : nullptr;
}

void DumpElement(JsonWriter& json, PPDXElement& element) {
  json.Field("keyword", element.Keyword());
  json.Field("displayName", element.CFStringUserName());
  json.Field("visible", element.IsVisible());
  json.Field("parent", ParentKeyword(element));
}

void DumpHeader(JsonWriter& json, ZPXPPD& document) {
  json.Key("header");
  json.BeginObject();
  json.Field("formatVersion", document.FormatVersion());
  json.Field("fileVersion", document.FileVersion());
  json.Field("pcFileName", document.PCFileName());
  json.Field("languageVersion", document.LanguageVersion());
  json.Field("languageEncoding", document.LanguageEncoding());
  json.Field("modelName", document.ModelName());
  json.EndObject();
  json.Key("maker");
  json.BeginObject();
  json.Field("fileVersion", document.MakerFileVersion());
  json.Field("version", document.MakerVersion());
  json.EndObject();
}

void DumpProperties(JsonWriter& json, PPDXProperties& properties) {
  json.Key("properties");
  json.BeginArray();
  for (PPDXProperty* property = properties.First(); property != nullptr;
       property = properties.Next()) {
    json.BeginObject();
    DumpElement(json, *property);
    json.Field("showInPrintProperties", property->ShowInPrintProp());
    json.Field("showInApplication", property->ShowInApp());
    json.Field("scrollPane",
               property->GetScrollDown() ? property->GetScrollDown()->Keyword() : nullptr);
    json.EndObject();
  }
  json.EndArray();
}

const char* GroupKind(PPDXGroup* group) {
  if (dynamic_cast<PPDXRollDown*>(group) != nullptr) return "rollDown";
  if (dynamic_cast<PPDXScrollPane*>(group) != nullptr) return "scrollPane";
  return "group";
}

void DumpGroups(JsonWriter& json, PPDXGroups& groups) {
  json.Key("groups");
  json.BeginArray();
  for (PPDXGroup* group = groups.First(); group != nullptr; group = groups.Next()) {
    json.BeginObject();
    json.Field("kind", GroupKind(group));
    DumpElement(json, *group);
    if (PPDXRollDown* rollDown = dynamic_cast<PPDXRollDown*>(group)) {
      json.Key("controls");
      json.BeginArray();
      CNTL_TYPE type;
      PPDXControls* controls = rollDown->Controls();
      for (PPDXControl* control = controls->First(type); control != nullptr;
           control = controls->Next(type))
        json.String(control->Keyword());
      json.EndArray();
    }
    if (PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(group)) {
      json.Key("rollDowns");
      json.BeginArray();
      PPDXGroups* rollDowns = pane->RollDowns();
      for (PPDXGroup* rollDown = rollDowns->First(); rollDown != nullptr;
           rollDown = rollDowns->Next())
        json.String(rollDown->Keyword());
      json.EndArray();
    }
    json.EndObject();
  }
  json.EndArray();
}

void DumpFeature(JsonWriter& json, PPDXControl& control) {
  long size = control.PostScript(nullptr);
  std::string feature(size_t(size > 0 ? size : 0), '\0');
  if (size > 0) control.PostScript(reinterpret_cast<unsigned char*>(&feature[0]));
  json.Key("feature");
  json.Bytes(reinterpret_cast<const unsigned char*>(feature.data()), long(feature.size()));
}

void DumpPopup(JsonWriter& json, PPDXPopupControl& popup) {
  json.Field("pickMany", popup.CanSelectMultipleItems());
  json.Field("installable", popup.IsInstallableOption());
  json.Field("default", popup.GetDefaultKeyword());
  json.Field("value", popup.GetValue());
  json.Key("items");
  json.BeginArray();
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    json.BeginObject();
    json.Field("keyword",
               item->keyword != nullptr ? static_cast<const char*>(*item->keyword) : nullptr);
    json.Field("displayName", item->name);
    json.Key("postScript");
    json.Bytes(item->psData, item->psLength);
    json.Field("selected", item->selected);
    json.EndObject();
  }
  json.EndArray();
}

void DumpBoolean(JsonWriter& json, PPDXBooleanControl& control) {
  json.Field("default", control.DefaultState());
  json.Field("value", control.IsTrue());
  json.Field("trueText", control.TrueDisplayText());
  json.Field("falseText", control.FalseDisplayText());
}

template <typename Range>
void DumpRange(JsonWriter& json, Range& range) {
  json.Field("minimum", range.MinVal());
  json.Field("maximum", range.MaxVal());
  json.Field("increment", range.Increment());
  json.Field("default", range.DefaultValue());
  json.Field("value", range.GetValue());
}

void DumpJobNote(JsonWriter& json, PPDXJobNote& note) {
  json.Field("noteFlags", static_cast<unsigned long>(note.Flags().Value()));
  json.Field("maxLength", note.MaxLength());
  json.Field("minLength", note.MinLength());
  json.Field("default", note.GetDefaultNotes());
  json.Field("value", note.GetNotes());
}

void DumpCustomPageSize(JsonWriter& json, PPDXCustomPageSizeControl& size) {
  json.Field("minWidth", size.MinWidth());
  json.Field("maxWidth", size.MaxWidth());
  json.Field("minHeight", size.MinHeight());
  json.Field("maxHeight", size.MaxHeight());
  json.Field("width", size.GetWidth());
  json.Field("height", size.GetHeight());
}

const char* ControlKind(CNTL_TYPE type) {
  static const char* const kKinds[] = {"none",    "jobNote", "range",   "floatRange",
                                       "boolean", "popup",   "special", "customPageSize"};
  return type >= CNTL_NONE && type <= CNTL_CUSTOMPAGESIZE ? kKinds[type] : "none";
}

void DumpControl(JsonWriter& json, PPDXControl& control, CNTL_TYPE type) {
  json.BeginObject();
  json.Field("kind", ControlKind(type));
  DumpElement(json, control);
  json.Key("flags");
  json.BeginArray();
  for (const char* flag = control.FirstControlFlag(); flag != nullptr;
       flag = control.NextControlFlag())
    json.String(flag);
  json.EndArray();
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) DumpPopup(json, *popup);
  if (auto* boolean = dynamic_cast<PPDXBooleanControl*>(&control)) DumpBoolean(json, *boolean);
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control)) DumpRange(json, *range);
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control)) DumpRange(json, *range);
  if (auto* note = dynamic_cast<PPDXJobNote*>(&control)) DumpJobNote(json, *note);
  if (auto* special = dynamic_cast<PPDXSpecialOption*>(&control))
    json.Field("value", static_cast<const char*>(*special->GetValue()));
  if (auto* size = dynamic_cast<PPDXCustomPageSizeControl*>(&control))
    DumpCustomPageSize(json, *size);
  DumpFeature(json, control);
  json.EndObject();
}

void DumpControls(JsonWriter& json, PPDXControls& controls) {
  json.Key("controls");
  json.BeginArray();
  CNTL_TYPE type;
  for (PPDXControl* control = controls.First(type); control != nullptr;
       control = controls.Next(type))
    DumpControl(json, *control, type);
  json.EndArray();
}

void DumpShortcuts(JsonWriter& json, PPDXShortcuts* shortcuts) {
  json.Key("shortcuts");
  json.BeginArray();
  for (PPDXPopupControl* popup = shortcuts ? shortcuts->First() : nullptr; popup != nullptr;
       popup = shortcuts->Next())
    json.String(popup->Keyword());
  json.EndArray();
}

void DumpWarnings(JsonWriter& json, const std::vector<Warning>& warnings) {
  json.Key("warnings");
  json.BeginArray();
  for (const Warning& warning : warnings) {
    json.BeginObject();
    json.Field("line", warning.line);
    json.Field("keyword", warning.keyword.c_str());
    json.Field("description", warning.description.c_str());
    json.EndObject();
  }
  json.EndArray();
}

void DumpErrors(JsonWriter& json, PPDXErrors& errors) {
  json.Key("errors");
  json.BeginArray();
  for (PPDXErrorObj* error = errors.First(); error != nullptr; error = errors.Next()) {
    json.BeginObject();
    json.Field("code", int(error->Code()));
    json.Field("fatal", error->IsFatal());
    json.Field("keyword", error->Keyword());
    json.Field("description", error->Description());
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

void WriteJson(ZPXPPD& document, const char* path, const std::vector<Warning>& warnings) {
  // Every element, hidden and orphaned ones included.
  _DISPLAY_OPTIONS_ saved = ZPXPPD::Options();
  ZPXPPD::Options(DISPLAY_ALL);
  JsonWriter json;
  json.BeginObject();
  json.Field("file", path);
  json.Field("valid", document.IsValidPPD());
  DumpHeader(json, document);
  DumpProperties(json, *document.GetProperties());
  DumpGroups(json, *document.GetGroups());
  DumpControls(json, *document.GetControls());
  DumpShortcuts(json, document.GetShortcuts());
  DumpErrors(json, *document.GetErrors());
  DumpWarnings(json, warnings);
  json.EndObject();
  json.End();
  ZPXPPD::Options(saved);
}

int Dump(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[0], "--json") != 0) return Usage("dump --json FILE");
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[1]);
  if (!document) return kExitNotPPD;
  ScanReport report;
  PPDScanner(argv[1]).ScanFile(report);  // a file without the header leaves it empty
  WriteJson(*document, argv[1], NoteDefaultWarnings(*document, report));
  return document->IsValidPPD() ? kExitPPD : kExitNotPPD;
}

}  // namespace zpxtool
