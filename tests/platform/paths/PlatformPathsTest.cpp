#include "paths/PlatformPaths.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace {

// Sets or clears one environment variable and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : mName(name) {
    if (const char* old = getenv(name)) mOld = old;
    value != nullptr ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() {
    mOld ? setenv(mName, mOld->c_str(), 1) : unsetenv(mName);
    PlatformPaths::ResetAll();
  }

 private:
  const char* mName;
  std::optional<std::string> mOld;
};

TEST(PlatformPathsTest, DefaultsAreThePlatformsOwnPaths) {
  ScopedVariable tmp("ZPX_TMPDIR", nullptr);
  ScopedVariable support("ZPX_SUPPORT_DIR", nullptr);
  ScopedVariable home("HOME", "/home/ann/");
  EXPECT_EQ("/tmp", PlatformPaths::Get(PlatformPaths::kTemporaryFolder));
  EXPECT_EQ("/Library/Application Support/ZPX",
            PlatformPaths::Get(PlatformPaths::kApplicationSupport));
  EXPECT_EQ("/home/ann", PlatformPaths::Get(PlatformPaths::kHomeFolder));
  EXPECT_EQ("/home/ann/Library/Preferences/ZPX.MelvanePrinterV2.plist",
            PlatformPaths::Below(PlatformPaths::kHomeFolder,
                                 "/Library/Preferences/ZPX.MelvanePrinterV2.plist"));
  EXPECT_EQ("/tmp/ND3Args.txt",
            PlatformPaths::Below(PlatformPaths::kTemporaryFolder, "ND3Args.txt"));
}

// The bundle, the print program and the models in the running program's tree
// (above the folder of this test program, which is no print server's
// program): absolute paths relative to its own folder. The filter and the
// driver find theirs from lib/cups/NAME/ (their own tests).
TEST(PlatformPathsTest, BundlePrintProgramAndModelsAreFoundInTheProgramsTreeUnlessMoved) {
  const struct {
    const char* variable;
    PlatformPaths::Location location;
    std::string tail;
  } cases[] = {{"ZPX_BUNDLE_DIR", PlatformPaths::kBundleFolder, "/../lib/zpx/ZPXPDE.plugin"},
               {"ZPX_PRINT", PlatformPaths::kPrintProgram, "/../bin/zpx-print"},
               {"ZPX_MODEL_DIR", PlatformPaths::kModelFolder, "/../share/zpx/ppd"}};
  for (const auto& c : cases) {
    ScopedVariable unset(c.variable, nullptr);
    const std::string path = PlatformPaths::Get(c.location);
    ASSERT_GT(path.size(), c.tail.size()) << c.variable;
    EXPECT_EQ(c.tail, path.substr(path.size() - c.tail.size()));
    EXPECT_EQ('/', path[0]);
  }
  ScopedVariable moved("ZPX_PRINT", "/opt/zpx/bin/zpx-print");
  EXPECT_EQ("/opt/zpx/bin/zpx-print", PlatformPaths::Get(PlatformPaths::kPrintProgram));
}

TEST(PlatformPathsTest, VariablesMoveLocationsAndRedirectionsWin) {
  ScopedVariable tmp("ZPX_TMPDIR", "/var/tmp/zpx//");
  ScopedVariable bundle("ZPX_BUNDLE_DIR", "/opt/zpx/ZPXPDE.plugin");
  EXPECT_EQ("/var/tmp/zpx", PlatformPaths::Get(PlatformPaths::kTemporaryFolder));
  EXPECT_EQ("/opt/zpx/ZPXPDE.plugin", PlatformPaths::Get(PlatformPaths::kBundleFolder));

  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, "/scratch");
  EXPECT_EQ("/scratch/Nimbo.temp",
            PlatformPaths::Below(PlatformPaths::kTemporaryFolder, "Nimbo.temp"));
  // Only the redirected location moves.
  EXPECT_EQ("/opt/zpx/ZPXPDE.plugin", PlatformPaths::Get(PlatformPaths::kBundleFolder));
  PlatformPaths::Reset(PlatformPaths::kTemporaryFolder);
  EXPECT_EQ("/var/tmp/zpx", PlatformPaths::Get(PlatformPaths::kTemporaryFolder));

  // An empty variable is no setting at all.
  ScopedVariable empty("ZPX_SUPPORT_DIR", "");
  EXPECT_EQ("/Library/Application Support/ZPX",
            PlatformPaths::Get(PlatformPaths::kApplicationSupport));
}

