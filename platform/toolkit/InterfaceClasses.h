#pragma once
// The classes an interface file may use, the control kind each becomes and
// the properties each takes, with the form of their values.

#include <string>

#include "carbon/MacTypes.h"

enum class PropertyForm {
  kText,         // any text
  kBoolean,      // True/False, true/false, yes/no, 1/0
  kSize,         // 0 to 32767
  kInteger,      // a 32-bit number
  kCode,         // exactly four characters (a command)
  kRole,         // document, movable-modal, sheet, sheet-alert
  kOrientation,  // horizontal, vertical
  kReference,    // the id of a GtkAdjustment of the file
};

class InterfaceClasses {
 public:
  // False for a class the toolkit does not know.
  static bool Known(const std::string& className);
  // The control kind (0 for GtkWindow, GtkAdjustment and GtkTreeViewColumn).
  static OSType Kind(const std::string& className);
  // False when the class takes no such property.
  static bool PropertyFormOf(const std::string& className, const std::string& property,
                             PropertyForm* outForm);
  // Whether `text` is a value of that form.
  static bool Valid(PropertyForm form, const std::string& text);
  static bool Boolean(const std::string& text);
  // A number already found Valid.
  static SInt32 Number(const std::string& text);
};
