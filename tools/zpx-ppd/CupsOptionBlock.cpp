#include "CupsOptionBlock.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/UserChoice.h"
#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "plugin/TextBuffer.h"

namespace zpxtool {
namespace {

// The longest choice keyword a print server keeps.
constexpr size_t kMaxChoiceKeyword = 40;

std::string Snippet(PPDXControl& control) {
  const long length = control.PostScript(nullptr);
  std::string code(size_t(std::max(0L, length)), '\0');
  if (!code.empty()) control.PostScript(reinterpret_cast<unsigned char*>(&code[0]));
  return code;
}

// The data between a snippet's "%%BeginFeature" and "%%EndFeature" lines, less
// its last line end; "" for none.
std::string Unframed(const std::string& snippet) {
  static const char kEnd[] = "%%EndFeature\n";
  const size_t begin = snippet.find('\n');
  if (begin == std::string::npos) return "";
  std::string code = snippet.substr(begin + 1);
  if (code.size() >= sizeof kEnd - 1 &&
      code.compare(code.size() - (sizeof kEnd - 1), std::string::npos, kEnd) == 0)
    code.resize(code.size() - (sizeof kEnd - 1));
  if (!code.empty() && code.back() == '\n') code.pop_back();
  return code;
}

// Whether the position lies inside a PostScript string literal.
bool InsideString(const std::string& code, size_t position) {
  int depth = 0;
  for (size_t at = 0; at < position; ++at) {
    if (code[at] == '\\') {
      ++at;
    } else if (code[at] == '(') {
      ++depth;
    } else if (code[at] == ')' && depth > 0) {
      --depth;
    }
  }
  return depth > 0;
}

std::string Number(long value) { return std::to_string(value); }

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", double(value));
  return text;
}

}  // namespace

bool CupsOptionBlock::IsChoiceKeyword(const std::string& text) {
  if (text.empty() || text.size() > kMaxChoiceKeyword) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F && std::strchr("/:\"", byte) == nullptr;
  });
}

void CupsOptionBlock::Open(PPDXControl& control, const char* kind, const std::string& kept) {
  mOut << "*OpenUI " << control.Keyword() << "/" << mText.Of(control.CFStringUserName()) << ": "
       << kind << "\n"
       << kept;
}

void CupsOptionBlock::Default(PPDXControl& control, const std::string& choice) {
  mOut << "*Default" << (control.Keyword() + 1) << ": " << choice << "\n";
}

void CupsOptionBlock::Choice(PPDXControl& control, const std::string& choice,
                             const std::string& name, std::string code) {
  // The model keeps a choice's code with the line end the reader gives it.
  if (!code.empty() && code.back() == '\n') code.pop_back();
  mOut << control.Keyword() << " " << choice << "/" << name << ": \"" << code << "\"\n";
  if (code.find('\n') != std::string::npos) mOut << "*End\n";
}

void CupsOptionBlock::Close(PPDXControl& control) {
  mOut << "*CloseUI: " << control.Keyword() << "\n";
}

void CupsOptionBlock::Custom(PPDXControl& control, std::string code, const std::string& parameter) {
  if (!code.empty() && code.back() == '\n') code.pop_back();
  const char* key = control.Keyword() + 1;
  mOut << "*Custom" << key << " True/" << mText.OfUTF8("Custom") << ": \"" << code << "\"\n";
  if (code.find('\n') != std::string::npos) mOut << "*End\n";
  mOut << "*ParamCustom" << key << " Value/" << mText.Of(control.CFStringUserName()) << ": 1 "
       << parameter << "\n";
}

std::string CupsOptionBlock::CurrentCode(PPDXControl& control) {
  return Unframed(Snippet(control));
}

