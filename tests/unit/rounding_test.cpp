#include <gtest/gtest.h>

#include "common/rounding.h"
#include "common/runtime_error.h"

namespace qmx {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(6553.5), 6554);
    EXPECT_EQ(roundHalfEven(19660.5), 19660);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
}

TEST(TextToNumber, ReadsDecimalTextAndRejectsTheRest) {
    EXPECT_EQ(textToInt32("1342373889"), 1342373889);
    EXPECT_EQ(textToInt32(" 1 "), 1);
    EXPECT_EQ(textToInt32("-7"), -7);
    EXPECT_THROW(textToInt32(""), RuntimeError);
    EXPECT_THROW(textToInt32("1x"), RuntimeError);
    EXPECT_THROW(textToInt32("2147483648"), RuntimeError);
    EXPECT_EQ(textToInt32("-2147483648"), -2147483647 - 1);
}

}  // namespace
}  // namespace qmx
