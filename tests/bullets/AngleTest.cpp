#include "bullets/Angle.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace
{

// sin or cos of k degrees rounded to 6 decimals, worked out in long double;
// also fails when the value lies too near a rounding boundary for the
// rounding to be certain.
float RoundedDegreeValue(int k, bool sine)
{
    const long double pi = 3.14159265358979323846264338327950288L;
    const long double radians = static_cast<long double>(k) * pi / 180.0L;
    const long double value = sine ? std::sin(radians) : std::cos(radians);
    const long double millionths = value * 1000000.0L;
    const long double rounded = std::round(millionths);
    EXPECT_GT(std::fabs(std::fabs(millionths - rounded) - 0.5L), 0.0001L) << k;
    return static_cast<float>(rounded / 1000000.0L);
}

// The next `count` values of std::rand after srand(seed), the generator then
// seeded again so that the code under test draws these same values in order.
std::vector<int> DrawsFromSeed(unsigned seed, int count)
{
    std::srand(seed);
    std::vector<int> draws;
    for (int i = 0; i < count; ++i)
    {
        draws.push_back(std::rand());
    }
    std::srand(seed);
    return draws;
}

} // namespace

TEST(AngleTables, EveryEntryIsTheRoundedSineAndCosineOfItsDegree)
{
    for (int k = 0; k < AngleTableSize; ++k)
    {
        EXPECT_EQ(AngleSineTable[k], RoundedDegreeValue(k, true)) << "sine " << k;
        EXPECT_EQ(AngleCosineTable[k], RoundedDegreeValue(k, false)) << "cosine " << k;
    }
    EXPECT_EQ(AngleSineTable[1], 0.017452f);
    EXPECT_EQ(AngleSineTable[30], 0.5f);
    EXPECT_EQ(AngleSineTable[359], -0.017452f);
    EXPECT_TRUE(std::signbit(AngleSineTable[360]));
    EXPECT_EQ(AngleCosineTable[1], 0.999848f);
    EXPECT_EQ(AngleCosineTable[60], 0.5f);
    EXPECT_EQ(AngleCosineTable[360], 1.0f);
}

TEST(AngleLookup, IndexIsTheTruncatedWholeDegree)
{
    EXPECT_EQ(SinAngle(0), 0.0f);
    EXPECT_EQ(CosAngle(0), 1.0f);
    EXPECT_EQ(SinAngle(16384), 1.0f);
    EXPECT_EQ(CosAngle(16384), 0.0f);
    EXPECT_EQ(SinAngle(49152), -1.0f);
    EXPECT_EQ(SinAngle(182), 0.0f);
    EXPECT_EQ(SinAngle(183), 0.017452f);
    EXPECT_EQ(CosAngle(183), 0.999848f);
    EXPECT_EQ(SinAngle(65535), -0.017452f);
    EXPECT_EQ(CosAngle(65535), 0.999848f);
}

TEST(AngleLookup, AnglesOutsideOneTurnWrapInsteadOfLeavingTheTable)
{
    EXPECT_EQ(SinAngle(-1), SinAngle(65535));
    EXPECT_EQ(SinAngle(65536), SinAngle(0));
    EXPECT_EQ(CosAngle(-16384), CosAngle(49152));
    EXPECT_EQ(SinAngle(65536 * 3 + 16384), 1.0f);
    EXPECT_EQ(SinAngle(INT_MAX), SinAngle(65535));
    EXPECT_EQ(CosAngle(INT_MIN), CosAngle(0));
}

TEST(AngleTo, GivesSignedDirectionsOfTheVector)
{
    EXPECT_EQ(AngleTo(0, 0), 0);
    EXPECT_EQ(AngleTo(0, 1), 0);
    EXPECT_EQ(AngleTo(1, 0), 16384);
    EXPECT_EQ(AngleTo(1, 1), 8192);
    EXPECT_EQ(AngleTo(-1, -1), -24576);
    EXPECT_EQ(AngleTo(0, -1), 32768);
    EXPECT_EQ(AngleTo(-1, 0), -16384);
    EXPECT_EQ(AngleTo(-200, 0), -16384);
}

TEST(AngleTo, RoundsToSinglePrecisionBeforeTruncating)
{
    // Taken in double precision throughout these would come out one unit
    // nearer zero.
    EXPECT_EQ(AngleTo(45, 14), 13238);
    EXPECT_EQ(AngleTo(14, -45), 29622);
    EXPECT_EQ(AngleTo(-59, -31), -21430);
}

TEST(RandomRange, TakesExactlyOneDrawPerCall)
{
    const std::vector<int> draws = DrawsFromSeed(77, 3);
    EXPECT_EQ(RandomRange(5, 5), 5);
    EXPECT_EQ(RandomRange(-10, 20), -10 + draws[1] % 31);
    EXPECT_EQ(RandomRange(0, 1000), draws[2] % 1001);
}

TEST(RandomRange, ReversedOrHugeRangesStayDefined)
{
    const std::vector<int> draws = DrawsFromSeed(3, 3);
    EXPECT_EQ(RandomRange(4, 3), 4); // would divide by zero
    EXPECT_EQ(RandomRange(10, -10), 10);
    EXPECT_EQ(RandomRange(INT_MIN, INT_MAX), INT_MIN + draws[2]);
}

TEST(RandomUnit, StepsOf1Over4096IncludingBothEnds)
{
    std::srand(11);
    int drawsBeforeTop = 0;
    while (std::rand() % 4097 != 4096)
    {
        ++drawsBeforeTop;
    }
    std::srand(11);
    for (int i = 0; i < drawsBeforeTop; ++i)
    {
        const float value = RandomUnit();
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
        ASSERT_EQ(value * 4096.0f, std::floor(value * 4096.0f));
    }
    EXPECT_EQ(RandomUnit(), 1.0f);
}
