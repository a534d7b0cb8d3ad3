#include "app/NumberText.h"

#include <gtest/gtest.h>

TEST(NumberText, Placeholder) {
    EXPECT_EQ(NumberText::LeadingNumber("12abc"), 12.0);
}
