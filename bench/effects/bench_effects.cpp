// Cost of the picture effects on one 640x480 picture, in RGB and through the YUV conversions.
#include "picture_effects.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

engine::FramePtr makePicture(AVPixelFormat format)
{
    engine::FramePtr picture(av_frame_alloc());
    picture->format = format;
    picture->width = kWidth;
    picture->height = kHeight;
    if (av_frame_get_buffer(picture.get(), 0) < 0)
        return nullptr;
    for (int plane = 0; plane < 4 && picture->data[plane]; ++plane) {
        int rows = plane == 0 || format != AV_PIX_FMT_YUV420P ? kHeight : kHeight / 2;
        for (int y = 0; y < rows; ++y)
            std::memset(picture->data[plane] + y * picture->linesize[plane], (y * 7 + plane * 50) & 0xFF,
                        static_cast<size_t>(picture->linesize[plane]));
    }
    return picture;
}

engine::PictureEffectParams paramsFor(int variant)
{
    engine::PictureEffectParams params;
    switch (variant) {
    case 0: params.pictureEffect = engine::kLookGray; break;
    case 1: params.pictureEffect = engine::kLookEmboss; break;
    case 2: params.pictureEffect = engine::kLookOld; break;
    case 3: params.horizontalFlip = params.verticalFlip = 1; break;
    case 4: params.brightness = 30, params.contrast = 20, params.saturation = 40; break;
    case 5: params.pictureEffect = engine::kLookOld, params.horizontalFlip = params.verticalFlip = 1; break;
    default: params.brightness = 30, params.contrast = 20, params.saturation = 40, params.pictureEffect = engine::kLookGray; break;
    }
    return params;
}

void runEffects(benchmark::State& state, AVPixelFormat format)
{
    engine::FramePtr picture = makePicture(format);
    if (!picture) {
        state.SkipWithError("cannot allocate the picture");
        return;
    }
    engine::PictureEffectParams params = paramsFor(static_cast<int>(state.range(0)));
    engine::PicturePads pads{60, 60, 0, 0};
    engine::RgbConversionCache cache;
    for (auto _ : state) {
        int result = engine::applyPictureEffects(*picture, params, pads, cache);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_EffectsOnRgb(benchmark::State& state) { runEffects(state, AV_PIX_FMT_RGB32); }
void BM_EffectsOnYuv420p(benchmark::State& state) { runEffects(state, AV_PIX_FMT_YUV420P); }

// Arguments: 0 gray, 1 emboss, 2 old, 3 mirror and flip, 4 brightness, contrast and saturation,
// 5 old with mirror and flip, 6 all of 4 with gray. CLIPWRIGHT_THREADS=1 keeps every picture
// on one thread.
BENCHMARK(BM_EffectsOnRgb)->DenseRange(0, 6);
BENCHMARK(BM_EffectsOnYuv420p)->DenseRange(0, 6);

} // namespace

BENCHMARK_MAIN();
