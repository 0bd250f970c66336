// Deterministic maths for the asset generator. Only the four IEEE operations,
// sqrt, floor and ldexp are used, which every compiler, optimisation level and
// C library round the same way, so the generated files come out byte for byte
// equal wherever the generator is built (library sin/exp/pow may differ in the
// last bit between a constant folded at compile time and a run-time call).
#pragma once

#include <cmath>

namespace assets
{

constexpr double Pi = 3.14159265358979323846;
constexpr double TwoPi = 2.0 * Pi;

// Sine of x radians, any x; error below 1e-15 on [-pi, pi].
inline double DetSin(double x)
{
    x -= TwoPi * std::floor(x / TwoPi + 0.5); // now in [-pi, pi]
    if (x > Pi / 2)
    {
        x = Pi - x;
    }
    else if (x < -Pi / 2)
    {
        x = -Pi - x;
    }
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 11; ++n)
    {
        term *= -x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

inline double DetCos(double x)
{
    return DetSin(x + Pi / 2);
}

// e to the power x, for |x| below about 700.
inline double DetExp(double x)
{
    constexpr double Ln2 = 0.69314718055994530942;
    const double k = std::floor(x / Ln2 + 0.5);
    const double r = x - k * Ln2; // |r| <= ln2 / 2
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 18; ++n)
    {
        term *= r / static_cast<double>(n);
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// 2 to the power x.
inline double DetExp2(double x)
{
    return DetExp(x * 0.69314718055994530942);
}

// Arc tangent of x, result in [-pi/2, pi/2].
inline double DetAtan(double x)
{
    const bool negative = x < 0.0;
    if (negative)
    {
        x = -x;
    }
    const bool inverted = x > 1.0;
    if (inverted)
    {
        x = 1.0 / x;
    }
    // Two half-angle steps bring x below tan(pi/16) so the series converges fast.
    for (int i = 0; i < 2; ++i)
    {
        x = x / (1.0 + std::sqrt(1.0 + x * x));
    }
    const double x2 = x * x;
    double power = x;
    double sum = x;
    for (int n = 1; n <= 12; ++n)
    {
        power *= -x2;
        sum += power / static_cast<double>(2 * n + 1);
    }
    sum *= 4.0;
    if (inverted)
    {
        sum = Pi / 2 - sum;
    }
    return negative ? -sum : sum;
}

// Angle of the point (x, y) from the positive x axis, in (-pi, pi].
inline double DetAtan2(double y, double x)
{
    if (x > 0.0)
    {
        return DetAtan(y / x);
    }
    if (x < 0.0)
    {
        return y >= 0.0 ? DetAtan(y / x) + Pi : DetAtan(y / x) - Pi;
    }
    if (y > 0.0)
    {
        return Pi / 2;
    }
    return y < 0.0 ? -Pi / 2 : 0.0;
}

// Fixed-seed xorshift generator: the same sequence on every machine.
struct Noise
{
    unsigned int state;

    explicit Noise(unsigned int seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}

    unsigned int Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 8) / 16777216.0; }
    // Uniform in [-1, 1).
    double Signed() { return Unit() * 2.0 - 1.0; }
    // Uniform integer in [lo, hi].
    int Range(int lo, int hi)
    {
        return lo + static_cast<int>(Next() % static_cast<unsigned>(hi - lo + 1));
    }
};

inline double Clamp01(double v)
{
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

inline double SmoothStep(double edge0, double edge1, double v)
{
    const double t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

} // namespace assets
