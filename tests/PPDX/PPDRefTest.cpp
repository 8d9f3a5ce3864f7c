// A holder gives back the one reference it holds, once, and none it handed out.

#include "PPDX/PPDRef.h"

#include <gtest/gtest.h>

#include <utility>

#include "PPDX/ZPXPPD.h"

TEST(PPDRefTest, GivesBackItsReferenceOnceAndNoneItHandedOut) {
  ZPXPPD* document = new ZPXPPD(PARSE_ALL);
  document->Retain();  // the test's own
  {
    PPDRef<ZPXPPD> held(document);
    PPDRef<ZPXPPD> moved(std::move(held));
    EXPECT_FALSE(held);
    EXPECT_EQ(moved.get(), document);
  }
  PPDRef<ZPXPPD> last(document);
  EXPECT_EQ(last.release(), document);
  EXPECT_FALSE(last);
  // The moved holder gave back one reference and `last` none: the test's is the last.
  EXPECT_TRUE(document->Release());
}
