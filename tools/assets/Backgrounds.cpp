// The background layers of the play field and the title screen's backdrop.
#include "DetMath.h"
#include "DrawingKit.h"
#include "Pictures.h"

#include <cmath>

namespace assets
{

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

} // namespace assets
