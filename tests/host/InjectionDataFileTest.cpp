// The file of a job's blocks is read only when it is the user's own, well
// formed and of known sites, and its blocks are sorted by where they go.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "host/InjectionDataFile.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

namespace {

using Entry = std::pair<int, std::string>;

// The property list the dialog's job ticket writes for these entries.
std::string EntriesList(const std::vector<Entry>& entries) {
  CFRef<CFMutableArrayRef> array(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  for (const Entry& entry : entries) {
    int site = entry.first;
    CFRef<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberSInt32Type, &site));
    CFRef<CFDataRef> data(CreateData(entry.second));
    CFArrayAppendValue(array.get(), number.get());
    CFArrayAppendValue(array.get(), data.get());
  }
  CFRef<CFDataRef> xml(CFPropertyListCreateXMLData(nullptr, array.get()));
  return DataText(xml.get());
}

}  // namespace

TEST(InjectionDataFile, BlocksAreSortedBySiteInTheOrderAdded) {
  TempFolder folder;
  std::string path = folder.Write("data", EntriesList({{81, "/a 1 def"},
                                                       {30, "%%Note: 1"},
                                                       {-9, " *Duplex\n\0"},
                                                       {504, "%%Orientation: Landscape"},
                                                       {81, std::string("/b 2 def\0\0", 10)},
                                                       {900, "/tmp/copy"},
                                                       {504, "%%MacCoreNUp: 1"}}));
  JobInjections injections;
  ASSERT_EQ(InjectionDataFile::Read(path, injections), InjectionDataFile::kRead);
  EXPECT_EQ(injections.mHeaderComments,
            (std::vector<std::string>{"%%Orientation: Landscape", "%%MacCoreNUp: 1", "%%Note: 1"}));
  EXPECT_EQ(injections.mSetupBlocks, (std::vector<std::string>{"/a 1 def", "/b 2 def"}));
  EXPECT_EQ(injections.mSuppressedFeatures, std::vector<std::string>{"*Duplex"});
  EXPECT_EQ(injections.mCopyPaths, std::vector<std::string>{"/tmp/copy"});
}

TEST(InjectionDataFile, FilesNotOwnMalformedOrOfUnknownSitesAreRefused) {
  TempFolder folder;
  const std::string good = EntriesList({{81, "/a 1 def"}});
  auto read = [](const std::string& path) {
    JobInjections injections;
    InjectionDataFile::Result result = InjectionDataFile::Read(path, injections);
    EXPECT_TRUE(result == InjectionDataFile::kRead || injections.mSetupBlocks.empty()) << path;
    return result;
  };
  std::string target = folder.Write("good", good);
  EXPECT_EQ(read(target), InjectionDataFile::kRead);

  std::string link = folder.Path() + "/link";
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_EQ(read(link), InjectionDataFile::kCannotOpen);
  EXPECT_EQ(read(folder.Path() + "/missing"), InjectionDataFile::kCannotOpen);
  EXPECT_EQ(read(folder.Path()), InjectionDataFile::kNotOwnFile);

  std::string shared = folder.Write("shared", good);
  chmod(shared.c_str(), 0646);
  EXPECT_EQ(read(shared), InjectionDataFile::kNotOwnFile);

  std::string large = folder.Write("large", good);
  ASSERT_EQ(truncate(large.c_str(), InjectionDataFile::kMaximumSize + 1), 0);
  EXPECT_EQ(read(large), InjectionDataFile::kTooLarge);

  EXPECT_EQ(read(folder.Write("text", "%!PS\n")), InjectionDataFile::kMalformed);
  EXPECT_EQ(read(folder.Write("dictionary", "<plist><dict/></plist>")),
            InjectionDataFile::kMalformed);
  EXPECT_EQ(read(folder.Write("odd", "<plist><array><integer>81</integer></array></plist>")),
            InjectionDataFile::kMalformed);
  EXPECT_EQ(read(folder.Write("swapped",
                              "<plist><array><data>AA==</data><integer>81</integer>"
                              "</array></plist>")),
            InjectionDataFile::kMalformed);
  EXPECT_EQ(read(folder.Write("site7", EntriesList({{81, "/a 1 def"}, {7, "x"}}))),
            InjectionDataFile::kUnknownSite);
}
