#include "platform/metafile/PageGeometry.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(PageGeometry, MillimetresToDeviceUnits)
{
    struct Case {
        const char *name;
        long double mm;
        int dev;
    } cases[] = {
        {"1 mm is round(6.80) = 7", 1, 7},
        {"page width 210 mm", 210, 1429},
        {"page height 294 mm", 294, 2000},
        {"character width 1.5909 mm is round(10.82)", 1.5909, 11},
        {"character height 3.5 mm is round(23.81)", 3.5, 24},
        {"rule pen 0.15 mm is round(1.02)", 0.15, 1},
        {"zero", 0, 0},
        {"negative values round symmetrically", -1, -7},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(MmToDevX(c.mm), c.dev);
        EXPECT_EQ(MmToDevY(c.mm), c.dev);
    }
    EXPECT_EQ(PageWidthForDpi(96), kPageWidth);
    EXPECT_EQ(PageHeightForDpi(96), kPageHeight);
    // Another screen resolution gives other units: 120 dpi makes 1 mm round(8.50) = 9.
    EXPECT_EQ(MmToDevX(1, 120), 9);
}

TEST(PageGeometry, DeviceUnitsBackToMillimetres)
{
    EXPECT_FLOAT_EQ(DevToMmY(7), float(7.0L / 96 * 25.4L / 1.8L));
    EXPECT_FLOAT_EQ(DevToMmX(1429), float(1429.0L / 96 * 25.4L / 1.8L));
    // Every device row maps to millimetres that map back to it.
    for (int d = -50; d <= kPageHeight; ++d)
        ASSERT_EQ(MmToDevY(DevToMmY(d)), d) << d;
}
