// Texture bank: the 16 slots, loading pictures into them, and the draw copy
// a picture with an alpha channel gets in the screen's channel order.
#include "platform/Port.h"
#include "platform/Render.h"
#include "platform/RenderInternal.h"

#include <bit>
#include <cstdlib>

namespace render_detail
{
namespace
{

// Bit position of a channel mask that is exactly one whole byte, else -1.
int ByteShift(uint32_t mask)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        if (mask == (0xFFu << shift))
        {
            return shift;
        }
    }
    return -1;
}

} // namespace

bool IsBlittable(const SDL_Surface* surface)
{
    const SDL_PixelFormat* f = surface->format;
    if (f == nullptr || surface->w < 0 || surface->h < 0)
    {
        return false;
    }
    if (surface->w > 0 && surface->h > 0)
    {
        const int64_t rowBits = static_cast<int64_t>(surface->w) * f->BitsPerPixel;
        if (surface->pixels == nullptr || static_cast<int64_t>(surface->pitch) * 8 < rowBits)
        {
            return false;
        }
    }
    switch (f->BitsPerPixel)
    {
    case 1:
    case 4:
    case 8:
        return f->BytesPerPixel == 1 && f->palette != nullptr && f->palette->colors != nullptr &&
               f->palette->ncolors > 0;
    case 15:
    case 16:
        return f->BytesPerPixel == 2;
    case 24:
        return f->BytesPerPixel == 3;
    case 32:
        return f->BytesPerPixel == 4;
    default:
        return false;
    }
}

bool IsDirectScreen(const SDL_Surface* screen)
{
    const SDL_PixelFormat* f = screen->format;
    // A window shows no alpha: where the video surface names its spare byte
    // alpha (the browser's does), drawing leaves that byte as it is. Other
    // surfaces with alpha are SDL's to blend into.
    const bool spareByte =
        f->Amask == 0 || (f->Amask == DrawAlphaMask && screen == SDL_GetVideoSurface());
    return f->BytesPerPixel == 4 && spareByte && ByteShift(f->Rmask) >= 0 &&
           ByteShift(f->Gmask) >= 0 && ByteShift(f->Bmask) >= 0 &&
           (f->Rmask | f->Gmask | f->Bmask) == DrawColourMask;
}

bool MakeTexelConverter(const SDL_PixelFormat* picture, const SDL_PixelFormat* screen,
                        TexelConverter* converter)
{
    if (picture->BytesPerPixel != 4)
    {
        return false;
    }
    converter->red = ByteShift(picture->Rmask);
    converter->green = ByteShift(picture->Gmask);
    converter->blue = ByteShift(picture->Bmask);
    converter->alpha = picture->Amask == 0 ? -1 : ByteShift(picture->Amask);
    converter->screenRed = ByteShift(screen->Rmask);
    converter->screenGreen = ByteShift(screen->Gmask);
    converter->screenBlue = ByteShift(screen->Bmask);
    // Whole-byte masks that do not overlap cover 8 bits each.
    const uint32_t used = picture->Rmask | picture->Gmask | picture->Bmask | picture->Amask;
    const int channels = picture->Amask == 0 ? 3 : 4;
    return converter->red >= 0 && converter->green >= 0 && converter->blue >= 0 &&
           (picture->Amask == 0 || converter->alpha >= 0) && std::popcount(used) == 8 * channels;
}

bool IsInDrawLayout(const SDL_PixelFormat* picture, const SDL_PixelFormat* screen)
{
    return picture->BytesPerPixel == 4 && picture->Amask == DrawAlphaMask &&
           picture->Rmask == screen->Rmask && picture->Gmask == screen->Gmask &&
           picture->Bmask == screen->Bmask;
}

const TextureDrawCopy* FindDrawCopy(const TextureBank* bank, const SDL_Surface* texture)
{
    if (bank == nullptr)
    {
        return nullptr;
    }
    for (int slot = 0; slot < TextureSlotCount; ++slot)
    {
        const TextureDrawCopy& copy = bank->copies[slot];
        if (bank->slots[slot] == texture && copy.source == texture && copy.pixels != nullptr &&
            copy.pixels->w == texture->w && copy.pixels->h == texture->h)
        {
            return &copy;
        }
    }
    return nullptr;
}

} // namespace render_detail

