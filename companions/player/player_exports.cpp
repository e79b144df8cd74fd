// The exported C interface of the player library.
#include "audio_output.h"
#include "player.h"
#include "preview_store.h"
#include "vkoPlayerDll.h"

namespace {

player::Player& thePlayer()
{
    static player::Player instance;
    return instance;
}

player::PreviewStore& previewStore()
{
    static player::PreviewStore store(
        [](const uint8_t* pixels, int width, int height) { thePlayer().sink().deliver(pixels, width, height); });
    return store;
}

template <typename Change> void changeSettings(Change&& change)
{
    thePlayer().changeSettings(std::forward<Change>(change));
}

using player::PreviewSettings;

} // namespace

extern "C" {

void setPlayerHandle(PlayProgressCallback* slot) { thePlayer().setProgressSlot(slot); }
void setCropHandle(PlayCropCallback* slot) { thePlayer().setCropSlot(slot); }
void setFrameSink(PlayerFrameSink sink, void* context) { thePlayer().sink().set(sink, context); }

int initPlayOption(const char* idlePicture, const char* backgroundPicture, int32_t, int32_t, int32_t width,
                   int32_t height)
{
    return thePlayer().initOutput(idlePicture, backgroundPicture, width, height);
}

int openFile(const char* path) { return thePlayer().open(path); }
int startPlay(int32_t seconds) { return thePlayer().start(seconds); }
int pausePlay(void) { return thePlayer().pause(); }
int stopPlay(int32_t forGood) { return thePlayer().stop(forGood == 1); }
void close_sdl(void) { thePlayer().close(); }
int vkoCapture(const char* path) { return thePlayer().capture(path); }

void cropFlim(void) { changeSettings([](PreviewSettings&) {}); }
void upCropFlim(int32_t pixels) { changeSettings([=](PreviewSettings& s) { s.crop.top = pixels; }); }
void bottomCropFlim(int32_t pixels) { changeSettings([=](PreviewSettings& s) { s.crop.bottom = pixels; }); }
void leftCropFlim(int32_t pixels) { changeSettings([=](PreviewSettings& s) { s.crop.left = pixels; }); }
void rightCropFlim(int32_t pixels) { changeSettings([=](PreviewSettings& s) { s.crop.right = pixels; }); }
void setBrightness(int32_t value) { changeSettings([=](PreviewSettings& s) { s.effects.brightness = value; }); }
void setContrast(int32_t value) { changeSettings([=](PreviewSettings& s) { s.effects.contrast = value; }); }
void setSaturation(int32_t value) { changeSettings([=](PreviewSettings& s) { s.effects.saturation = value; }); }
void noEffectFlim(void) { changeSettings([](PreviewSettings& s) { s.effects.pictureEffect = engine::kLookNone; }); }
void grayFlim(void) { changeSettings([](PreviewSettings& s) { s.effects.pictureEffect = engine::kLookGray; }); }
void embossFlim(void) { changeSettings([](PreviewSettings& s) { s.effects.pictureEffect = engine::kLookEmboss; }); }
void oldFlim(void) { changeSettings([](PreviewSettings& s) { s.effects.pictureEffect = engine::kLookOld; }); }
void noFlipFlim(void)
{
    changeSettings([](PreviewSettings& s) { s.effects.horizontalFlip = s.effects.verticalFlip = 0; });
}
void horiFlipFlim(void) { changeSettings([](PreviewSettings& s) { s.effects.horizontalFlip = 1; }); }
void vertFlipFlim(void) { changeSettings([](PreviewSettings& s) { s.effects.verticalFlip = 1; }); }

void setOutputVolume(uint32_t volumeWord) { player::setVolumeWord(volumeWord); }
uint32_t getOutputVolume(void) { return player::volumeWord(); }

void dragCropRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t shownWidth,
                       int32_t shownHeight)
{
    thePlayer().dragCrop(left, top, right, bottom, shownWidth, shownHeight);
}

int32_t getPlayerPicture(int32_t which, uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height)
{
    return thePlayer().copyPicture(which, pixels, capacity, width, height);
}

void getPlayCounters(int64_t* shown, int64_t* dropped) { thePlayer().counters(shown, dropped); }

void preview(const AVFrame* picture, const AVCodecContext* codecContext)
{
    if (picture)
        previewStore().accept(*picture, codecContext);
}

int32_t getPreviewPicture(uint8_t* pixels, int32_t capacity, int32_t* width, int32_t* height)
{
    return previewStore().copyLatest(pixels, capacity, width, height);
}

} // extern "C"
