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
