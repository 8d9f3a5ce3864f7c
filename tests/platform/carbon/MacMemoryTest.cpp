#include "carbon/MacMemory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "carbon/MacErrors.h"

TEST(MacMemory, HandleKeepsSizeAndContentsAcrossResize) {
  Handle h = NewHandle(4);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GetHandleSize(h), 4);
  std::memcpy(*h, "abcd", 4);
  SetHandleSize(h, 100000);
  EXPECT_EQ(MemError(), noErr);
  EXPECT_EQ(GetHandleSize(h), 100000);
  EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
  SetHandleSize(h, 0);
  EXPECT_EQ(GetHandleSize(h), 0);
  DisposeHandle(h);
}

TEST(MacMemory, BadArgumentsReportErrors) {
  EXPECT_EQ(NewHandle(-1), nullptr);
  EXPECT_EQ(MemError(), paramErr);
  EXPECT_EQ(GetHandleSize(nullptr), 0);
  EXPECT_EQ(MemError(), nilHandleErr);
  OSErr err = 1;
  Handle h = TempNewHandle(0, &err);
  EXPECT_EQ(err, noErr);
  EXPECT_EQ(GetHandleSize(h), 0);
  TempDisposeHandle(h, &err);
  EXPECT_EQ(err, noErr);
  Ptr p = NewPtrClear(8);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[7], 0);
  DisposePtr(p);
}
