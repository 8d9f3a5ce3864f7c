#pragma once
// A copy of the assembled bundle whose default string table names the server
// language, made the plug-in's default bundle while the object lives. The
// default bundle is process-wide: the destructor leaves none behind.

#include <string>

#include "cf/CFRef.h"
#include "plugin/PDEBundle.h"
#include "support/FileText.h"
#include "support/FileURL.h"
#include "support/TempFolder.h"

class ServerLanguageBundle {
 public:
  explicit ServerLanguageBundle(const std::string& language) {
    mFolder.Write("ZPXPDE.plugin/Contents/Info.plist",
                  FileText(std::string(ZPX_BUILT_BUNDLE) + "/Contents/Info.plist"));
    mFolder.Write("ZPXPDE.plugin/Contents/Resources/en.lproj/Localizable.strings",
                  "\"N/A\" = \"not set\";\n\"ServerLanguage\" = \"" + language + "\";\n");
    const std::string path = mFolder.Path() + "/ZPXPDE.plugin";
    mBundle.reset(CreateBundleAt(path));
    PDEBundle::InitBundle(mBundle.get());
  }
  ~ServerLanguageBundle() { PDEBundle::InitBundle(nullptr); }
  ServerLanguageBundle(const ServerLanguageBundle&) = delete;
  ServerLanguageBundle& operator=(const ServerLanguageBundle&) = delete;

  bool IsOpen() const { return bool(mBundle); }

 private:
  TempFolder mFolder;
  CFRef<CFBundleRef> mBundle;
};
