#pragma once
// The DEVNAMES block the print dialog exchanges with the platform: four 16-bit words (the offsets of
// the driver, device and port texts, and the default flag), then the three texts, each zero-terminated.
#include <cstddef>
#include <string>
#include <vector>

struct TDevNamesTexts {
    std::string Driver;
    std::string Device;
    std::string Port;
};

// The block's bytes: 8 + the three lengths + 3; offsets 8 onwards, the default flag 0.
std::vector<unsigned char> BuildDevNames(const TDevNamesTexts& texts);

// The texts of a block of size bytes. A text whose offset lies outside the block is empty, and none
// is read past the block's end.
TDevNamesTexts ReadDevNames(const unsigned char* block, std::size_t size);
