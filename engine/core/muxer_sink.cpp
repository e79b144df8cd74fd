// The usual sink: the engine's encoders and its muxer write the output file.
#include "audio_output.h"
#include "encoding.h"
#include "engine_state.h"
#include "error_report.h"
#include "output_sink.h"
#include "source_extras.h"
#include "video_output.h"

namespace engine {

namespace {

class MuxerSink final : public OutputSink {
public:
    bool muxes() const override { return true; }

    void noteSources(const InputStream*, const InputStream*) override {}

    int start(Conversion& conversion) override
    {
        int written = avformat_write_header(conversion.state.outputFiles[0], nullptr);
        if (written < 0)
            return reportOpenFailure(written,
                                     "Could not write header for output file #0 (incorrect codec parameters ?)");
        return writeCoverPicture(conversion);
    }

    int writeAudio(Conversion& conversion, OutputStream& output, const InputStream& input, const AVFrame& samples,
                   int inputIndex) override
    {
        return encodeAudioFrame(conversion, output, input, samples, inputIndex);
    }

    int writePicture(Conversion& conversion, OutputStream& output, const InputStream&,
                     const PictureForOutput& picture, int inputIndex) override
    {
        return encodePicture(conversion, output, picture, inputIndex);
    }

    double reachedSeconds(double measured) const override { return measured; }

    int finish(Conversion& conversion, OutputStreams& outputs) override
    {
        for (auto& output : outputs) {
            if (!output->encodingNeeded)
                continue;
            AVMediaType type = output->encoder->codec_type;
            int result = type == AVMEDIA_TYPE_AUDIO   ? flushAudio(conversion, *output)
                         : type == AVMEDIA_TYPE_VIDEO ? encodeAndWrite(conversion, *output, nullptr)
                                                      : 0;
            if (result)
                return result;
        }
        if (av_write_trailer(conversion.state.outputFiles[0]) < 0)
            return reportError(2, "av_write_trailer() failed\n");
        return 0;
    }

    void abandon() override {}
};

} // namespace

OutputSink& muxerSink()
{
    static MuxerSink sink;
    return sink;
}

} // namespace engine
