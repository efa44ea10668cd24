// The image cache is emptied after the app stays hidden five minutes, or when the kernel
// reports memory pressure; a return within the five minutes keeps it.
#include "ui/app/ImageCacheTrimmer.h"

#include "core/async/ManualClock.h"

#include <gtest/gtest.h>

using namespace halvex;

TEST(ImageCacheTrimmerTest, HiddenLongOrUnderPressureEmptiesTheCache)
{
    ManualClock clock;
    int trims = 0;
    std::optional<double> pressure = 0.5;
    ImageCacheTrimmer trimmer(
        clock, [&] { ++trims; }, [&] { return pressure; });
    trimmer.setVisible(false);
    clock.advance(ImageCacheTrimmer::hiddenForMs - 1);
    trimmer.setVisible(true);
    clock.advance(ImageCacheTrimmer::hiddenForMs);
    EXPECT_EQ(trims, 0);
    trimmer.setVisible(false);
    clock.advance(ImageCacheTrimmer::hiddenForMs);
    EXPECT_EQ(trims, 1);

    pressure = 23.0;
    clock.advance(ImageCacheTrimmer::pressureCheckMs);
    EXPECT_EQ(trims, 2);
    EXPECT_EQ(ImageCacheTrimmer::parsePressure("some avg10=12.34 avg60=1.00 avg300=0.00 total=1\nfull avg10=0.00"),
              12.34);
    EXPECT_EQ(ImageCacheTrimmer::parsePressure("nonsense"), std::nullopt);
}
