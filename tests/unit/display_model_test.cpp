#include <gtest/gtest.h>

#include "controller/display_model.h"

namespace qmx::controller {
namespace {

TEST(DisplayModel, LevelsShowTheRoundedPercent) {
    const std::pair<std::uint32_t, int> table[] = {
        {0, 0}, {327, 0}, {328, 1}, {32767, 50}, {32768, 50}, {65534, 100}, {65535, 100}};
    for (auto [level, percent] : table) {
        EXPECT_EQ(volumePercent(level), percent) << "level " << level;
    }
}

TEST(DisplayModel, KnobTopFollowsThePercentOnTheGrid) {
    const std::pair<int, float> table[] = {{100, 470.0f}, {99, 483.8f}, {75, 815.0f}, {50, 1160.0f},
                                           {25, 1505.0f}, {1, 1836.2f}, {0, 1850.0f}};
    for (auto [percent, top] : table) {
        EXPECT_EQ(knobTopForPercent(percent), top) << "percent " << percent;
    }
}

TEST(DisplayModel, KnobTopsRoundToTheNearestStep) {
    EXPECT_EQ(knobStepForTop(470.0f), 0);
    EXPECT_EQ(knobStepForTop(476.9f), 0);
    EXPECT_EQ(knobStepForTop(477.0f), 1);
    EXPECT_EQ(knobStepForTop(1150.0f), 49);
    EXPECT_EQ(knobStepForTop(1845.0f), 100);
    EXPECT_EQ(knobStepForTop(1850.0f), 100);
}

TEST(DisplayModel, LevelsWrittenForKnobStepsTieToEven) {
    const std::pair<int, std::uint32_t> table[] = {
        {0, 65535},  {1, 64880}, {10, 58982}, {30, 45874}, {50, 32768},
        {70, 19660}, {90, 6554}, {99, 655},   {100, 0},    {49, 33423}};
    for (auto [step, level] : table) {
        EXPECT_EQ(levelForKnobStep(step), level) << "step " << step;
    }
}

TEST(DisplayModel, EveryKnobStepSurvivesAWriteAndReadBack) {
    for (int step = 0; step <= 100; ++step) {
        const int percent = volumePercent(levelForKnobStep(step));
        ASSERT_EQ(percent, 100 - step) << "step " << step;
        EXPECT_EQ(knobStepForTop(knobTopForPercent(percent)), step);
    }
}

}  // namespace
}  // namespace qmx::controller
