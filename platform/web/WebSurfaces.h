// Surfaces in the browser. There SDL keeps every surface twice, as pixels in
// memory and as a canvas, and moves the whole picture between the two at
// every outermost lock and unlock: memory is read from the canvas when a lock
// begins and written to it when the lock ends. The renderer works on memory
// only, so its surfaces stay locked for their whole life (its own lock and
// unlock pairs then cost nothing), and the screen reaches the page canvas
// once per picture.
#pragma once

#include <SDL/SDL.h>

// A picture file decoded straight into memory: 32 bits, R, G, B, A in byte
// order, blending with its alpha, held locked. Null when the file is missing
// or cannot be decoded. (SDL's own loader keeps the pixels only in a canvas,
// whose premultiplied alpha would change partly clear texels.)
SDL_Surface* LoadWebPicture(const char* path);

// Starts the lock the screen is held in for its whole life.
void HoldWebScreen(SDL_Surface* screen);

// Copies the screen's memory to the page canvas.
void ShowWebScreen(SDL_Surface* screen);
