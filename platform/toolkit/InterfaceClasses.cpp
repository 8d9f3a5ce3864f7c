#include "toolkit/InterfaceClasses.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

#include "toolkit/Controls.h"

namespace {

using Forms = std::map<std::string, PropertyForm>;

struct ClassEntry {
  OSType kind;
  Forms properties;
};

Forms WithWidgetProperties(Forms own) {
  own.insert({{"visible", PropertyForm::kBoolean},
              {"sensitive", PropertyForm::kBoolean},
              {"width-request", PropertyForm::kSize},
              {"height-request", PropertyForm::kSize},
              {"name", PropertyForm::kCode}});
  return own;
}

const std::map<std::string, ClassEntry>& Table() {
  static const auto* sTable = new std::map<std::string, ClassEntry>{
      {"GtkWindow",
       {0,
        {{"title", PropertyForm::kText},
         {"role", PropertyForm::kRole},
         {"default-width", PropertyForm::kSize},
         {"default-height", PropertyForm::kSize}}}},
      {"GtkAdjustment",
       {0,
        {{"value", PropertyForm::kInteger},
         {"lower", PropertyForm::kInteger},
         {"upper", PropertyForm::kInteger}}}},
      {"GtkFixed", {kControlKindUserPane, WithWidgetProperties({})}},
      {"GtkDrawingArea", {kControlKindUserPane, WithWidgetProperties({})}},
      {"GtkLabel",
       {kControlKindStaticText, WithWidgetProperties({{"label", PropertyForm::kText}})}},
      {"GtkButton",
       {kControlKindPushButton, WithWidgetProperties({{"label", PropertyForm::kText}})}},
      {"GtkCheckButton",
       {kControlKindCheckBox, WithWidgetProperties({{"label", PropertyForm::kText},
                                                    {"active", PropertyForm::kBoolean}})}},
      {"GtkComboBoxText",
       {kControlKindPopupButton, WithWidgetProperties({{"active", PropertyForm::kInteger}})}},
      {"GtkEntry", {kControlKindEditText, WithWidgetProperties({{"text", PropertyForm::kText}})}},
      {"GtkScrollbar",
       {kControlKindScrollBar,
        WithWidgetProperties({{"adjustment", PropertyForm::kReference},
                              {"orientation", PropertyForm::kOrientation}})}},
      {"GtkSeparator",
       {kControlKindSeparator,
        WithWidgetProperties({{"orientation", PropertyForm::kOrientation}})}},
      {"GtkTreeView", {kControlKindDataBrowser, WithWidgetProperties({})}},
      {"GtkTreeViewColumn", {0, {{"title", PropertyForm::kText}}}},
  };
  return *sTable;
}

bool Integer(const std::string& text, long low, long high) {
  if (text.empty() || text.size() > 11) return false;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

}  // namespace

bool InterfaceClasses::Known(const std::string& className) { return Table().count(className) != 0; }

OSType InterfaceClasses::Kind(const std::string& className) {
  auto found = Table().find(className);
  return found == Table().end() ? 0 : found->second.kind;
}

bool InterfaceClasses::PropertyFormOf(const std::string& className, const std::string& property,
                                      PropertyForm* outForm) {
  auto entry = Table().find(className);
  if (entry == Table().end()) return false;
  auto found = entry->second.properties.find(property);
  if (found == entry->second.properties.end()) return false;
  *outForm = found->second;
  return true;
}

bool InterfaceClasses::Valid(PropertyForm form, const std::string& text) {
  static const std::set<std::string> kBooleans = {"True", "False", "true", "false",
                                                  "yes",  "no",    "1",    "0"};
  static const std::set<std::string> kRoles = {"document", "movable-modal", "sheet", "sheet-alert"};
  switch (form) {
    case PropertyForm::kText:
    case PropertyForm::kReference:
      return true;
    case PropertyForm::kBoolean:
      return kBooleans.count(text) != 0;
    case PropertyForm::kSize:
      return Integer(text, 0, 32767);
    case PropertyForm::kInteger:
      return Integer(text, INT32_MIN, INT32_MAX);
    case PropertyForm::kCode:
      return text.size() == 4;
    case PropertyForm::kRole:
      return kRoles.count(text) != 0;
    case PropertyForm::kOrientation:
      return text == "horizontal" || text == "vertical";
  }
  return false;
}

bool InterfaceClasses::Boolean(const std::string& text) {
  return text == "True" || text == "true" || text == "yes" || text == "1";
}

SInt32 InterfaceClasses::Number(const std::string& text) {
  return SInt32(std::strtol(text.c_str(), nullptr, 10));
}