TEST(PlatformPathsTest, NoHomeGivesNoPathBelowIt) {
  ScopedVariable home("HOME", nullptr);
  EXPECT_EQ("", PlatformPaths::Get(PlatformPaths::kHomeFolder));
  EXPECT_EQ("", PlatformPaths::Below(PlatformPaths::kHomeFolder, "/Library/Preferences/x.plist"));
  PlatformPaths::Redirect(PlatformPaths::kHomeFolder, "/");
  EXPECT_EQ("/Library/x", PlatformPaths::Below(PlatformPaths::kHomeFolder, "/Library/x"));
  EXPECT_EQ("", PlatformPaths::Get(PlatformPaths::Location(PlatformPaths::kLocationCount)));
}

}  // namespace

TEST(PlatformPathsTest, PortFolderIsTheUsersRuntimeFolderElseOneNamedForTheUser) {
  ScopedVariable tmp("ZPX_TMPDIR", nullptr);
  {
    ScopedVariable runtime("XDG_RUNTIME_DIR", "/run/user/1000/");
    EXPECT_EQ("/run/user/1000/zpx-ports", PlatformPaths::Get(PlatformPaths::kMessagePortFolder));
  }
  ScopedVariable runtime("XDG_RUNTIME_DIR", nullptr);
  const std::string expected = "/tmp/zpx-ports-" + std::to_string(geteuid());
  EXPECT_EQ(expected, PlatformPaths::Get(PlatformPaths::kMessagePortFolder));
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, "/scratch");
  EXPECT_EQ("/scratch/zpx-ports-" + std::to_string(geteuid()),
            PlatformPaths::Get(PlatformPaths::kMessagePortFolder));
}

TEST(PlatformPathsTest, CompanionProgramLivesInTheSupportFilesUnlessEmptied) {
  ScopedVariable support("ZPX_SUPPORT_DIR", "/opt/zpx");
  ScopedVariable companion("ZPX_COMPANION", nullptr);
  EXPECT_EQ("/opt/zpx/lib/ZPX ND3toJP.app/Contents/MacOS/ZPX ND3toJP",
            PlatformPaths::Get(PlatformPaths::kCompanionProgram));
  {
    ScopedVariable moved("ZPX_COMPANION", "/usr/bin/zpx-companion");
    EXPECT_EQ("/usr/bin/zpx-companion", PlatformPaths::Get(PlatformPaths::kCompanionProgram));
  }
  {
    ScopedVariable none("ZPX_COMPANION", "");
    EXPECT_EQ("", PlatformPaths::Get(PlatformPaths::kCompanionProgram));
  }
  // Other locations keep treating an empty variable as unset.
  ScopedVariable emptyTmp("ZPX_TMPDIR", "");
  EXPECT_EQ("/tmp", PlatformPaths::Get(PlatformPaths::kTemporaryFolder));
  PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, "");
  EXPECT_EQ("", PlatformPaths::Get(PlatformPaths::kCompanionProgram));
}

TEST(PlatformPathsTest, ConfigFolderIsTheUsersConfigFolderElseOneBelowHome) {
  {
    ScopedVariable config("XDG_CONFIG_HOME", "/etc/xdg-user/");
    EXPECT_EQ("/etc/xdg-user", PlatformPaths::Get(PlatformPaths::kConfigFolder));
  }
  ScopedVariable config("XDG_CONFIG_HOME", nullptr);
  ScopedVariable home("HOME", "/home/someone");
  EXPECT_EQ("/home/someone/.config", PlatformPaths::Get(PlatformPaths::kConfigFolder));
  ScopedVariable noHome("HOME", nullptr);
  EXPECT_EQ("", PlatformPaths::Get(PlatformPaths::kConfigFolder));
}
