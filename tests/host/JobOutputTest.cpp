// A job goes to its descriptor and to every file that may take a copy.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "host/JobOutput.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

TEST(JobOutput, CopiesGoOnlyToEmptyRegularFilesOfThisUser) {
  TempFolder folder;
  std::string main = folder.Write("main", "");
  std::string copy = folder.Write("copy", "");
  std::string full = folder.Write("full", "old");
  std::string link = folder.Path() + "/link";
  ASSERT_EQ(symlink(copy.c_str(), link.c_str()), 0);

  int fd = open(main.c_str(), O_WRONLY);
  {
    JobOutput output(fd);
    EXPECT_TRUE(output.AddCopy(copy));
    EXPECT_FALSE(output.AddCopy(full));
    EXPECT_FALSE(output.AddCopy(link));
    EXPECT_FALSE(output.AddCopy(folder.Path()));
    EXPECT_FALSE(output.AddCopy(folder.Path() + "/missing"));
    const std::string large(JobOutput::kBufferSize + 10, 'x');
    output.Write("%!PS\n");
    output.Write(large);
    output.Write("end\n", 4);
    EXPECT_TRUE(output.Flush());
    EXPECT_EQ(FileText(main), "%!PS\n" + large + "end\n");
  }
  close(fd);
  EXPECT_EQ(FileText(copy), FileText(main));
  EXPECT_EQ(FileText(full), "old");
  EXPECT_FALSE(std::ifstream(folder.Path() + "/missing").good());
}

TEST(JobOutput, AFailedWriteIsReported) {
  int fd = open("/dev/full", O_WRONLY);
  ASSERT_NE(fd, -1);
  JobOutput output(fd);
  output.Write("x");
  EXPECT_FALSE(output.Flush());
  EXPECT_TRUE(output.Failed());
  close(fd);
}
