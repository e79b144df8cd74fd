#include "picture_files.h"

#include "ffmpeg_handles.h"
#include "media_file.h"
#include "vkoPlayerDll.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

extern "C" {
#include <libavutil/imgutils.h>
}

namespace player {

namespace {

constexpr AVPixelFormat kRgb = AV_PIX_FMT_RGB32;

struct ImageCodec {
    const char* extension;
    AVCodecID codec;
    AVPixelFormat format; // what the encoder is given
};

const ImageCodec kImageCodecs[] = {
    {".jpg", AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P},
    {".jpeg", AV_CODEC_ID_MJPEG, AV_PIX_FMT_YUVJ420P},
    {".bmp", AV_CODEC_ID_BMP, AV_PIX_FMT_BGR24},
    {".png", AV_CODEC_ID_PNG, AV_PIX_FMT_RGB24},
};

std::string lowerExtension(const std::string& path)
{
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

const ImageCodec* codecFor(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    for (const ImageCodec& codec : kImageCodecs)
        if (extension == codec.extension)
            return &codec;
    return nullptr;
}

// Converts between a described picture and a 32-bit RGB picture of the same size.
bool convert(const uint8_t* const* fromData, const int* fromLines, AVPixelFormat from, uint8_t* const* toData,
             const int* toLines, AVPixelFormat to, int width, int height)
{
    engine::ScalerPtr scaler(
        sws_getContext(width, height, from, width, height, to, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return false;
    sws_scale(scaler.get(), fromData, fromLines, 0, height, toData, toLines);
    return true;
}

engine::FramePtr encoderPicture(const RgbImage& image, AVPixelFormat format)
{
    engine::FramePtr picture = newPicture(format, image.width, image.height);
    if (!picture)
        return nullptr;
    const uint8_t* data[4] = {image.pixels.data()};
    int lines[4] = {image.stride()};
    if (!convert(data, lines, kRgb, picture->data, picture->linesize, format, image.width, image.height))
        return nullptr;
    return picture;
}

// Encodes the picture into one packet; null when it cannot be encoded.
engine::PacketPtr encode(const RgbImage& image, const ImageCodec& imageCodec)
{
    const AVCodec* codec = avcodec_find_encoder(imageCodec.codec);
    if (!codec)
        return nullptr;
    AVPixelFormat format = imageCodec.format;
    engine::CodecContextPtr encoder(avcodec_alloc_context3(codec));
    engine::FramePtr picture = encoderPicture(image, format);
    engine::PacketPtr packet(av_packet_alloc());
    if (!encoder || !picture || !packet)
        return nullptr;
    encoder->width = image.width;
    encoder->height = image.height;
    encoder->pix_fmt = format;
    encoder->time_base = {1, 25};
    encoder->flags |= AV_CODEC_FLAG_QSCALE;
    encoder->global_quality = FF_QP2LAMBDA * 2;
    if (avcodec_open2(encoder.get(), codec, nullptr) < 0 || avcodec_send_frame(encoder.get(), picture.get()) < 0 ||
        avcodec_send_frame(encoder.get(), nullptr) < 0 || avcodec_receive_packet(encoder.get(), packet.get()) < 0)
        return nullptr;
    return packet;
}

bool writeWhole(const uint8_t* data, size_t size, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(data, 1, size, file) == size;
    written = std::fclose(file) == 0 && written;
    if (!written)
        std::remove(path.c_str());
    return written;
}

} // namespace

bool readPicture(const std::string& path, RgbImage& image)
{
    image = {};
    MediaFile file;
    if (file.open(path) != VKO_PLAYER_OK || !file.videoDecoder())
        return false;
    engine::PacketPtr packet(av_packet_alloc());
    engine::FramePtr frame(av_frame_alloc());
    if (!packet || !frame)
        return false;
    while (av_read_frame(file.format(), packet.get()) >= 0) {
        bool ours = file.videoStream()->index == packet->stream_index;
        int sent = ours ? avcodec_send_packet(file.videoDecoder(), packet.get()) : -1;
        av_packet_unref(packet.get());
        if (sent >= 0 && avcodec_receive_frame(file.videoDecoder(), frame.get()) >= 0)
            break;
    }
    if (frame->width <= 0 || frame->height <= 0)
        return false;
    engine::FramePtr rgb = newPicture(kRgb, frame->width, frame->height);
    if (!rgb || !convert(frame->data, frame->linesize, static_cast<AVPixelFormat>(frame->format), rgb->data,
                         rgb->linesize, kRgb, frame->width, frame->height))
        return false;
    packRows(*rgb, image);
    return true;
}

int writePicture(const RgbImage& image, const std::string& path)
{
    if (image.empty())
        return VKO_PLAYER_ERROR_NO_PICTURE;
    const ImageCodec* codec = codecFor(path);
    if (!codec)
        return VKO_PLAYER_ERROR_FORMAT;
    engine::PacketPtr packet = encode(image, *codec);
    if (!packet)
        return VKO_PLAYER_ERROR_ENCODE;
    return writeWhole(packet->data, static_cast<size_t>(packet->size), path) ? VKO_PLAYER_OK : VKO_PLAYER_ERROR_WRITE;
}

} // namespace player
