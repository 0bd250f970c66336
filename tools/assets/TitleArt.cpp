// The title screen: the large picture of the ship, the name, the caption and
// the prompt.
#include "DetMath.h"
#include "DrawingKit.h"
#include "Font.h"
#include "Pictures.h"

#include <cmath>

namespace assets
{

namespace
{

// Half width of the large ship's body at row y (176 x 208 picture, nose up).
double HullHalfWidth(double y)
{
    if (y < 8.0 || y > 176.0)
    {
        return -1.0;
    }
    if (y < 70.0)
    {
        return 15.0 * std::sqrt((y - 8.0) / 62.0);
    }
    if (y < 150.0)
    {
        return 15.0;
    }
    return 15.0 - (y - 150.0) * 0.2;
}

// Signed area test for the point (px, py) against the polygon.
bool InsidePolygon(const double* xs, const double* ys, int n, double px, double py)
{
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++)
    {
        if ((ys[i] > py) != (ys[j] > py) &&
            px < (xs[j] - xs[i]) * (py - ys[i]) / (ys[j] - ys[i]) + xs[i])
        {
            inside = !inside;
        }
    }
    return inside;
}

enum class Part
{
    None,
    Hull,
    Canopy,
    Wing,
    WingStripe,
    Cannon,
    Engine,
    Flame,
};

// Each Part's colour ramp, darkest first, in the order of Part.
constexpr const char* PartRamps[] = {"Gglw", "nGglw", "nbBcCw", "nbGgl",
                                     "rRo",  "kGgl",  "kbGgl",  "rRoyYw"};

// Which part of the large ship covers the point; the shade (0 dark .. 1 lit)
// goes to *shade. Light comes from the upper left.
Part LargeShipPart(double px, double py, double* shade)
{
    const double cx = 88.0;
    const double u = px - cx;
    const double side = u < 0.0 ? -1.0 : 1.0;
    const double au = std::fabs(u);
    // Canopy: a long drop of glass on the spine.
    {
        const double ex = u / 7.0;
        const double ey = (py - 64.0) / 18.0;
        if (ex * ex + ey * ey <= 1.0)
        {
            const double hx = (u + 3.0) / 7.0;
            const double hy = (py - 54.0) / 14.0;
            *shade = Clamp01(1.0 - std::sqrt(hx * hx + hy * hy) * 0.9);
            return Part::Canopy;
        }
    }
    // Exhaust flames under the two engines.
    {
        const double ecx = 21.0;
        const double fy = (py - 178.0) / 28.0;
        const double fw = 5.5 * (1.0 - fy);
        if (fy >= 0.0 && fy <= 1.0 && std::fabs(au - ecx) <= fw)
        {
            const double across = std::fabs(au - ecx) / (fw + 0.001);
            *shade = Clamp01(1.0 - fy * 0.9 - across * 0.45);
            return Part::Flame;
        }
    }
    // Engines: two round pods beside the tail.
    {
        const double ecx = 21.0;
        const double ew = 6.5;
        if (py >= 124.0 && py <= 179.0 && std::fabs(au - ecx) <= ew)
        {
            const double across = (side * (au - ecx)) / ew; // -1 left edge .. 1 right edge
            double s = 1.0 - (across + 0.4) * (across + 0.4) * 0.6;
            if (py > 172.0)
            {
                s *= 0.45;
            }
            *shade = Clamp01(s);
            return Part::Engine;
        }
    }
    // Body.
    const double hw = HullHalfWidth(py);
    if (hw > 0.0 && au <= hw)
    {
        const double across = u / hw;
        double s = 1.0 - (across + 0.35) * (across + 0.35) * 0.55 - (py / 208.0) * 0.25;
        if (std::fabs(py - 104.0) < 0.8 || std::fabs(py - 138.0) < 0.8)
        {
            s -= 0.3; // panel seams
        }
        *shade = Clamp01(s);
        // A red band round the body behind the canopy.
        if (py >= 96.0 && py < 101.0)
        {
            *shade = Clamp01(s + 0.1);
            return Part::WingStripe;
        }
        return Part::Hull;
    }
    // Wing-tip cannons.
    {
        const double ccx = 73.0;
        if (py >= 104.0 && py <= 170.0 && std::fabs(au - ccx) <= 3.5)
        {
            const double tip = py < 112.0 ? (112.0 - py) / 8.0 : 0.0;
            if (std::fabs(au - ccx) <= 3.5 * (1.0 - tip))
            {
                const double across = side * (au - ccx) / 3.5;
                *shade = Clamp01(0.85 - (across + 0.3) * (across + 0.3) * 0.5);
                return Part::Cannon;
            }
        }
    }
    // Swept wings.
    {
        const double xs[] = {14.0, 72.0, 76.0, 40.0, 10.0};
        const double ys[] = {88.0, 152.0, 166.0, 160.0, 116.0};
        if (InsidePolygon(xs, ys, 5, au, py))
        {
            // Distance behind the leading edge, from (14,88) to (72,152).
            const double ex = 58.0;
            const double ey = 64.0;
            const double len = std::sqrt(ex * ex + ey * ey);
            const double behind = ((py - 88.0) * ex - (au - 14.0) * ey) / len;
            const double s = side < 0.0 ? 0.75 : 0.55;
            if (behind > 4.0 && behind < 9.0)
            {
                *shade = Clamp01(s + 0.1);
                return Part::WingStripe;
            }
            *shade = Clamp01(s + (behind < 2.0 ? 0.35 : 0.0) - (py - 88.0) / 160.0);
            return Part::Wing;
        }
    }
    return Part::None;
}

} // namespace