using namespace render_detail;

namespace
{

void FreeDrawCopy(TextureDrawCopy& copy)
{
    SDL_FreeSurface(copy.pixels); // SDL ignores null
    copy = TextureDrawCopy{};
}

// A copy of `image` in the screen's draw layout, for a picture with an alpha
// channel in another layout; an empty copy when none is needed or possible.
TextureDrawCopy MakeDrawCopy(SDL_Surface* image, const SDL_Surface* screen)
{
    TextureDrawCopy copy{};
    TexelConverter convert{};
    if (screen == nullptr || !IsDirectScreen(screen) || image->format->Amask == 0 ||
        IsInDrawLayout(image->format, screen->format) ||
        !MakeTexelConverter(image->format, screen->format, &convert))
    {
        return copy;
    }
    const SDL_PixelFormat* s = screen->format;
    copy.pixels = SDL_CreateRGBSurface(SDL_SWSURFACE, image->w, image->h, 32, s->Rmask, s->Gmask,
                                       s->Bmask, DrawAlphaMask);
    if (copy.pixels == nullptr || !LockIfNeeded(image))
    {
        FreeDrawCopy(copy);
        return copy;
    }
    for (int y = 0; y < image->h; ++y)
    {
        const auto* in = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(image->pixels) + y * image->pitch);
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(copy.pixels->pixels) +
                                                y * copy.pixels->pitch);
        for (int x = 0; x < image->w; ++x)
        {
            out[x] = convert(in[x]);
        }
    }
    UnlockIfNeeded(image);
    copy.source = image;
    return copy;
}

} // namespace

TextureBank* CreateTextureBank()
{
    auto* bank = static_cast<TextureBank*>(std::malloc(sizeof(TextureBank)));
    if (bank == nullptr)
    {
        return nullptr;
    }
    for (int slot = 0; slot < TextureSlotCount; ++slot)
    {
        bank->slots[slot] = nullptr;
        bank->copies[slot] = TextureDrawCopy{};
    }
    return bank;
}

void DestroyTextureBank(TextureBank* bank)
{
    if (bank == nullptr)
    {
        return;
    }
    for (int slot = 0; slot < TextureSlotCount; ++slot)
    {
        FreeDrawCopy(bank->copies[slot]);
        if (bank->slots[slot] != nullptr)
        {
            SDL_FreeSurface(bank->slots[slot]);
            bank->slots[slot] = nullptr;
        }
    }
    std::free(bank);
}

void LoadTextureSlot(TextureBank* bank, int slot, const char* path, SDL_Surface* screen,
                     int convert)
{
    if (bank == nullptr || slot < 0 || slot >= TextureSlotCount)
    {
        return;
    }
    FreeDrawCopy(bank->copies[slot]);
    if (bank->slots[slot] != nullptr)
    {
        SDL_FreeSurface(bank->slots[slot]);
        bank->slots[slot] = nullptr;
    }
    SDL_Surface* image = path == nullptr ? nullptr : PortLoadPicture(path);
    if (PortPicturesAreDrawReady())
    {
        convert = 0; // already in the screen's layout
    }
    if (image != nullptr && !IsBlittable(image))
    {
        // As for a file that does not load: the slot stays empty.
        SDL_FreeSurface(image);
        image = nullptr;
    }
    // Without a screen there is no format to convert to: the image is kept
    // as it was loaded.
    if (image != nullptr && convert == 1 && screen != nullptr)
    {
        SDL_Surface* converted = SDL_ConvertSurface(image, screen->format, SDL_SRCALPHA);
        bank->slots[slot] = converted;
        if (converted != image)
        {
            SDL_FreeSurface(image);
        }
    }
    else
    {
        bank->slots[slot] = image;
    }
    if (bank->slots[slot] != nullptr)
    {
        bank->copies[slot] = MakeDrawCopy(bank->slots[slot], screen);
    }
}

SDL_Surface* TextureBankGet(TextureBank* bank, int slot)
{
    if (bank == nullptr || slot < 0 || slot >= TextureSlotCount)
    {
        return nullptr;
    }
    return bank->slots[slot];
}
