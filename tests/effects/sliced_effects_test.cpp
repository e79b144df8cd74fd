// Pictures cut into slices that threads work on at the same time come out exactly as when one
// thread does the whole picture.
#include "looks.h"
#include "picture_effects.h"
#include "test_pictures.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using engine::PictureEffectParams;
using engine::PicturePads;

namespace {

constexpr int kWidth = 90, kHeight = 250;
const PicturePads kPads{21, 17, 6, 10}; // uneven, so that slice edges and pad edges differ

// A YUV 4:2:0 picture of many colours; seed makes each picture different.
engine::FramePtr busyPicture(int seed)
{
    engine::FramePtr rgb = testpictures::makeRgbPicture(kWidth, kHeight, {});
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            testpictures::setPixel(*rgb, x, y,
                                   {(x * 7 + y * 3 + seed) % 256, (x * x + y * 11) % 256, (y * y / 3 + x + seed) % 256});
    return testpictures::convertPicture(*rgb, AV_PIX_FMT_YUV420P);
}

std::vector<uint8_t> planes(const AVFrame& picture)
{
    std::vector<uint8_t> bytes;
    for (int plane = 0; plane < 3; ++plane) {
        int rows = plane == 0 ? picture.height : picture.height / 2;
        int width = plane == 0 ? picture.width : picture.width / 2;
        for (int y = 0; y < rows; ++y) {
            const uint8_t* row = picture.data[plane] + static_cast<ptrdiff_t>(y) * picture.linesize[plane];
            bytes.insert(bytes.end(), row, row + width);
        }
    }
    return bytes;
}

struct Result {
    std::vector<uint8_t> picture;
    std::vector<uint8_t> handedOn; // what the RealMedia path passes on
};

// Two pictures in a row through one cache, the way the engine reuses it.
std::vector<Result> convert(const PictureEffectParams& params, int threads, bool realMedia)
{
    engine::RgbConversionCache cache(SWS_BICUBIC, threads);
    std::vector<Result> results;
    for (int seed : {0, 99}) {
        engine::FramePtr picture = busyPicture(seed);
        Result result;
        auto sink = [&](const uint8_t* pixels, int byteCount) { result.handedOn.assign(pixels, pixels + byteCount); };
        int code = realMedia ? engine::applyPictureEffectsForRealMedia(*picture, params, kPads, cache, sink)
                             : engine::applyPictureEffects(*picture, params, kPads, cache);
        EXPECT_EQ(code, engine::kEffectsOk);
        result.picture = planes(*picture);
        results.push_back(std::move(result));
    }
    return results;
}

struct EffectCase {
    std::string name;
    PictureEffectParams params;
};

void PrintTo(const EffectCase& testCase, std::ostream* out) { *out << testCase.name; }

PictureEffectParams with(PictureEffectParams params, int brightness, int contrast, int saturation, bool mirror,
                         bool upsideDown)
{
    params.brightness = brightness;
    params.contrast = contrast;
    params.saturation = saturation;
    params.horizontalFlip = mirror;
    params.verticalFlip = upsideDown;
    return params;
}

class SlicedEffects : public testing::TestWithParam<EffectCase> {};

TEST_P(SlicedEffects, GiveTheSamePixelsAsOneThread)
{
    const PictureEffectParams& params = GetParam().params;
    for (bool realMedia : {false, true}) {
        std::vector<Result> whole = convert(params, 1, realMedia);
        for (int threads : {2, 3, 5}) {
            std::vector<Result> sliced = convert(params, threads, realMedia);
            for (size_t i = 0; i < whole.size(); ++i) {
                EXPECT_EQ(sliced[i].picture, whole[i].picture) << threads << " threads, picture " << i
                                                               << (realMedia ? ", RealMedia" : "");
                EXPECT_EQ(sliced[i].handedOn, whole[i].handedOn) << threads << " threads, picture " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Effects, SlicedEffects,
    testing::Values(EffectCase{"Colour", with({}, 30, 20, 40, false, false)},
                    EffectCase{"GrayAndColour", with(look(engine::kLookGray), 30, 20, 40, false, false)},
                    EffectCase{"OldWithBothFlips", with(look(engine::kLookOld), 0, 0, 0, true, true)},
                    EffectCase{"Emboss", look(engine::kLookEmboss)},
                    EffectCase{"EmbossWithEverything", with(look(engine::kLookEmboss), -20, 50, -30, true, true)},
                    EffectCase{"UpsideDownOnly", with({}, 0, 0, 0, false, true)},
                    EffectCase{"Nothing", {}}),
    [](const testing::TestParamInfo<EffectCase>& testCase) { return testCase.param.name; });

} // namespace
