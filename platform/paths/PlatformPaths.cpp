#include "paths/PlatformPaths.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>

namespace {

struct Default {
  const char* variable;
  const char* path;                     // null: derived at run time
  const char* belowVariable = "";       // appended to the variable's value
  bool emptyVariableMeansNone = false;  // set to "": no such location
};

// Indexed by PlatformPaths::Location.
constexpr Default kDefaults[PlatformPaths::kLocationCount] = {
    {"ZPX_TMPDIR", "/tmp"},
    {"HOME", ""},
    {"ZPX_SUPPORT_DIR", "/Library/Application Support/ZPX"},
    {"ZPX_BUNDLE_DIR", nullptr},
    {"XDG_RUNTIME_DIR", nullptr, "/zpx-ports"},
    {"ZPX_COMPANION", nullptr, "", true},
    {"XDG_CONFIG_HOME", nullptr},
    {"ZPX_PRINT", nullptr},
    {"ZPX_MODEL_DIR", nullptr},
};

bool Known(PlatformPaths::Location where) {
  return int(where) >= 0 && int(where) < PlatformPaths::kLocationCount;
}

std::optional<std::string>& Redirection(PlatformPaths::Location where) {
  static std::optional<std::string> redirections[PlatformPaths::kLocationCount];
  return redirections[where];
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The running program's folder with a trailing slash; "" when unknown.
std::string ProgramFolder() {
  char program[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
  if (length <= 0) return "";
  std::string folder(program, size_t(length));
  folder.erase(folder.find_last_of('/') + 1);
  return folder;
}

// The root of the tree the running program lies in, with a trailing slash:
// above bin/, or above lib/ for a print server's program in lib/cups/NAME/.
// The build tree has the installed layout, so a copied tree keeps working.
std::string ProgramTree() {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return "";
  const size_t cups = folder.rfind("/lib/cups/");
  const bool serverProgram = cups != std::string::npos &&
                             folder.find('/', cups + 10) == folder.size() - 1;
  return folder + (serverProgram ? "../../../" : "../");
}

std::string InProgramTree(const std::string& relative, const std::string& fallback) {
  const std::string tree = ProgramTree();
  return tree.empty() ? fallback : tree + relative;
}

// Without a per-user runtime folder the ports live in a folder named for the
// user in the temporary folder.
std::string PortFolderBesideTemporaryFiles() {
  return PlatformPaths::Below(PlatformPaths::kTemporaryFolder,
                              "zpx-ports-" + std::to_string(geteuid()));
}

std::string Derived(PlatformPaths::Location where) {
  switch (where) {
    case PlatformPaths::kMessagePortFolder:
      return PortFolderBesideTemporaryFiles();
    case PlatformPaths::kCompanionProgram:
      return PlatformPaths::Below(PlatformPaths::kApplicationSupport,
                                  "lib/ZPX ND3toJP.app/Contents/MacOS/ZPX ND3toJP");
    case PlatformPaths::kConfigFolder:
      return PlatformPaths::Below(PlatformPaths::kHomeFolder, ".config");
    case PlatformPaths::kPrintProgram:
      return InProgramTree("bin/zpx-print", "zpx-print");
    case PlatformPaths::kModelFolder:
      return InProgramTree("share/zpx/ppd", "ppd");
    default:
      return InProgramTree("lib/zpx/ZPXPDE.plugin", "ZPXPDE.plugin");
  }
}

}  // namespace

std::string PlatformPaths::Get(Location where) {
  if (!Known(where)) return std::string();
  if (const std::optional<std::string>& redirected = Redirection(where))
    return WithoutTrailingSlashes(*redirected);
  const Default& fallback = kDefaults[where];
  const char* variable = getenv(fallback.variable);
  if (variable != nullptr && variable[0] == '\0' && fallback.emptyVariableMeansNone)
    return std::string();
  if (variable != nullptr && variable[0] != '\0')
    return WithoutTrailingSlashes(variable) + fallback.belowVariable;
  return fallback.path != nullptr ? fallback.path : Derived(where);
}

std::string PlatformPaths::Below(Location where, const std::string& relative) {
  std::string folder = Get(where);
  if (folder.empty()) return folder;
  size_t start = relative.find_first_not_of('/');
  std::string rest = start == std::string::npos ? std::string() : relative.substr(start);
  if (folder.back() != '/') folder += '/';
  return folder + rest;
}

void PlatformPaths::Redirect(Location where, const std::string& folder) {
  if (Known(where)) Redirection(where) = folder;
}

void PlatformPaths::Reset(Location where) {
  if (Known(where)) Redirection(where).reset();
}

void PlatformPaths::ResetAll() {
  for (int where = 0; where < kLocationCount; ++where) Reset(Location(where));
}
