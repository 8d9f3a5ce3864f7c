// zpx-ppd: command-line access to the option model of a PPD file.
//
//   zpx-ppd scan FILE   reads FILE the way the document parser does and
//                       reports its header, its *PCFileName, how many lines
//                       and main keywords it has and which line, if any,
//                       stops a parse.
//   zpx-ppd check FILE  parses FILE into the option model (orphans and
//                       hidden elements included, as the plug-in does) and
//                       lists every parse error and whether the document is
//                       valid.
//   zpx-ppd dump --json FILE
//                       the parsed option model as one JSON object (the
//                       schema is in doc/zpx-ppd-json.md).
//
// Exit status: 0 for a readable (scan) or valid (check, dump) PPD, 1 for a
// file that is not one (missing, unreadable, empty, no *PPD-Adobe "4.3"
// header, or a fatal parse error), 2 for a usage error. Reports go to
// standard output; errors of the tool itself go to standard error.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

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
#include "PPDX/PPDX.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/MacErrors.h"
#include "carbon/Resources.h"
#include "cf/CoreFoundation.h"
#include "foundation/BoyerMoore.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"
#include "foundation/PPDStream.h"

namespace {

enum ExitStatus { kExitPPD = 0, kExitNotPPD = 1, kExitUsage = 2 };

const char kTool[] = "zpx-ppd";
const char kHeaderKeyword[] = "*PPD-Adobe";
const char kHeaderVersion[] = "4.3";
const char kPCFileNameKeyword[] = "*PCFileName";
// The printer-name check looks for *PCFileName only in the head of the file.
const unsigned long kHeadBytes = 4096;
const unsigned long kQuotedCapacity = 256;

// Counts the lines that a parse would take from the file (line ends consumed),
// including those that value readers take for continuations.
class LineCountingStream : public PPDFileStream {
 public:
  using PPDFileStream::PPDFileStream;

  bool GetLine(char* out) override {
    bool complete = PPDFileStream::GetLine(out);
    if (complete) ++mLines;
    return complete;
  }

  long Lines() const { return mLines; }

 private:
  long mLines = 0;
};

enum LineResult { kLineComplete, kLineTooLong, kLineByte255, kLineUnterminated, kNoMoreLines };

struct ScanReport {
  long lines = 0;
  long mainKeywords = 0;
  long stopLine = 0;
  LineResult stopReason = kLineComplete;
};

const char* StopText(LineResult reason) {
  switch (reason) {
    case kLineTooLong:
      return "longer than 255 bytes";
    case kLineByte255:
      return "holds a byte 255";
    case kLineUnterminated:
      return "last line has no line end";
    default:
      return "none";
  }
}

// Main keywords are the lines whose first token begins with "*", leaving out
// the "*End" that closes a long value and comments ("*%...") other than the
// maker's extension keywords ("*%ZP...", "*%ParamCustomPrintSize").
bool IsMainKeyword(const char* token) {
  if (token[0] != '*' || std::strcmp(token, "*End") == 0) return false;
  return token[1] != '%' || std::strncmp(token, "*%ZP", 4) == 0 ||
         std::strcmp(token, "*%ParamCustomPrintSize") == 0;
}

// Reads a PPD with the document's stream and token readers, keeping counts.
class PPDScanner : public PPDX {
 public:
  explicit PPDScanner(const char* path) : PPDX(new PPDFile(path)) {}

  // The quoted value of the first *PCFileName in the head of the file; false
  // when there is none.
  bool FindPCFileName(char* value) {
    char head[kHeadBytes] = {};
    unsigned long count = kHeadBytes;
    if (File()->openDataFork(fsRdPerm) != noErr) return false;
    File()->dataForkRead(head, &count);
    File()->closeDataFork();
    BoyerMoore search;
    search.SetSearchString(kPCFileNameKeyword, static_cast<short>(std::strlen(kPCFileNameKeyword)));
    search.SetSearchData(head, static_cast<long>(count));
    long found = search.Search();
    if (found < 0) return false;
    char line[PPDStream::kMaxLine + 1];
    PPDStream rest(head + found, static_cast<long>(count) - found);
    rest.GetLine(line);
    PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
    char token[PPDStream::kMaxLine + 1];
    return NextToken(lineStream, token, " \t:", true) && std::strcmp(token, kPCFileNameKeyword) == 0 &&
           GetQuotedString(lineStream, value, kQuotedCapacity);
  }

