#pragma once
// What forbids a control's current value: the other side of the first
// constraint that holds against the document's current choices, for a person
// to read ("*ZPStapler TopLeft conflicts with *ZPOptionalFinisher None").

#include <string>

class PPDXControl;
class ZPXPPD;

class ChoiceConflict {
 public:
  ChoiceConflict(ZPXPPD& document, PPDXControl& control);

  bool Exists() const { return !mOtherKey.empty(); }
  // The other side's keyword, with its "*"; "" without a conflict.
  const std::string& OtherKey() const { return mOtherKey; }
  // Both sides as keyword and choice; a job note's side is "*KEY's text",
  // never the text, which may be a PIN.
  std::string Describe() const;

 private:
  std::string mSide;
  std::string mOtherKey;
  std::string mOtherOption;
};
