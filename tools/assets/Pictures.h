// Pictures drawn by code rather than by hand: backgrounds, the title art, the
// status panel, the screen frame, the text pictures and the icon.
#pragma once

#include "Image.h"

namespace assets
{

Image StarfieldPicture();    // 128 x 128, the still background layer (drawn x2)
Image SwirlPicture();        // 128 x 128, the turning background layer (drawn x3)
Image TitleBackdrop();       // 64 x 64, drawn x5.5 behind the title
Image TitleLargePicture();   // 176 x 208, the ship drawn large
Image TitleStrip();          // 160 x 32, the game's name
Image TitleCaption();        // 96 x 16
Image TitlePrompt();         // 80 x 16, asks for the confirm button
Image DigitGlyph(int digit); // 9 x 8
Image PanelCaption(const char* text, int width); // width x 8
Image GameOverBanner();                          // 100 x 16
Image PanelBackground();                         // 96 x 240
Image ScreenFrame();             // screen-sized, transparent over the field and panel
Image ApplicationIcon(int size); // size x size, size a multiple of 32

} // namespace assets
