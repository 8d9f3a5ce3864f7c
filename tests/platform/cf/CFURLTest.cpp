#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "cf/CoreFoundation.h"
#include "support/PlatformString.h"

namespace {

CFURLRef fileURL(const char* path, bool isDirectory) {
  CFStringRef string = CFStringCreateWithCString(nullptr, path, kCFStringEncodingUTF8);
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, string, kCFURLPOSIXPathStyle, isDirectory);
  CFRelease(string);
  return url;
}

}  // namespace

TEST(CFURL, PathComponents) {
  CFURLRef folder = fileURL("/tmp/Print Jobs", true);
  EXPECT_EQ(TakeText(CFURLCopyFileSystemPath(folder, kCFURLPOSIXPathStyle)), "/tmp/Print Jobs");

  CFURLRef file =
      CFURLCreateCopyAppendingPathComponent(nullptr, folder, CFSTR("job #1.plist"), false);
  EXPECT_EQ(TakeText(CFURLCopyFileSystemPath(file, kCFURLPOSIXPathStyle)),
            "/tmp/Print Jobs/job #1.plist");
  UInt8 path[64];
  ASSERT_TRUE(CFURLGetFileSystemRepresentation(file, true, path, sizeof path));
  EXPECT_STREQ(reinterpret_cast<char*>(path), "/tmp/Print Jobs/job #1.plist");
  EXPECT_FALSE(CFURLGetFileSystemRepresentation(file, true, path, 10));

  EXPECT_EQ(TakeText(CFURLCopyScheme(file)), "file");
  EXPECT_EQ(CFURLCopyHostName(file), nullptr);

  // A device URI reads back as it was written; one relative to a base stays relative.
  CFURLRef device = CFURLCreateWithString(nullptr, CFSTR("capture:/var/spool/jobs"), nullptr);
  EXPECT_EQ(TakeText(CFStringCreateCopy(nullptr, CFURLGetString(device))),
            "capture:/var/spool/jobs");
  CFURLRef relative = CFURLCreateWithString(nullptr, CFSTR("q.ppd"), folder);
  EXPECT_EQ(TakeText(CFStringCreateCopy(nullptr, CFURLGetString(relative))), "q.ppd");
  EXPECT_EQ(CFURLGetString(nullptr), nullptr);
  for (CFURLRef url : {device, relative}) CFRelease(url);

  for (CFURLRef url : {folder, file}) CFRelease(url);

  const char rawPath[] = "/a/b";
  CFURLRef fromBytes = CFURLCreateFromFileSystemRepresentation(
      nullptr, reinterpret_cast<const UInt8*>(rawPath), 4, false);
  EXPECT_EQ(TakeText(CFURLCopyFileSystemPath(fromBytes, kCFURLPOSIXPathStyle)), "/a/b");
  CFRelease(fromBytes);
}

// A relative path is relative to the current directory.
TEST(CFURL, RelativePathResolvesAgainstTheCurrentDirectory) {
  CFURLRef local = fileURL("notes.txt", false);
  CFURLRef resolved = CFURLCopyAbsoluteURL(local);
  char* cwd = getcwd(nullptr, 0);
  UInt8 path[4096];
  ASSERT_TRUE(CFURLGetFileSystemRepresentation(local, true, path, sizeof path));
  EXPECT_EQ(reinterpret_cast<char*>(path), std::string(cwd) + "/notes.txt");
  EXPECT_EQ(TakeText(CFURLCopyFileSystemPath(local, kCFURLPOSIXPathStyle)), "notes.txt");
  std::free(cwd);
  CFRelease(local);
  CFRelease(resolved);
}

