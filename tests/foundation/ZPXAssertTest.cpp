#include "foundation/ZPXAssert.h"

#include <gtest/gtest.h>

TEST(ZPXAssertDeathTest, ReportsPathWithoutExtensionLineAndExpression) {
  int value = 1;
  EXPECT_DEATH(ZPX_ASSERT(value == 2),
               "^foundation/ZPXAssertTest:[0-9]+: failed assertion `value == 2'\n");
}