std::string CupsOptionBlock::CustomCode(PPDXControl& control) {
  const long length = control.PPDXControl::PostScript(nullptr);
  if (length < 1) return "pop";
  std::string plate(size_t(length), '\0');
  control.PPDXControl::PostScript(reinterpret_cast<unsigned char*>(&plate[0]));
  const std::string placeholder = std::string("(<") + control.Keyword() + ">)";
  for (size_t at = plate.find(placeholder); at != std::string::npos; at = plate.find(placeholder))
    plate.replace(at, placeholder.size(), kCustomValue);
  unsigned char* injected = nullptr;
  const long size =
      control.Inject(control.Keyword(), reinterpret_cast<const unsigned char*>(plate.data()),
                     long(plate.size()), kCustomValue, injected);
  std::string code(reinterpret_cast<const char*>(injected), size_t(std::max(0L, size)));
  std::free(injected);
  const size_t used = code.find(kCustomValue);
  // A comment line, or the value inside a longer string, cannot take it from the stack.
  if (used == std::string::npos || code.compare(0, 2, "%%") == 0 || InsideString(code, used))
    return "pop";
  return std::string("/") + kCustomValue + " exch def\n" + code;
}

std::string CupsOptionBlock::CurrentValue(PPDXControl& control) const {
  CFRef<CFStringRef> value(control.CopyCurrentControlValueString());
  return value ? UTF8Text(value.get()) : "";
}

void CupsOptionBlock::Popup(PPDXPopupControl& popup, const std::string& kept) {
  Open(popup, popup.CanSelectMultipleItems() ? "PickMany" : "PickOne", kept);
  std::string current;
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    if (item->keyword != nullptr && item->selected && current.empty()) current = *item->keyword;
  }
  const char* fallback = popup.GetDefaultKeyword();
  Default(popup, !current.empty() ? current : fallback != nullptr ? fallback : "");
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    if (item->keyword == nullptr) continue;
    const std::string code(reinterpret_cast<const char*>(item->psData),
                           item->psData != nullptr ? size_t(std::max(0L, item->psLength)) : 0);
    Choice(popup, static_cast<const char*>(*item->keyword), mText.Of(item->name), code);
  }
  Close(popup);
}

void CupsOptionBlock::Boolean(PPDXBooleanControl& control, const std::string& kept) {
  const bool current = control.IsTrue();
  Open(control, "Boolean", kept);
  Default(control, current ? "True" : "False");
  control.SetValue(true);
  Choice(control, "True", mText.OfUTF8(control.TrueDisplayText()), CurrentCode(control));
  control.SetValue(false);
  Choice(control, "False", mText.OfUTF8(control.FalseDisplayText()), CurrentCode(control));
  control.SetValue(current);
  Close(control);
}

void CupsOptionBlock::RangeCustom(PPDXControl& control, const char* type,
                                  const std::string& minimum, const std::string& maximum) {
  const std::string value = CurrentValue(control);
  Open(control, "PickOne", "");
  Default(control, value);
  Choice(control, value, mText.OfUTF8(value), CurrentCode(control));
  Close(control);
  Custom(control, CustomCode(control), std::string(type) + " " + minimum + " " + maximum);
}

void CupsOptionBlock::Range(PPDXRangeControl& range) {
  RangeCustom(range, "int", Number(range.MinVal()), Number(range.MaxVal()));
}

void CupsOptionBlock::FloatRange(PPDXFloatRangeControl& range) {
  RangeCustom(range, "real", Number(range.MinVal()), Number(range.MaxVal()));
}

void CupsOptionBlock::Note(PPDXJobNote& note) {
  const bool secret = UserChoice::IsSecret(note);
  const std::string text = note.GetNotes() != nullptr ? note.GetNotes() : "";
  const bool textChoice =
      !secret && IsChoiceKeyword(text) && strcasecmp(text.c_str(), "Custom") != 0;
  Open(note, "PickOne", "");
  Default(note, textChoice ? text : kNoText);
  if (!textChoice || strcasecmp(text.c_str(), kNoText) != 0)
    Choice(note, kNoText, mText.OfUTF8(kNoText), "");
  if (textChoice) Choice(note, text, mText.OfUTF8(text), CurrentCode(note));
  Close(note);
  const bool passcode = secret && note.IsNumeric() && !note.IsAlpha() && !note.IsDecimal() &&
                        !note.IsSpace() && !note.IsHyphen() && !note.IsMultiComma();
  const char* type = passcode ? "passcode" : secret ? "password" : "string";
  const long maximum = note.MaxLength() > 0 ? note.MaxLength() : 255;
  const long minimum = std::min(std::max(0L, note.MinLength()), maximum);
  Custom(note, secret ? "pop" : CustomCode(note),
         std::string(type) + " " + Number(minimum) + " " + Number(maximum));
}

}  // namespace zpxtool
