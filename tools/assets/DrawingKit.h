// Drawing helpers shared by the generated pictures: colour ramps, tiling
// noise, text colouring, and trimming, padding and centring of pictures.
#pragma once

#include "Image.h"

namespace assets
{

// c with its alpha set from 0..1, rounded to the nearest step.
Rgba WithAlpha(Rgba c, double alpha);
// One colour of a ramp (palette letters from dark to light) for a shade s in
// 0..1, with an ordered dither between neighbouring steps.
Rgba Ramp(const char* ramp, double s, int x, int y, double dither = 1.0);
// Four octaves of smooth value noise in 0..1, wrapping with the given period
// (in lattice cells of the first octave).
double Fbm(double x, double y, unsigned seed, int period);

// Colours the opaque pixels of a text mask by glyph row (font pixel row
// = mask row / scale) from a ramp listed top to bottom; a pixel with paper
// above takes the row's highlight and one with paper below its shade.
Image ColorizeRows(const Image& mask, int scale, const char* rows, const char* highlights,
                   const char* shades);
// Text in the regular face, coloured by rows and outlined in black.
Image OutlinedText(const char* text, const char* rows, const char* highlights, const char* shades);

// The picture with n transparent pixels added on every side, so outlines and
// shadows have room.
Image Pad(const Image& src, int n);
// Cuts away transparent rows and columns around the picture.
Image Trim(const Image& src);
// Slants a picture to the right: row y moves right by (height - 1 - y) / step.
Image Slant(const Image& src, int step);
// The picture composed into the middle of a width x height one, moved by
// (dx, dy); throws std::runtime_error when it does not fit.
Image Centered(const Image& picture, int width, int height, int dx = 0, int dy = 0);
// count star pixels scattered over the opaque part of a w x h area at (x0, y0).
void Stars(Image& image, int x0, int y0, int w, int h, int count, unsigned seed);

} // namespace assets
