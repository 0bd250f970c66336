// The Windows port's window scale, shared by its program and screen files.
// SDL 1.2 on Windows draws its window at the video mode's size, so the port
// opens the window larger and enlarges each picture itself.
#pragma once

// Whole scale factors the window may take.
constexpr int MinWindowScale = 1;
constexpr int MaxWindowScale = 8;

// The scale the next screen opens at: MinWindowScale until the program sets
// it, so tools that open a screen get the game's own size.
int WindowScale();
void SetWindowScale(int scale);

// The largest whole scale at which a window around a width x height picture,
// frame and caption included, fits the desktop's work area.
int FittingWindowScale(int width, int height);
