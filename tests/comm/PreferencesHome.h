#pragma once
// A fresh home folder for one test: the platform's home folder points at it
// until the object goes, and it is removed with everything in it.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "paths/PlatformPaths.h"

class PreferencesHome {
 public:
  PreferencesHome() {
    char folder[] = "/tmp/zpx-home-XXXXXX";
    if (mkdtemp(folder) != nullptr) mFolder = folder;
    PlatformPaths::Redirect(PlatformPaths::kHomeFolder, mFolder);
  }
  ~PreferencesHome() {
    PlatformPaths::Reset(PlatformPaths::kHomeFolder);
    std::error_code ignored;
    std::filesystem::remove_all(mFolder, ignored);
  }
  PreferencesHome(const PreferencesHome&) = delete;
  PreferencesHome& operator=(const PreferencesHome&) = delete;

  const std::string& Folder() const { return mFolder; }
  std::string PreferencesFile() const {
    return mFolder + "/Library/Preferences/ZPX.MelvanePrinterV2.plist";
  }

  // Puts `bytes` at `relative` below the home folder, making its folders.
  void Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path path = mFolder + "/" + relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  void WritePreferences(const std::string& bytes) const {
    Write("Library/Preferences/ZPX.MelvanePrinterV2.plist", bytes);
  }

  std::string Read(const std::string& path) const {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

 private:
  std::string mFolder;
};

// A property-list array in XML of the given elements, each already written as
// an XML element ("<string>a</string>", "<true/>").
inline std::string PlistArray(std::initializer_list<const char*> elements) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<array>\n";
  for (const char* element : elements) xml += std::string(element) + "\n";
  return xml + "</array>\n</plist>\n";
}
