#pragma once
// A fresh home folder for one test: the platform's home folder points at it
// until the object goes, and it is removed with everything in it.

#include <initializer_list>
#include <string>

#include "paths/PlatformPaths.h"
#include "support/TempFolder.h"

class PreferencesHome {
 public:
  PreferencesHome() { PlatformPaths::Redirect(PlatformPaths::kHomeFolder, mHome.Path()); }
  ~PreferencesHome() { PlatformPaths::Reset(PlatformPaths::kHomeFolder); }
  PreferencesHome(const PreferencesHome&) = delete;
  PreferencesHome& operator=(const PreferencesHome&) = delete;

  const std::string& Folder() const { return mHome.Path(); }
  std::string PreferencesFile() const { return Folder() + "/" + kPreferences; }

  // Puts `bytes` at `relative` below the home folder, making its folders.
  void Write(const std::string& relative, const std::string& bytes) const {
    mHome.Write(relative, bytes);
  }
  void WritePreferences(const std::string& bytes) const { Write(kPreferences, bytes); }

 private:
  static constexpr const char* kPreferences = "Library/Preferences/ZPX.MelvanePrinterV2.plist";
  TempFolder mHome;
};

// A property-list array in XML of the given elements, each already written as
// an XML element ("<string>a</string>", "<true/>").
inline std::string PlistArray(std::initializer_list<const char*> elements) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n";
  for (const char* element : elements) xml += std::string(element) + "\n";
  return xml + "</array>\n</plist>\n";
}