TEST(CFURL, ReadAndWriteFileResources) {
  char folder[] = "/tmp/cfurl-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string target = std::string(folder) + "/data.bin";
  CFURLRef url = fileURL(target.c_str(), false);
  const UInt8 bytes[] = {1, 2, 3, 0, 5};
  CFDataRef data = CFDataCreate(nullptr, bytes, sizeof bytes);
  SInt32 error = 1;
  ASSERT_TRUE(CFURLWriteDataAndPropertiesToResource(url, data, nullptr, &error));
  EXPECT_EQ(error, 0);
  struct stat status;
  ASSERT_EQ(stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0022, 0u);

  CFDataRef read = nullptr;
  CFDictionaryRef properties = nullptr;
  ASSERT_TRUE(
      CFURLCreateDataAndPropertiesFromResource(nullptr, url, &read, &properties, nullptr, &error));
  EXPECT_TRUE(CFEqual(read, data));
  EXPECT_EQ(properties, nullptr);
  CFRelease(read);

  // A symbolic link in the file's place is not followed.
  std::string victim = std::string(folder) + "/victim";
  std::string link = std::string(folder) + "/link";
  ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
  CFURLRef linkURL = fileURL(link.c_str(), false);
  EXPECT_FALSE(CFURLWriteDataAndPropertiesToResource(linkURL, data, nullptr, &error));
  EXPECT_EQ(error, kCFURLResourceAccessViolationError);
  EXPECT_NE(access(victim.c_str(), F_OK), 0);

  CFURLRef missing = fileURL((std::string(folder) + "/missing").c_str(), false);
  EXPECT_FALSE(
      CFURLCreateDataAndPropertiesFromResource(nullptr, missing, &read, nullptr, nullptr, &error));
  EXPECT_EQ(error, kCFURLResourceNotFoundError);
  EXPECT_EQ(read, nullptr);

  for (CFTypeRef each : {CFTypeRef(url), CFTypeRef(data), CFTypeRef(linkURL), CFTypeRef(missing)})
    CFRelease(each);
  unlink(link.c_str());
  unlink(target.c_str());
  rmdir(folder);
}

// A write replaces the file instead of rewriting it in place: a second name of
// the old file keeps the old bytes, and no temporary file stays behind.
TEST(CFURL, WriteReplacesTheFileWhole) {
  char folder[] = "/tmp/cfurl-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  std::string target = std::string(folder) + "/prefs.plist";
  std::string oldName = std::string(folder) + "/old";
  CFURLRef url = fileURL(target.c_str(), false);
  const UInt8 first[] = {'o', 'l', 'd'};
  const UInt8 second[] = {'n', 'e', 'w', '!'};
  CFDataRef firstData = CFDataCreate(nullptr, first, sizeof first);
  CFDataRef secondData = CFDataCreate(nullptr, second, sizeof second);
  SInt32 error = 1;
  ASSERT_TRUE(CFURLWriteDataAndPropertiesToResource(url, firstData, nullptr, &error));
  ASSERT_EQ(link(target.c_str(), oldName.c_str()), 0);
  ASSERT_TRUE(CFURLWriteDataAndPropertiesToResource(url, secondData, nullptr, &error));

  auto contents = [](const std::string& path) {
    CFURLRef each = fileURL(path.c_str(), false);
    CFDataRef data = nullptr;
    SInt32 code = 0;
    CFURLCreateDataAndPropertiesFromResource(nullptr, each, &data, nullptr, nullptr, &code);
    std::string bytes = data ? DataText(data) : "<unreadable>";
    if (data) CFRelease(data);
    CFRelease(each);
    return bytes;
  };
  EXPECT_EQ(contents(target), "new!");
  EXPECT_EQ(contents(oldName), "old");
  auto entries = std::distance(std::filesystem::directory_iterator(folder),
                               std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 2);  // the file and its second name

  // A folder that does not exist takes no file, and no temporary file either.
  std::string inMissing = std::string(folder) + "/Library/prefs.plist";
  CFURLRef missingURL = fileURL(inMissing.c_str(), false);
  EXPECT_FALSE(CFURLWriteDataAndPropertiesToResource(missingURL, firstData, nullptr, &error));
  EXPECT_EQ(error, kCFURLResourceNotFoundError);

  // A directory URL makes the folder, after which the file can be written there.
  std::string library = std::string(folder) + "/Library";
  CFURLRef folderURL = fileURL(library.c_str(), true);
  EXPECT_TRUE(CFURLWriteDataAndPropertiesToResource(folderURL, firstData, nullptr, &error));
  EXPECT_FALSE(CFURLWriteDataAndPropertiesToResource(folderURL, firstData, nullptr, &error));
  EXPECT_TRUE(CFURLWriteDataAndPropertiesToResource(missingURL, secondData, nullptr, &error));
  EXPECT_EQ(contents(inMissing), "new!");

  for (CFTypeRef each : {CFTypeRef(url), CFTypeRef(firstData), CFTypeRef(secondData),
                         CFTypeRef(missingURL), CFTypeRef(folderURL)})
    CFRelease(each);
  unlink(inMissing.c_str());
  rmdir(library.c_str());
  unlink(oldName.c_str());
  unlink(target.c_str());
  rmdir(folder);
}
