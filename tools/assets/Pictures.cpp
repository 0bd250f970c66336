#include "Pictures.h"

#include "DetMath.h"
#include "Font.h"
#include "SpriteArt.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace assets
{

namespace
{

Rgba WithAlpha(Rgba c, double alpha)
{
    c.a = static_cast<uint8_t>(std::floor(Clamp01(alpha) * 255.0 + 0.5));
    return c;
}

// One colour of a ramp (palette letters from dark to light) for a shade s in
// 0..1, with an ordered dither between neighbouring steps.
Rgba Ramp(const char* ramp, double s, int x, int y, double dither = 1.0)
{
    const int n = static_cast<int>(std::strlen(ramp));
    double index = Clamp01(s) * (n - 1) + BayerOffset(x, y) * dither;
    int i = static_cast<int>(std::floor(index + 0.5));
    i = i < 0 ? 0 : (i >= n ? n - 1 : i);
    return PaletteColor(ramp[i]);
}

unsigned Hash(int x, int y, unsigned seed)
{
    unsigned h = static_cast<unsigned>(x) * 0x8DA6B343u ^ static_cast<unsigned>(y) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

double Lattice(int x, int y, unsigned seed)
{
    return (Hash(x, y, seed) & 0xFFFFu) / 65535.0;
}

// Smooth value noise in 0..1, wrapping with the given period (in lattice cells).
double ValueNoise(double x, double y, unsigned seed, int period)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3.0 - 2.0 * fx);
    const double sy = fy * fy * (3.0 - 2.0 * fy);
    auto at = [&](int i, int j)
    { return Lattice(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

double Fbm(double x, double y, unsigned seed, int period)
{
    double sum = 0.0;
    double amplitude = 0.5;
    double total = 0.0;
    for (int octave = 0; octave < 4; ++octave)
    {
        sum += ValueNoise(x, y, seed + static_cast<unsigned>(octave), period) * amplitude;
        total += amplitude;
        x *= 2.0;
        y *= 2.0;
        period *= 2;
        amplitude *= 0.5;
    }
    return sum / total;
}

// Colours the opaque pixels of a text mask by glyph row (font pixel row
// = mask row / scale) from a ramp listed top to bottom; a pixel with paper
// above takes the row's highlight and one with paper below its shade.
Image ColorizeRows(const Image& mask, int scale, const char* rows, const char* highlights,
                   const char* shades)
{
    Image out(mask.width, mask.height);
    const int n = static_cast<int>(std::strlen(rows));
    for (int y = 0; y < mask.height; ++y)
    {
        const int row = y / scale < n ? y / scale : n - 1;
        for (int x = 0; x < mask.width; ++x)
        {
            if (mask.Get(x, y).a == 0)
            {
                continue;
            }
            char c = rows[row];
            if (highlights != nullptr && mask.Get(x, y - 1).a == 0)
            {
                c = highlights[row];
            }
            else if (shades != nullptr && mask.Get(x, y + 1).a == 0)
            {
                c = shades[row];
            }
            out.Set(x, y, PaletteColor(c));
        }
    }
    return out;
}

// The picture with n transparent pixels added on every side, so outlines and
// shadows have room.
Image Pad(const Image& src, int n)
{
    Image out(src.width + 2 * n, src.height + 2 * n);
    Paste(out, src, n, n);
    return out;
}

// Cuts away transparent rows and columns around the picture.
Image Trim(const Image& src)
{
    int left = src.width;
    int right = -1;
    int top = src.height;
    int bottom = -1;
    for (int y = 0; y < src.height; ++y)
    {
        for (int x = 0; x < src.width; ++x)
        {
            if (src.Get(x, y).a != 0)
            {
                left = x < left ? x : left;
                right = x > right ? x : right;
                top = y < top ? y : top;
                bottom = y > bottom ? y : bottom;
            }
        }
    }
    if (right < 0)
    {
        return Image();
    }
    Image out(right - left + 1, bottom - top + 1);
    for (int y = top; y <= bottom; ++y)
    {
        for (int x = left; x <= right; ++x)
        {
            out.Set(x - left, y - top, src.Get(x, y));
        }
    }
    return out;
}

// Slants a picture to the right: row y moves right by (height - 1 - y) / step.
Image Slant(const Image& src, int step)
{
    const int extra = (src.height - 1) / step;
    Image out(src.width + extra, src.height);
    for (int y = 0; y < src.height; ++y)
    {
        const int shift = (src.height - 1 - y) / step;
        for (int x = 0; x < src.width; ++x)
        {
            out.Set(x + shift, y, src.Get(x, y));
        }
    }
    return out;
}

Image Centered(const Image& picture, int width, int height, int dx = 0, int dy = 0)
{
    if (picture.width > width || picture.height > height)
    {
        throw std::runtime_error("picture of " + std::to_string(picture.width) + " x " +
                                 std::to_string(picture.height) + " does not fit " +
                                 std::to_string(width) + " x " + std::to_string(height));
    }
    Image out(width, height);
    Compose(out, picture, (width - picture.width) / 2 + dx, (height - picture.height) / 2 + dy);
    return out;
}

void Stars(Image& image, int x0, int y0, int w, int h, int count, unsigned seed)
{
    Noise noise(seed);
    for (int i = 0; i < count; ++i)
    {
        const int x = x0 + noise.Range(0, w - 1);
        const int y = y0 + noise.Range(0, h - 1);
        const int kind = noise.Range(0, 99);
        const char c = kind < 55 ? 'G' : (kind < 85 ? 'g' : (kind < 95 ? 'l' : 'C'));
        if (image.Get(x, y).a == 255)
        {
            image.Set(x, y, PaletteColor(c));
        }
    }
}

} // namespace

Image StarfieldPicture()
{
    Image image(128, 128);
    // Faint clouds first: deep purple and teal haze, mostly see-through.
    for (int y = 0; y < 128; ++y)
    {
        for (int x = 0; x < 128; ++x)
        {
            const double n = Fbm(x / 32.0, y / 32.0, 11, 4);
            const double m = Fbm(x / 16.0 + 7.0, y / 16.0, 23, 8);
            const double cloud = SmoothStep(0.45, 0.75, n);
            if (cloud <= 0.0)
            {
                continue;
            }
            const char c = m > 0.55 ? 't' : (cloud > 0.6 ? 'P' : 'p');
            // Alpha in a few steps, so the haze keeps the look of pixel art.
            const double alpha = std::floor((cloud * 0.45 + BayerOffset(x, y) * 0.08) * 8.0) / 8.0;
            if (alpha > 0.0)
            {
                image.Set(x, y, WithAlpha(PaletteColor(c), alpha));
            }
        }
    }
    Noise noise(4242);
    for (int i = 0; i < 150; ++i)
    {
        const int x = noise.Range(1, 126);
        const int y = noise.Range(1, 126);
        const int kind = noise.Range(0, 99);
        if (kind < 60)
        {
            image.Set(x, y, PaletteColor('G'));
        }
        else if (kind < 85)
        {
            image.Set(x, y, PaletteColor('g'));
        }
        else if (kind < 96)
        {
            image.Set(x, y, PaletteColor(kind % 2 == 0 ? 'l' : 'C'));
        }
        else
        {
            // A bright star with four short rays.
            image.Set(x, y, PaletteColor('w'));
            image.Set(x - 1, y, PaletteColor('c'));
            image.Set(x + 1, y, PaletteColor('c'));
            image.Set(x, y - 1, PaletteColor('c'));
            image.Set(x, y + 1, PaletteColor('c'));
        }
    }
    return image;
}

Image SwirlPicture()
{
    Image image(128, 128);
    for (int y = 0; y < 128; ++y)
    {
        for (int x = 0; x < 128; ++x)
        {
            const double dx = x - 63.5;
            const double dy = y - 63.5;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double theta = DetAtan2(dy, dx);
            // Two arms winding outwards; the edge fades out well inside the
            // square so the turning picture never shows a corner.
            const double phase = 2.0 * theta - r * 0.15;
            const double arm = 0.5 + 0.5 * DetCos(phase);
            const double armShape = arm * arm * arm;
            const double fade = SmoothStep(60.0, 24.0, r);
            const double core = DetExp(-r * r / 90.0);
            const double grain = Fbm(x / 12.0, y / 12.0, 77, 11) - 0.5;
            const double disc = SmoothStep(56.0, 10.0, r) * 0.22;
            const double brightness =
                Clamp01((armShape * 0.8 + disc) * fade * (0.9 + grain * 0.5) + core * 0.9);
            if (brightness < 0.06)
            {
                continue;
            }
            char c;
            if (core > 0.55)
            {
                c = core > 0.85 ? 'w' : 'M';
            }
            else if (r < 22.0)
            {
                c = brightness > 0.5 ? 'm' : 'P';
            }
            else
            {
                c = brightness > 0.55 ? 'T' : (brightness > 0.3 ? 'P' : 'p');
            }
            const double alpha = std::floor(brightness * 0.36 * 16.0 + 0.5) / 16.0;
            if (alpha > 0.0)
            {
                image.Set(x, y, WithAlpha(PaletteColor(c), alpha));
            }
        }
    }
    // A few solid stars caught in the arms.
    Noise noise(909);
    for (int i = 0; i < 60; ++i)
    {
        const int x = noise.Range(16, 111);
        const int y = noise.Range(16, 111);
        const Rgba under = image.Get(x, y);
        if (under.a >= 48)
        {
            image.Set(x, y, PaletteColor(i % 3 == 0 ? 'C' : 'c'));
        }
    }
    return image;
}

Image TitleBackdrop()
{
    Image image(64, 64);
    for (int y = 0; y < 64; ++y)
    {
        for (int x = 0; x < 64; ++x)
        {
            // Sky in broad bands from near black to deep purple, dithered only
            // where two bands meet (each pixel is five and a half on screen).
            const double t = Clamp01((y - 4.0) / 50.0);
            image.Set(x, y, Ramp("vknbp", t, x, y, 0.45));
            // A dark planet rising from the bottom with a thin lit rim and a
            // purple glow of atmosphere above it.
            const double dx = x + 0.5 - 40.0;
            const double dy = y + 0.5 - 144.0;
            const double d = std::sqrt(dx * dx + dy * dy) - 100.0; // < 0 inside
            if (d < 0.0)
            {
                const double depth = -d;
                char c = depth < 1.0 ? 'C' : (depth < 2.0 ? 'T' : 't');
                if (depth >= 4.0)
                {
                    c = (depth < 7.0 && BayerOffset(x, y) > 0.0) ? 't' : 'n';
                }
                image.Set(x, y, PaletteColor(c));
            }
            else if (d < 3.0 && (d < 1.0 || BayerOffset(x, y) > (d - 1.0) / 2.0 - 0.5))
            {
                image.Set(x, y, PaletteColor(d < 1.0 ? 'P' : 'p'));
            }
        }
    }
    Noise noise(3131);
    for (int i = 0; i < 22; ++i)
    {
        const int x = noise.Range(0, 63);
        const int y = noise.Range(2, 44);
        const double dx = x + 0.5 - 40.0;
        const double dy = y + 0.5 - 144.0;
        if (std::sqrt(dx * dx + dy * dy) < 104.0)
        {
            continue;
        }
        const int kind = noise.Range(0, 9);
        image.Set(x, y, PaletteColor(kind < 5 ? 'G' : (kind < 8 ? 'g' : 'l')));
    }
    return image;
}

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
            const char* ramp = "Gglw";
            switch (part)
            {
            case Part::Hull:
                ramp = "nGglw";
                break;
            case Part::Canopy:
                ramp = "nbBcCw";
                break;
            case Part::Wing:
                ramp = "nbGgl";
                break;
            case Part::WingStripe:
                ramp = "rRo";
                break;
            case Part::Cannon:
                ramp = "kGgl";
                break;
            case Part::Engine:
                ramp = "kbGgl";
                break;
            case Part::Flame:
                ramp = "rRoyYw";
                break;
            case Part::None:
                break;
            }
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

namespace
{

Image OutlinedText(const char* text, const char* rows, const char* highlights, const char* shades)
{
    const Image mask = TextMask(Face::Regular, text, 1, 1);
    const Image colored = Pad(ColorizeRows(mask, 1, rows, highlights, shades), 1);
    return Trim(Outline(colored, PaletteColor('k'), true));
}

} // namespace

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

Image DigitGlyph(int digit)
{
    // Digits keep the full 5-column cell so narrow ones (1) stay centred.
    const auto bits = GlyphBits(Face::Regular, static_cast<char>('0' + digit));
    Image mask(GlyphWidth, GlyphRows);
    for (int row = 0; row < GlyphRows; ++row)
    {
        for (int col = 0; col < GlyphWidth; ++col)
        {
            if ((bits[static_cast<size_t>(row)] & (1u << (GlyphWidth - 1 - col))) != 0)
            {
                mask.Set(col, row, {255, 255, 255, 255});
            }
        }
    }
    const Image colored = ColorizeRows(mask, 1, "YYyyyoo", nullptr, nullptr);
    Image glyph(9, 8);
    Compose(glyph, colored, 1, 0);
    return glyph;
}

Image PanelCaption(const char* text, int width)
{
    const Image mask = TextMask(Face::Narrow, text, 1, 1);
    const Image colored = ColorizeRows(mask, 1, "CCcccBB", nullptr, nullptr);
    const Image shadowed = WithShadow(colored, PaletteColor('b'), 1, 1);
    if (shadowed.width + 1 > width)
    {
        throw std::runtime_error(std::string("caption ") + text + " is too wide");
    }
    Image caption(width, 8);
    Compose(caption, shadowed, 1, 0);
    return caption;
}

Image GameOverBanner()
{
    const Image mask = TextMask(Face::Regular, "GAME OVER", 2, 1);
    const Image colored = Pad(ColorizeRows(mask, 2, "wYyoRRr", nullptr, nullptr), 1);
    const Image outlined = Trim(Outline(colored, PaletteColor('k'), true));
    return Centered(outlined, 100, 16, 0, 0);
}

Image PanelBackground()
{
    Image panel(96, 240);
    for (int y = 0; y < 240; ++y)
    {
        for (int x = 0; x < 96; ++x)
        {
            panel.Set(x, y, Ramp("bnnk", y / 239.0, x, y, 1.0));
        }
    }
    // The edge against the field: a lit rim over a dark groove.
    for (int y = 0; y < 240; ++y)
    {
        panel.Set(0, y, PaletteColor('k'));
        panel.Set(1, y, PaletteColor('g'));
        panel.Set(2, y, PaletteColor('G'));
        panel.Set(95, y, PaletteColor('k'));
    }
    // Header lights.
    for (int i = 0; i < 6; ++i)
    {
        const int x = 14 + i * 13;
        panel.Fill(x, 12, 6, 3, PaletteColor(i % 2 == 0 ? 'T' : 't'));
        panel.Fill(x, 12, 6, 1, PaletteColor(i % 2 == 0 ? 'C' : 'T'));
    }
    // Sunken boxes behind each caption and its number.
    for (int group = 0; group < 4; ++group)
    {
        const int top = 27 + group * 30;
        const int left = 9;
        const int right = 86;
        const int bottom = top + 22;
        panel.Fill(left, top, right - left + 1, bottom - top + 1, PaletteColor('v'));
        for (int x = left; x <= right; ++x)
        {
            panel.Set(x, top, PaletteColor('k'));
            panel.Set(x, bottom, PaletteColor('G'));
        }
        for (int y = top; y <= bottom; ++y)
        {
            panel.Set(left, y, PaletteColor('k'));
            panel.Set(right, y, PaletteColor('G'));
        }
    }
    // An emblem at the foot: the ship on a patch of stars inside a ring.
    const int cx = 48;
    const int cy = 192;
    for (int y = 156; y <= 228; ++y)
    {
        for (int x = 12; x <= 83; ++x)
        {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < 31.0)
            {
                panel.Set(x, y, PaletteColor('v'));
            }
            else if (d < 33.0)
            {
                panel.Set(x, y, PaletteColor(dy < 0 ? 'B' : 'b'));
            }
            else if (d < 34.0)
            {
                panel.Set(x, y, PaletteColor('k'));
            }
        }
    }
    Noise noise(515);
    for (int i = 0; i < 30; ++i)
    {
        const int x = cx + noise.Range(-24, 24);
        const int y = cy + noise.Range(-24, 24);
        const double dx = x - cx;
        const double dy = y - cy;
        if (dx * dx + dy * dy < 26.0 * 26.0)
        {
            panel.Set(x, y, PaletteColor(i % 4 == 0 ? 'g' : 'G'));
        }
    }
    const Image ship = Outline(ScaleNearest(ShipSprite(), 2), PaletteColor('k'), false);
    Compose(panel, ship, cx - ship.width / 2, cy - ship.height / 2);
    return panel;
}

Image ScreenFrame()
{
    constexpr int W = 480;
    constexpr int H = 272;
    constexpr int Left = 80;
    constexpr int Top = 16;
    constexpr int Right = 400;  // first column past the window
    constexpr int Bottom = 256; // first row past the window
    Image frame(W, H);
    for (int y = 0; y < H; ++y)
    {
        for (int x = 0; x < W; ++x)
        {
            if (x >= Left && x < Right && y >= Top && y < Bottom)
            {
                continue;
            }
            // Brushed dark metal: a gentle gradient with a fine diagonal weave.
            double s = 0.55 - y / static_cast<double>(H) * 0.45;
            if ((x + y) % 6 == 0)
            {
                s += 0.18;
            }
            frame.Set(x, y, Ramp("vknb", s, x, y, 0.8));
        }
    }
    // Bevel around the window: dark lip, bright rim, then a soft fall-off.
    const char* bevel = "kglG";
    for (int ring = 0; ring < 4; ++ring)
    {
        const int l = Left - 1 - ring;
        const int t = Top - 1 - ring;
        const int r = Right + ring;
        const int b = Bottom + ring;
        const char lit = bevel[ring];
        const char dim = ring == 1 ? 'G' : (ring == 2 ? 'g' : bevel[ring]);
        for (int x = l; x <= r; ++x)
        {
            frame.Set(x, t, PaletteColor(dim));
            frame.Set(x, b, PaletteColor(lit));
        }
        for (int y = t; y <= b; ++y)
        {
            frame.Set(l, y, PaletteColor(dim));
            frame.Set(r, y, PaletteColor(lit));
        }
    }
    // Screws in the corners.
    const int screws[][2] = {{6, 6}, {W - 8, 6}, {6, H - 8}, {W - 8, H - 8}};
    for (const auto& s : screws)
    {
        frame.Fill(s[0], s[1], 3, 3, PaletteColor('g'));
        frame.Set(s[0], s[1], PaletteColor('l'));
        frame.Set(s[0] + 2, s[1] + 2, PaletteColor('G'));
        frame.Set(s[0] + 1, s[1] + 1, PaletteColor('G'));
    }
    // Left side: the name, one letter under the other.
    const char* name = "SKYREEL";
    for (int i = 0; i < 7; ++i)
    {
        const Image mask = TextMask(Face::Regular, std::string(1, name[i]), 2, 0);
        const Image colored = ColorizeRows(mask, 2, "Yyyoorr", "wYYyyoo", nullptr);
        const Image letter =
            WithShadow(Outline(Pad(colored, 2), PaletteColor('k'), true), PaletteColor('v'), 1, 1);
        Compose(frame, letter, 40 - letter.width / 2, 52 + i * 24);
    }
    // Right side: the cast of the game.
    const Image enemy = Outline(ScaleNearest(EnemySprite(0), 2), PaletteColor('k'), false);
    const Image bonus = Outline(ScaleNearest(BonusShipSprite(0), 2), PaletteColor('k'), false);
    const Image ship = Outline(ScaleNearest(ShipSprite(), 2), PaletteColor('k'), false);
    Compose(frame, bonus, 440 - bonus.width / 2, 30);
    Compose(frame, enemy, 440 - enemy.width / 2, 92);
    Compose(frame, ship, 440 - ship.width / 2, 168);
    return frame;
}

Image ApplicationIcon(int size)
{
    if (size % 32 != 0)
    {
        throw std::runtime_error("icon size must be a multiple of 32");
    }
    // Drawn at 32 x 32 and enlarged, like the game's own pixels.
    Image icon(32, 32);
    for (int y = 0; y < 32; ++y)
    {
        for (int x = 0; x < 32; ++x)
        {
            // Rounded square: corners cut by a quarter circle of radius 5.
            const double cxr = x < 5 ? 5.0 - x - 0.5 : (x > 26 ? x - 26.0 + 0.5 : 0.0);
            const double cyr = y < 5 ? 5.0 - y - 0.5 : (y > 26 ? y - 26.0 + 0.5 : 0.0);
            if (cxr * cxr + cyr * cyr > 25.0)
            {
                continue;
            }
            icon.Set(x, y, Ramp("knbp", y / 31.0, x, y, 0.4));
        }
    }
    Stars(icon, 2, 2, 28, 28, 14, 77);
    const Image ship = Outline(ShipSprite(), PaletteColor('k'), false);
    Compose(icon, ship, (32 - ship.width) / 2, (32 - ship.height) / 2);
    return ScaleNearest(icon, size / 32);
}

} // namespace assets