  // The parser's header test: the first token of the file is exactly
  // *PPD-Adobe and its quoted value exactly "4.3".
  bool HeaderIsPPD43(LineCountingStream& stream) {
    char token[PPDStream::kMaxLine + 1];
    char version[kQuotedCapacity];
    SetStream(&stream);
    bool passed = NextToken(stream, token, " \t:", true) && std::strcmp(token, kHeaderKeyword) == 0 &&
                  GetQuotedString(stream, version, kQuotedCapacity) &&
                  std::strcmp(version, kHeaderVersion) == 0;
    SetStream(nullptr);
    return passed;
  }

  ScanReport ScanLines(LineCountingStream& stream) {
    ScanReport report;
    report.mainKeywords = 1;  // *PPD-Adobe, read by the header test
    char line[PPDStream::kMaxLine + 1];
    for (;;) {
      long lineNumber = stream.Lines() + 1;
      LineResult result = NextLine(stream, line);
      if (result == kNoMoreLines) break;
      if (result != kLineComplete && report.stopLine == 0) {
        report.stopLine = lineNumber;
        report.stopReason = result;
      }
      if (result == kLineUnterminated) ++report.lines;
      PPDStream lineStream(line, static_cast<long>(std::strlen(line)));
      char token[PPDStream::kMaxLine + 1];
      if (NextToken(lineStream, token, " \t:", true) && IsMainKeyword(token)) ++report.mainKeywords;
    }
    report.lines += stream.Lines();
    return report;
  }

 private:
  // Reads one line of the file, going past a line that stops a parse so that
  // the counts cover the whole file.
  static LineResult NextLine(LineCountingStream& stream, char* line) {
    if (stream.GetLine(line)) return kLineComplete;
    if (stream.EndOfFile() || stream.Bad()) return line[0] != '\0' ? kLineUnterminated : kNoMoreLines;
    LineResult result = stream.PeekChar() == 255 ? kLineByte255 : kLineTooLong;
    SkipRestOfLine(stream);
    return result;
  }

  static void SkipRestOfLine(LineCountingStream& stream) {
    char rest[PPDStream::kMaxLine + 1];
    for (;;) {
      char skipped;
      if (stream.PeekChar() == 255) stream.GetChar(skipped);
      if (stream.GetLine(rest) || stream.EndOfFile() || stream.Bad()) return;
    }
  }
};

int Fail(const char* path, const char* reason) {
  std::fprintf(stderr, "%s: %s: %s\n", kTool, path, reason);
  return kExitNotPPD;
}

int Scan(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: %s scan FILE\n", kTool);
    return kExitUsage;
  }
  const char* path = argv[0];
  PPDScanner scanner(path);
  PPDFile* file = scanner.File();
  if (!file->exists()) return Fail(path, "cannot open the file (not found or not a file)");
  char pcFileName[kQuotedCapacity];
  bool hasPCFileName = scanner.FindPCFileName(pcFileName);
  LineCountingStream stream(file, true);
  if (stream.Bad()) return Fail(path, file->dataForkSize() == 0 ? "empty file" : "cannot read the file");
  if (!scanner.HeaderIsPPD43(stream)) return Fail(path, "not a PPD 4.3 file (no *PPD-Adobe: \"4.3\" header)");
  ScanReport report = scanner.ScanLines(stream);
  std::printf("file: %s\n", path);
  std::printf("header: %s \"%s\"\n", kHeaderKeyword, kHeaderVersion);
  if (hasPCFileName)
    std::printf("PCFileName: \"%s\"\n", pcFileName);
  else
    std::printf("PCFileName: none in the first %lu bytes\n", kHeadBytes);
  std::printf("lines: %ld\n", report.lines);
  std::printf("main keywords: %ld\n", report.mainKeywords);
  if (report.stopLine == 0)
    std::printf("stop: none\n");
  else
    std::printf("stop: line %ld: %s\n", report.stopLine, StopText(report.stopReason));
  return kExitPPD;
}

