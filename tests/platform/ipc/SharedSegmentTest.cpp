// System V segments of this user that go away with their last attachment.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
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

// The first segment of a new IPC namespace is number 0, which the shared area
// reads as "none": it is not handed out, and it does not stay behind either.
// In a child of the test in an IPC namespace of its own (root only, as the
// suite runs).
TEST(SharedSegmentTest, NoSegmentStaysInANewNamespaceWhoseFirstNumberIsZero) {
  EXPECT_EXIT(
      {
        if (unshare(CLONE_NEWIPC) != 0) _exit(3);
        struct shm_info info;
        auto segments = [&info] {
          return shmctl(0, SHM_INFO, reinterpret_cast<struct shmid_ds*>(&info)) < 0
                     ? -1
                     : int(info.used_ids);
        };
        if (segments() != 0) _exit(4);
        const int id = SharedSegmentCreate(119050);
        if (id <= 0) _exit(5);
        if (segments() != 1) {
          fprintf(stderr, "%d segments after making one\n", segments());
          _exit(6);
        }
        void* area = SharedSegmentAttachAndMark(id);
        if (area == nullptr) _exit(7);
        SharedSegmentDetach(area);
        if (segments() != 0) {
          fprintf(stderr, "%d segments left\n", segments());
          _exit(8);
        }
        _exit(0);
      },
      testing::ExitedWithCode(0), "");
}
