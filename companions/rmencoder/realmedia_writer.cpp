#include "realmedia_writer.h"

namespace rmencoder {

int RealMediaWriter::openStreams(const WriterPlan& plan)
{
    if (plan.video) {
        int result = video_.emplace().open(output_.get(), *plan.video);
        if (result != VKO_RM_OK)
            return result;
    }
    return plan.audio ? audio_.emplace().open(output_.get(), *plan.audio) : VKO_RM_OK;
}

int RealMediaWriter::start(const WriterPlan& plan)
{
    AVFormatContext* output = nullptr;
    if (avformat_alloc_output_context2(&output, nullptr, "rm", plan.outputPath.c_str()) < 0)
        return VKO_RM_OPEN_FAILED;
    output_.reset(output);
    int result = openStreams(plan);
    if (result != VKO_RM_OK)
        return result;
    if (avio_open(&output_->pb, plan.outputPath.c_str(), AVIO_FLAG_WRITE) < 0)
        return VKO_RM_OPEN_FAILED;
    return avformat_write_header(output_.get(), nullptr) < 0 ? VKO_RM_WRITE_FAILED : VKO_RM_OK;
}

int RealMediaWriter::writeAudio(const uint8_t* samples, int byteCount, int startMs)
{
    if (!audio_ || !samples || byteCount < 0 || byteCount % audio_->bytesPerSampleFrame() != 0)
        return VKO_RM_INVALID_DATA;
    return audio_->encodeSamples(samples, byteCount / audio_->bytesPerSampleFrame(), startMs);
}

int RealMediaWriter::writeVideo(const uint8_t* pixels, int byteCount, int startMs)
{
    if (!video_ || !pixels || byteCount != video_->pictureBytes())
        return VKO_RM_INVALID_DATA;
    return video_->encodePicture(pixels, startMs);
}

int RealMediaWriter::finish()
{
    int result = video_ ? video_->finish() : VKO_RM_OK;
    int audioResult = audio_ ? audio_->finish() : VKO_RM_OK;
    if (result == VKO_RM_OK)
        result = audioResult;
    if (av_write_trailer(output_.get()) < 0 && result == VKO_RM_OK)
        result = VKO_RM_WRITE_FAILED;
    output_.reset();
    return result;
}

} // namespace rmencoder
