// System V segments of this user that go away with their last attachment.
#include <gtest/gtest.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "ipc/SharedSegment.h"

TEST(SharedSegmentTest, PrivateSegmentsLiveWhileAttachedAndAnotherProcessCanStillJoin) {
  const int id = SharedSegmentCreate(4096);
  ASSERT_GT(id, 0);
  struct shmid_ds status;
  ASSERT_EQ(0, shmctl(id, IPC_STAT, &status));
  EXPECT_EQ(0600u, status.shm_perm.mode & 0777);
  EXPECT_FALSE(status.shm_perm.mode & SHM_DEST);

  char* area = static_cast<char*>(SharedSegmentAttachAndMark(id));
  ASSERT_NE(nullptr, area);
  ASSERT_EQ(0, shmctl(id, IPC_STAT, &status));
  EXPECT_TRUE(status.shm_perm.mode & SHM_DEST);

  // The other side attaches the marked segment by its number and writes.
  const pid_t child = fork();
  if (child == 0) {
    char* joined = static_cast<char*>(shmat(id, nullptr, 0));
    if (joined == reinterpret_cast<char*>(-1)) _exit(1);
    strcpy(joined, "4096");
    _exit(shmdt(joined));
  }
  int exited = 0;
  ASSERT_EQ(child, waitpid(child, &exited, 0));
  EXPECT_EQ(0, WEXITSTATUS(exited));
  EXPECT_STREQ("4096", area);

  size_t size = 0;
  const char* reading = static_cast<const char*>(SharedSegmentAttachOwnReadOnly(id, size));
  ASSERT_NE(nullptr, reading);
  EXPECT_EQ(4096u, size);
  EXPECT_STREQ("4096", reading);
  SharedSegmentDetach(reading);

  SharedSegmentDetach(area);
  EXPECT_NE(0, shmctl(id, IPC_STAT, &status)) << "gone with its last attachment";
  EXPECT_EQ(nullptr, SharedSegmentAttachOwnReadOnly(id, size));
  EXPECT_EQ(nullptr, SharedSegmentAttachAndMark(0));
}
