// The exported C interface: one output at a time, the calls serialised by one lock.
#include "realmedia_writer.h"
#include "vkoRMEncoderDll.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>

namespace {

using rmencoder::RealMediaWriter;
using rmencoder::WriterPlan;

struct EncoderSession {
    std::mutex lock;
    std::optional<WriterPlan> plan;          // set by init, taken by start
    std::unique_ptr<RealMediaWriter> writer; // from start to stop
    std::atomic<int32_t> mediaTimeMs{0};     // written under lock, read by anyone

    void advanceTime(int32_t startMs, int32_t endMs)
    {
        mediaTimeMs.store(std::max({mediaTimeMs.load(), startMs, endMs}));
    }

    // Ends the output a caller left open without stopping it, so that its file stays playable.
    void finishAbandonedOutput()
    {
        if (writer)
            writer->finish();
        writer.reset();
    }
};

EncoderSession& session()
{
    static EncoderSession instance;
    return instance;
}

template <typename Write>
int32_t writeBlock(int32_t startMs, int32_t endMs, Write write)
{
    EncoderSession& current = session();
    std::lock_guard guard(current.lock);
    if (!current.writer)
        return VKO_RM_WRONG_ORDER;
    int result = write(*current.writer);
    if (result == VKO_RM_OK)
        current.advanceTime(startMs, endMs);
    return result;
}

} // namespace

extern "C" {

int32_t initRmEncoder(const RealMediaSettings* settings)
{
    EncoderSession& current = session();
    std::lock_guard guard(current.lock);
    current.finishAbandonedOutput();
    current.plan = settings ? rmencoder::planFor(*settings) : std::nullopt;
    return current.plan ? VKO_RM_OK : VKO_RM_INVALID_SETTINGS;
}

int32_t startRmConverte(void)
{
    EncoderSession& current = session();
    std::lock_guard guard(current.lock);
    if (!current.plan || current.writer)
        return VKO_RM_WRONG_ORDER;
    auto writer = std::make_unique<RealMediaWriter>();
    int result = writer->start(*current.plan);
    current.plan.reset();
    if (result != VKO_RM_OK)
        return result;
    current.writer = std::move(writer);
    current.mediaTimeMs.store(0);
    return VKO_RM_OK;
}

int32_t encodeRmAudioPack(const uint8_t* samples, int32_t byteCount, int32_t startMs, int32_t endMs)
{
    return writeBlock(startMs, endMs, [&](RealMediaWriter& writer) {
        return writer.writeAudio(samples, byteCount, startMs);
    });
}

int32_t encodeRmVideoPack(const uint8_t* pixels, int32_t byteCount, int32_t startMs, int32_t endMs)
{
    return writeBlock(startMs, endMs, [&](RealMediaWriter& writer) {
        return writer.writeVideo(pixels, byteCount, startMs);
    });
}

int32_t getConverteTime(void) { return session().mediaTimeMs.load(); }

int32_t stopRmConverte(int32_t /*flags*/)
{
    EncoderSession& current = session();
    std::lock_guard guard(current.lock);
    if (!current.writer)
        return VKO_RM_WRONG_ORDER;
    int result = current.writer->finish();
    current.writer.reset();
    return result;
}

} // extern "C"
