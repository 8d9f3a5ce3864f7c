// The bundle's executable exports exactly the flat function families that the
// public headers declare, under unmangled names, and nothing else.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

namespace {

// Names declared with ZPX_EXPORT in the headers below src/.
std::set<std::string> DeclaredExports() {
  const std::regex declaration(R"(ZPX_EXPORT[^;(]*?\b(\w+)\s*\()");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ZPX_SOURCES)) {
    if (entry.path().extension() != ".h") continue;
    std::ifstream header(entry.path());
    std::string text, line;
    while (std::getline(header, line))
      if (line.rfind("#define", 0) != 0) text += line + '\n';
    for (std::sregex_iterator it(text.begin(), text.end(), declaration), end; it != end; ++it)
      names.insert((*it)[1]);
  }
  return names;
}

// Code symbols the library defines in its dynamic table.
std::set<std::string> DefinedFunctions() {
  std::set<std::string> names;
  std::string command = std::string("nm -D --defined-only ") + ZPX_BUNDLE_LIBRARY;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return names;
  char address[64], kind[8], name[512];
  while (std::fscanf(pipe, "%63s %7s %511s", address, kind, name) == 3)
    if (kind[0] == 'T' || kind[0] == 'W') names.insert(name);
  pclose(pipe);
  return names;
}

}  // namespace

TEST(BundleExports, ExactlyTheDeclaredFlatFunctions) {
  const std::set<std::string> declared = DeclaredExports();
  ASSERT_GT(declared.size(), 100u);
  for (const char* family :
       {"FirstError", "GetFirstPopupControl", "FirstGroup", "IsRollDown",
        "ZPCFCreateEncryptedString", "NextShortcut", "PrinterInfoPluginFactory"})
    EXPECT_EQ(declared.count(family), 1u) << family;

  const std::set<std::string> defined = DefinedFunctions();
  // The factory is the entry point; the extension's slots are reached only
  // through the tables it hands out.
  EXPECT_EQ(defined.count("PrinterInfoPluginFactory"), 1u);
  for (const std::string& name : defined)
    EXPECT_EQ(name.find("Prologue"), std::string::npos) << name;
  for (const std::string& name : defined) {
    EXPECT_NE(name.rfind("_Z", 0), 0u) << "mangled name exported: " << name;
    EXPECT_EQ(declared.count(name), 1u) << "exported without declaration: " << name;
  }

  void* bundle = dlopen(ZPX_BUNDLE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(bundle, nullptr) << dlerror();
  for (const std::string& name : declared)
    EXPECT_NE(dlsym(bundle, name.c_str()), nullptr) << "declared but not exported: " << name;
  dlclose(bundle);
}
