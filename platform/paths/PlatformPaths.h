#pragma once
// Every fixed location the system names, answered in one place. Each is the
// platform's own path unless a packager moves it with an environment variable;
// tests move it with Redirect. Callers build the files they need below these
// folders and never spell a fixed path themselves.
//
// | Location                | Default                              | Variable        |
// |-------------------------|--------------------------------------|-----------------|
// | kTemporaryFolder        | "/tmp"                               | ZPX_TMPDIR      |
// | kHomeFolder             | the value of HOME ("" when unset)    | HOME            |
// | kApplicationSupport     | "/Library/Application Support/ZPX"   | ZPX_SUPPORT_DIR |
// | kBundleFolder           | lib/zpx/ZPXPDE.plugin of the running | ZPX_BUNDLE_DIR  |
// |                         | program's tree                       |                 |
// | kMessagePortFolder      | XDG_RUNTIME_DIR/zpx-ports, else      | XDG_RUNTIME_DIR |
// |                         | <temporary folder>/zpx-ports-<uid>   |                 |
// | kCompanionProgram       | <application support>/lib/ZPX        | ZPX_COMPANION   |
// |                         | ND3toJP.app/Contents/MacOS/ZPX       | ("" or an empty |
// |                         | ND3toJP (a file, not a folder)       | redirection:    |
// |                         |                                      | none starts)    |
// | kConfigFolder           | <home>/.config ("" without a home)   | XDG_CONFIG_HOME |
// | kPrintProgram           | bin/zpx-print of the running         | ZPX_PRINT       |
// |                         | program's tree                       |                 |
// | kModelFolder            | share/zpx/ppd of the running         | ZPX_MODEL_DIR   |
// |                         | program's tree                       |                 |
//
// A program's tree is the folder above its bin/, or, for the print server's
// programs (lib/cups/filter/, lib/cups/driver/), the folder above their lib/.

#include <string>

class PlatformPaths {
 public:
  enum Location {
    kTemporaryFolder,
    kHomeFolder,
    kApplicationSupport,
    kBundleFolder,
    kMessagePortFolder,
    kCompanionProgram,
    kConfigFolder,
    kPrintProgram,
    kModelFolder,
    kLocationCount
  };

  // The folder, without a trailing slash (a lone "/" stays).
  static std::string Get(Location where);
  // `relative` below the folder, joined with exactly one slash; "" when the folder
  // is unknown (HOME unset), so that nothing lands at the root by accident.
  static std::string Below(Location where, const std::string& relative);

  // For tests: answer `folder` for the location until Reset.
  static void Redirect(Location where, const std::string& folder);
  static void Reset(Location where);
  static void ResetAll();
};