// The parsed document of a file, with the error texts of the bundle loaded
// while it is parsed. Null when the path cannot be a file URL.
std::unique_ptr<ZPXPPD> ParseDocument(const char* path) {
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path), CFIndex(std::strlen(path)), false);
  if (url == nullptr) return nullptr;
  short resources = OpenStringListFile(ZPX_BUNDLE "/Resources", "ZPXPDE.strlist");
  if (resources < 0) std::fprintf(stderr, "%s: the error texts of the bundle cannot be read\n", kTool);
  std::unique_ptr<ZPXPPD> document(new ZPXPPD(url, PARSE_ALL));
  if (resources >= 0) CloseResFile(resources);
  CFRelease(url);
  return document;
}

int Check(int argc, char** argv) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: %s check FILE\n", kTool);
    return kExitUsage;
  }
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
  if (!document) return Fail(argv[0], "not a usable file path");
  PPDXErrors* errors = document->GetErrors();
  std::printf("file: %s\n", argv[0]);
  for (PPDXErrorObj* error = errors->First(); error != nullptr; error = errors->Next()) {
    const char* keyword = error->Keyword();
    const char* description = error->Description();
    std::printf("error %d (%s) %s: %s\n", error->Code(), error->IsFatal() ? "fatal" : "not fatal",
                keyword != nullptr ? keyword : "-", description != nullptr ? description : "");
  }
  std::printf("errors: %lu\n", errors->Count());
  bool valid = document->IsValidPPD();
  std::printf("valid: %s\n", valid ? "yes" : "no");
  return valid ? kExitPPD : kExitNotPPD;
}

// Writes JSON values to standard output; texts are UTF-8, and bytes that are
// not (PostScript may hold any byte) are written as \u00XX escapes.
class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }

  void Key(const char* key) {
    Separate();
    Text(key, std::strlen(key));
    std::fputc(':', stdout);
    mAfterKey = true;
  }

  void String(const char* text) {
    if (text == nullptr) return Null();
    Value();
    Text(text, std::strlen(text));
  }
  void Bytes(const unsigned char* bytes, long length) {
    Value();
    Text(reinterpret_cast<const char*>(bytes), size_t(length > 0 ? length : 0));
  }
  void String(CFStringRef text) {
    if (text == nullptr) return Null();
    CFIndex capacity = CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), kCFStringEncodingUTF8) + 1;
    std::string buffer(size_t(capacity), '\0');
    if (!CFStringGetCString(text, &buffer[0], capacity, kCFStringEncodingUTF8)) return Null();
    String(buffer.c_str());
  }
  void Bool(bool value) { Raw(value ? "true" : "false"); }
  void Number(long value) { Raw(std::to_string(value).c_str()); }
  void Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.9g", value);
    Raw(text);
  }
  void Null() { Raw("null"); }
  void End() { std::fputc('\n', stdout); }

  template <typename T>
  void Field(const char* key, T value) {
    Key(key);
    Write(value);
  }

 private:
  void Write(const char* text) { String(text); }
  void Write(CFStringRef text) { String(text); }
  void Write(bool value) { Bool(value); }
  void Write(long value) { Number(value); }
  void Write(int value) { Number(long(value)); }
  void Write(unsigned long value) { Number(long(value)); }
  void Write(double value) { Number(value); }
  void Write(float value) { Number(double(value)); }

  void Open(char bracket) {
    Value();
    std::fputc(bracket, stdout);
    mFirst = true;
  }
  void Close(char bracket) {
    std::fputc(bracket, stdout);
    mFirst = false;
  }
  void Separate() {
    if (!mFirst) std::fputc(',', stdout);
    mFirst = false;
  }
  void Value() {
    if (mAfterKey)
      mAfterKey = false;
    else
      Separate();
  }
  void Raw(const char* text) {
    Value();
    std::fputs(text, stdout);
  }
  static void Text(const char* text, size_t length) {
    std::fputc('"', stdout);
    for (size_t i = 0; i < length; ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      size_t sequence = Utf8SequenceLength(text + i, length - i);
      if (c == '"' || c == '\\') {
        std::fputc('\\', stdout);
        std::fputc(c, stdout);
      } else if (c == '\n') {
        std::fputs("\\n", stdout);
      } else if (c < 0x20 || c == 0x7f || (c >= 0x80 && sequence == 0)) {
        std::printf("\\u%04x", c);
      } else if (c >= 0x80) {
        std::fwrite(text + i, 1, sequence, stdout);
        i += sequence - 1;
      } else {
        std::fputc(c, stdout);
      }
    }
    std::fputc('"', stdout);
  }
  // The length of the well-formed UTF-8 sequence that starts a multi-byte
  // character at `text`, or 0.
  static size_t Utf8SequenceLength(const char* text, size_t available) {
    unsigned char lead = static_cast<unsigned char>(text[0]);
    size_t length = lead >= 0xf0 && lead <= 0xf4 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 && lead < 0xe0 ? 2 : 0;
    if (length == 0 || length > available) return 0;
    for (size_t i = 1; i < length; ++i) {
      if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80) return 0;
    }
    return length;
  }

  bool mFirst = true;
  bool mAfterKey = false;
};

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
  for (PPDXProperty* property = properties.First(); property != nullptr; property = properties.Next()) {
    json.BeginObject();
    DumpElement(json, *property);
    json.Field("showInPrintProperties", property->ShowInPrintProp());
    json.Field("showInApplication", property->ShowInApp());
    json.Field("scrollPane", property->GetScrollDown() ? property->GetScrollDown()->Keyword() : nullptr);
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
      for (PPDXControl* control = controls->First(type); control != nullptr; control = controls->Next(type))
        json.String(control->Keyword());
      json.EndArray();
    }
    if (PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(group)) {
      json.Key("rollDowns");
      json.BeginArray();
      PPDXGroups* rollDowns = pane->RollDowns();
      for (PPDXGroup* rollDown = rollDowns->First(); rollDown != nullptr; rollDown = rollDowns->Next())
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
    json.Field("keyword", item->keyword != nullptr ? static_cast<const char*>(*item->keyword) : nullptr);
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
  for (const char* flag = control.FirstControlFlag(); flag != nullptr; flag = control.NextControlFlag())
    json.String(flag);
  json.EndArray();
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) DumpPopup(json, *popup);
  if (auto* boolean = dynamic_cast<PPDXBooleanControl*>(&control)) DumpBoolean(json, *boolean);
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control)) DumpRange(json, *range);
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control)) DumpRange(json, *range);
  if (auto* note = dynamic_cast<PPDXJobNote*>(&control)) DumpJobNote(json, *note);
  if (auto* special = dynamic_cast<PPDXSpecialOption*>(&control))
    json.Field("value", static_cast<const char*>(*special->GetValue()));
  if (auto* size = dynamic_cast<PPDXCustomPageSizeControl*>(&control)) DumpCustomPageSize(json, *size);
  DumpFeature(json, control);
  json.EndObject();
}

