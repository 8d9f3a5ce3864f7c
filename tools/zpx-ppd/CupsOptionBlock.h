#pragma once
// One option of the option model as a print server's PPD describes it, for
// the dialogs that show a queue's options: a pop-up or Boolean with its
// choices, display names, current choice as the default and each choice's
// feature code; a range as its current value and a custom value between its
// bounds; a job note as "None" (or its default text) and a custom text of its
// lengths, a passcode (a secret of digits), a password (another secret) or a
// string. A secret's text is never written.

#include <ostream>
#include <string>
#include <vector>

#include "TranslationText.h"

class PPDXBooleanControl;
class PPDXControl;
class PPDXFloatRangeControl;
class PPDXJobNote;
class PPDXPopupControl;
class PPDXRangeControl;

namespace zpxtool {

class CupsOptionBlock {
 public:
  // The name a custom value's code gives the value the print server puts on
  // the stack before it.
  static constexpr const char* kCustomValue = "ZPXCustomValue";
  // The choice of a job note without text.
  static constexpr const char* kNoText = "None";

  CupsOptionBlock(std::ostream& out, const TranslationText& text) : mOut(out), mText(text) {}

  // `kept`: lines of the maker's block that the model does not hold (its
  // *OrderDependency), written as they are.
  void Popup(PPDXPopupControl& popup, const std::string& kept);
  void Boolean(PPDXBooleanControl& control, const std::string& kept);
  void Range(PPDXRangeControl& range);
  void FloatRange(PPDXFloatRangeControl& range);
  void Note(PPDXJobNote& note);

  // Whether the text can be a choice's keyword in a PPD.
  static bool IsChoiceKeyword(const std::string& text);

 private:
  void Open(PPDXControl& control, const char* kind, const std::string& kept);
  void Default(PPDXControl& control, const std::string& choice);
  void Choice(PPDXControl& control, const std::string& choice, const std::string& name,
              std::string code);
  void Close(PPDXControl& control);
  void Custom(PPDXControl& control, std::string code, const std::string& parameter);
  // The model's feature code of the control's current value, without its frame.
  static std::string CurrentCode(PPDXControl& control);
  // The code of a custom value: the control's template taking the value the
  // print server puts on the stack; "pop" where the template cannot.
  static std::string CustomCode(PPDXControl& control);
  std::string CurrentValue(PPDXControl& control) const;
  void RangeCustom(PPDXControl& control, const char* type, const std::string& minimum,
                   const std::string& maximum);

  std::ostream& mOut;
  const TranslationText& mText;
};

}  // namespace zpxtool
