// The exported C interface of the player library.
#include "preview_store.h"
#include "vkoPlayerDll.h"

namespace {

player::PreviewStore& previewStore()
{
    static player::PreviewStore store;
    return store;
}

} // namespace

extern "C" {

void setPlayerHandle(PlayProgressCallback*) {}
void setCropHandle(PlayCropCallback*) {}
void setFrameSink(PlayerFrameSink, void*) {}
int initPlayOption(const char*, const char*, int32_t, int32_t, int32_t, int32_t) { return 0; }
int openFile(const char*) { return 1; }
int startPlay(int32_t) { return 1; }
int pausePlay(void) { return 1; }
int stopPlay(int32_t) { return 0; }
void close_sdl(void) {}
int vkoCapture(const char*) { return 1; }
void cropFlim(void) {}
void upCropFlim(int32_t) {}
void bottomCropFlim(int32_t) {}
void leftCropFlim(int32_t) {}
void rightCropFlim(int32_t) {}
void setBrightness(int32_t) {}
void setContrast(int32_t) {}
void setSaturation(int32_t) {}
void noEffectFlim(void) {}
void grayFlim(void) {}
void embossFlim(void) {}
void oldFlim(void) {}
void noFlipFlim(void) {}
void horiFlipFlim(void) {}
void vertFlipFlim(void) {}
void setOutputVolume(uint32_t) {}
uint32_t getOutputVolume(void) { return 0xFFFFFFFFu; }

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