void DumpControls(JsonWriter& json, PPDXControls& controls) {
  json.Key("controls");
  json.BeginArray();
  CNTL_TYPE type;
  for (PPDXControl* control = controls.First(type); control != nullptr; control = controls.Next(type))
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

int Dump(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[0], "--json") != 0) {
    std::fprintf(stderr, "usage: %s dump --json FILE\n", kTool);
    return kExitUsage;
  }
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[1]);
  if (!document) return Fail(argv[1], "not a usable file path");
  // Every element, hidden and orphaned ones included.
  _DISPLAY_OPTIONS_ saved = ZPXPPD::Options();
  ZPXPPD::Options(DISPLAY_ALL);
  JsonWriter json;
  json.BeginObject();
  json.Field("file", argv[1]);
  json.Field("valid", document->IsValidPPD());
  DumpHeader(json, *document);
  DumpProperties(json, *document->GetProperties());
  DumpGroups(json, *document->GetGroups());
  DumpControls(json, *document->GetControls());
  DumpShortcuts(json, document->GetShortcuts());
  DumpErrors(json, *document->GetErrors());
  json.EndObject();
  json.End();
  ZPXPPD::Options(saved);
  return document->IsValidPPD() ? kExitPPD : kExitNotPPD;
}

struct Command {
  const char* name;
  const char* arguments;
  int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"scan", "FILE", Scan},
    {"check", "FILE", Check},
    {"dump", "--json FILE", Dump},
};

// One line that lists every command.
void PrintUsage() {
  std::fprintf(stderr, "usage:");
  const char* separator = " ";
  for (const Command& command : kCommands) {
    std::fprintf(stderr, "%s%s %s %s", separator, kTool, command.name, command.arguments);
    separator = " | ";
  }
  std::fprintf(stderr, "\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return kExitUsage;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
  }
  std::fprintf(stderr, "%s: unknown command \"%s\"\n", kTool, argv[1]);
  return kExitUsage;
}
