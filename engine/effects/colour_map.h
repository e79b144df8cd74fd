// A table of 256 channel values applied to the red, green and blue of a row of 32-bit RGB pixels;
// alpha is kept. The brightness and contrast adjustment is such a table.
#pragma once

#include <array>
#include <cstdint>

namespace engine {

using ChannelTable = std::array<uint8_t, 256>;

// With the byte permutes of AVX-512 VBMI where the processor has them, else as the portable one.
void mapColourChannels(uint32_t* pixels, int count, const ChannelTable& table);

// The same with a lookup per channel.
void mapColourChannelsPortable(uint32_t* pixels, int count, const ChannelTable& table);

// Whether mapColourChannels uses the byte permutes on this processor.
bool colourMapUsesBytePermutes();

} // namespace engine
