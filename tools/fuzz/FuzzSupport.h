// Shared pieces of the fuzz targets: SDL on its dummy drivers, a scratch
// folder holding a data/ folder the targets write their inputs into, and a
// reader that cuts the fuzzer's bytes into fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

struct RenderContext;

namespace skyreel_fuzz
{

// Once per process: the working directory becomes a fresh scratch folder
// with an empty data/ in it, so the game's relative "data/..." paths land
// there, and the program's platform start-up runs on SDL's dummy drivers (a
// fuzzer must never open a window or a sound device) without sound, which
// the targets start themselves. Both are undone at a normal exit.
void StartOnce();

// StartOnce, then the render context it made, kept for the process's life;
// a context without a screen stops the process (Fail).
RenderContext* ScreenContext();

// Writes the bytes to `path` (relative to the scratch folder), replacing it.
void WriteFile(const char* path, const uint8_t* data, size_t size);
void RemoveFile(const char* path);

// Reads fields from the front of the input; once the input is used up every
// field reads as zero bytes.
class FuzzReader
{
public:
    FuzzReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <typename T> T Take()
    {
        T value{};
        uint8_t bytes[sizeof(T)] = {};
        const size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        if (n > 0)
        {
            std::memcpy(bytes, data_, n);
        }
        std::memcpy(&value, bytes, sizeof(T));
        data_ += n;
        size_ -= n;
        return value;
    }

    // Up to `count` bytes as they stand.
    std::string TakeBytes(size_t count)
    {
        const size_t n = size_ < count ? size_ : count;
        std::string bytes(reinterpret_cast<const char*>(data_), n);
        data_ += n;
        size_ -= n;
        return bytes;
    }

    const uint8_t* rest() const { return data_; }
    size_t remaining() const { return size_; }

private:
    const uint8_t* data_;
    size_t size_;
};

// Stops the process the way a sanitizer finding does, so the fuzzer keeps
// the input: for broken invariants that no sanitizer would notice.
[[noreturn]] void Fail(const char* what);

} // namespace skyreel_fuzz
