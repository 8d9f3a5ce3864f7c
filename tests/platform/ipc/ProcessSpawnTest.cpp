// Programs start without a shell and with only the standard descriptors.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "ipc/ProcessSpawn.h"
#include "support/TempFolder.h"

namespace {

int ExitStatusOf(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(ProcessSpawnTest, ArgumentsReachTheProgramUnreadByAnyShell) {
  TempFolder folder;
  const std::string marker = folder.Path() + "/x";
  // A shell would run the substitution; the program only sees one argument.
  const std::string hostile = "\"; $(touch " + marker + ")";
  const pid_t child = ProcessSpawn("/usr/bin/test", {hostile, "=", hostile});
  ASSERT_GT(child, 0);
  EXPECT_EQ(0, ExitStatusOf(child));
  EXPECT_NE(0, access(marker.c_str(), F_OK));

  EXPECT_EQ(-1, ProcessSpawn(folder.Path() + "/\"; $(touch " + marker + ")", {"1"}));
  EXPECT_NE(0, access(marker.c_str(), F_OK));
}

TEST(ProcessSpawnTest, OnlyTheStandardDescriptorsAreInherited) {
  const int inheritable = open("/dev/null", O_RDONLY);  // no close-on-exec
  ASSERT_GT(inheritable, 2);
  const std::string own = "/proc/self/fd/" + std::to_string(inheritable);
  EXPECT_EQ(1, ExitStatusOf(ProcessSpawn("/usr/bin/test", {"-e", own})));
  EXPECT_EQ(0, ExitStatusOf(ProcessSpawn("/usr/bin/test", {"-e", "/proc/self/fd/2"})));
  close(inheritable);
}

TEST(ProcessSpawnTest, ChildrenAreReaped) {
  const pid_t quick = ProcessSpawn("/bin/true", {});
  ASSERT_GT(quick, 0);
  ProcessReapWithin(quick, 5);
  EXPECT_EQ(-1, waitpid(quick, nullptr, WNOHANG)) << "already reaped";

  const pid_t slow = ProcessSpawn("/bin/sleep", {"30"});
  ASSERT_GT(slow, 0);
  EXPECT_FALSE(ProcessReap(slow));
  ProcessReapWithin(slow, 0.05);  // ended and reaped
  EXPECT_TRUE(ProcessReap(slow));
  EXPECT_EQ(-1, waitpid(slow, nullptr, WNOHANG));
}
