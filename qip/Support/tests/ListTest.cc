#include <gtest/gtest.h>

#include "qip/Support/List.h"

TEST(List, placeholder) { List<int*> l; EXPECT_EQ(l.length(), 0); }