Image TitleLargePicture()
{
    Image image(176, 208);
    constexpr int Samples = 4;
    for (int y = 0; y < 208; ++y)
    {
        for (int x = 0; x < 176; ++x)
        {
            // Coverage by 4 x 4 samples decides whether the pixel is drawn at
            // all (edges stay crisp); the centre sample decides its colour.
            int covered = 0;
            for (int j = 0; j < Samples; ++j)
            {
                for (int i = 0; i < Samples; ++i)
                {
                    double s = 0.0;
                    if (LargeShipPart(x + (i + 0.5) / Samples, y + (j + 0.5) / Samples, &s) !=
                        Part::None)
                    {
                        ++covered;
                    }
                }
            }
            if (covered * 2 < Samples * Samples)
            {
                continue;
            }
            double shade = 0.0;
            Part part = LargeShipPart(x + 0.5, y + 0.5, &shade);
            if (part == Part::None)
            {
                // Mostly covered but the centre is just outside: take a neighbour's part.
                part = LargeShipPart(x + 0.25, y + 0.25, &shade);
                if (part == Part::None)
                {
                    part = LargeShipPart(x + 0.75, y + 0.75, &shade);
                }
                if (part == Part::None)
                {
                    continue;
                }
            }
            const char* ramp = PartRamps[static_cast<int>(part)];
            image.Set(x, y, Ramp(ramp, shade, x, y, 0.9));
        }
    }
    // Outline the silhouette in the darkest colour so it reads on any backdrop.
    Image outlined = Outline(image, PaletteColor('k'), false);
    return outlined;
}

Image TitleStrip()
{
    const Image mask = TextMask(Face::Regular, "SKYREEL", 3, 3);
    const Image colored = ColorizeRows(mask, 3, "Yyyoorr", "wYYyyoo", "yoorrrr");
    const Image slanted = Pad(Slant(colored, 4), 4);
    const Image outlined =
        Outline(Outline(slanted, PaletteColor('k'), true), PaletteColor('p'), false);
    const Image shadowed = Trim(WithShadow(outlined, PaletteColor('v'), 2, 2));
    Image strip(160, 32);
    // Speed lines trailing to the left of the name.
    const int textX = 160 - shadowed.width - 2;
    const int textY = (32 - shadowed.height) / 2;
    const int lines[][3] = {{8, 'C', 2}, {13, 'c', 4}, {18, 'B', 1}, {23, 'b', 6}};
    for (const auto& line : lines)
    {
        for (int x = line[2]; x < textX + 6; ++x)
        {
            if ((x - line[2]) % 11 < 8 || x > textX - 14)
            {
                strip.Set(x, textY + line[0], PaletteColor(static_cast<char>(line[1])));
            }
        }
    }
    Compose(strip, shadowed, textX, textY);
    return strip;
}

Image TitleCaption()
{
    const Image text = OutlinedText("GRAZE TO SCORE", "CCCCccc", nullptr, nullptr);
    Image caption = Centered(text, 96, 16, 0, -1);
    // A thin rule under the words.
    for (int x = 4; x < 92; ++x)
    {
        caption.Set(x, 13, PaletteColor(x % 2 == 0 ? 'B' : 'b'));
    }
    return caption;
}

Image TitlePrompt()
{
    const Image text = OutlinedText("PRESS Z KEY", "wwYYYyy", nullptr, nullptr);
    return Centered(text, 80, 16);
}

} // namespace assets
