#pragma once
// One object of an interface file, as read and checked: its class, id,
// properties, the children it packs and what some classes carry besides.

#include <map>
#include <string>
#include <vector>

struct InterfaceObject {
  std::string className;
  std::string id;
  long line = 0;
  std::map<std::string, std::string> properties;
  std::map<std::string, std::string> packing;  // x and y in the parent GtkFixed
  std::vector<std::string> items;              // GtkComboBoxText
  std::string accelerator;                     // GtkButton: "Return" or "Escape"
  std::vector<InterfaceObject> children;

  // The property's text, or `fallback` when the file leaves it out.
  const std::string& Property(const std::string& name, const std::string& fallback) const {
    auto found = properties.find(name);
    return found == properties.end() ? fallback : found->second;
  }
};

// What a file holds: its windows and adjustments, and where <interface> is.
struct InterfaceContents {
  std::vector<InterfaceObject> objects;
  long interfaceLine = 0;
};
