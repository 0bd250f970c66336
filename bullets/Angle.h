// Angles and random numbers of the game logic.
//
// AngleUnit: 65536 units per full turn, carried in int or float variables.
// 0 points right (+x), 16384 down the field (+y), 32768 left, 49152 up.
#pragma once

constexpr int AngleUnitsPerTurn = 65536;
constexpr int AngleRight = 0;
constexpr int AngleDown = 16384;
constexpr int AngleLeft = 32768;
constexpr int AngleUp = 49152;

constexpr int AngleTableSize = 361;

// sin and cos of whole degrees 0..360, each rounded to 6 decimals. Entry 360
// exists but no lookup reaches it.
extern const float AngleSineTable[AngleTableSize];
extern const float AngleCosineTable[AngleTableSize];

// Table lookups by whole degree, truncated: index (a * 360) / 65536 for a in
// 0..65535. Any other angle is first wrapped into one turn, so the lookup
// never leaves the table.
float SinAngle(int a);
float CosAngle(int a);

// Direction in AngleUnit of the vector (dx, dy); note the y difference comes
// first. Result in -32768..32768, negative when dy < 0; AngleTo(0, 0) is 0.
int AngleTo(int dy, int dx);

// min..max inclusive from exactly one rand() call. A range with max < min
// gives min (the draw is still consumed).
int RandomRange(int min, int max);

// 0.0..1.0 inclusive in steps of 1/4096, from one RandomRange(0, 4096) draw.
float RandomUnit();
