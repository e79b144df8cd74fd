// The byte-permute channel table against the lookup per channel, on rows of every length around
// the sixteen pixels of one step, with alpha kept.
#include "colour_map.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(ColourMap, BytePermutesGiveTheLookupsPixels)
{
    if (!engine::colourMapUsesBytePermutes())
        GTEST_SKIP() << "this processor has no AVX-512 VBMI";
    std::mt19937 random(20261210);
    engine::ChannelTable table;
    for (auto& entry : table)
        entry = static_cast<uint8_t>(random());
    for (int count = 0; count <= 49; ++count) {
        std::vector<uint32_t> pixels(static_cast<size_t>(count) + 1);
        for (auto& pixel : pixels)
            pixel = static_cast<uint32_t>(random());
        std::vector<uint32_t> expected = pixels;
        engine::mapColourChannelsPortable(expected.data(), count, table);
        engine::mapColourChannels(pixels.data(), count, table);
        EXPECT_EQ(pixels, expected) << count << " pixels"; // the last entry is past the row: untouched
    }
}

TEST(ColourMap, EveryChannelGoesThroughTheTableAndAlphaStays)
{
    engine::ChannelTable table;
    for (int k = 0; k < 256; ++k)
        table[static_cast<size_t>(k)] = static_cast<uint8_t>(255 - k);
    std::vector<uint32_t> pixels(40);
    for (size_t x = 0; x < pixels.size(); ++x)
        pixels[x] = static_cast<uint32_t>(x * 0x01020304u + 0x10203040u);
    std::vector<uint32_t> original = pixels;
    engine::mapColourChannels(pixels.data(), static_cast<int>(pixels.size()), table);
    for (size_t x = 0; x < pixels.size(); ++x)
        EXPECT_EQ(pixels[x], (original[x] & 0xFF000000u) | (~original[x] & 0x00FFFFFFu)) << "pixel " << x;
}

} // namespace
