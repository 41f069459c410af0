#pragma once
// JPEG decoding with libjpeg into plain pixels. libjpeg's errors, and its warnings about damaged
// data, become an EJPEG exception carrying libjpeg's own message.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/exceptions.h"

class EJPEG : public Exception {
public:
    EJPEG(std::string message, int code) : Exception(std::move(message)), code_(code) {}
    // libjpeg's message code (J_MESSAGE_CODE).
    int Code() const noexcept { return code_; }

private:
    int code_;
};

// Pixels top row first, three bytes each in the order blue, green, red, every row padded to a
// multiple of four bytes: the layout of a 24-bit device-independent bitmap drawn top-down.
struct TDecodedImage {
    int Width = 0;
    int Height = 0;
    std::size_t Stride = 0;
    std::vector<std::uint8_t> Pixels;

    struct Rgb {
        std::uint8_t r, g, b;
    };
    Rgb Pixel(int x, int y) const
    {
        const std::uint8_t* p = &Pixels[static_cast<std::size_t>(y) * Stride + static_cast<std::size_t>(x) * 3];
        return {p[2], p[1], p[0]};
    }
};

// Decodes a whole JPEG file held in memory. Throws EJPEG when libjpeg refuses it or finds it damaged
// (cut short, not a JPEG at all, corrupt data).
TDecodedImage DecodeJpeg(const void* data, std::size_t size);
