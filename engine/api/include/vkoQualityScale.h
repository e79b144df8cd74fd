/* The constant-quality scales of the video encoders that have one: the value a group's
 * reserved4108 carries with VKO_OUTPUT_QUALITY (vkoConverterDll.h) is read on the scale of the
 * group's video encoder. Shared by the engine and the programs that fill its jobs. */
#ifndef VKO_QUALITY_SCALE_H
#define VKO_QUALITY_SCALE_H

#include <stdint.h>
#include <string.h>

typedef struct VkoQualityScale {
    const char* encoder;
    const char* option;   /* the encoder option that takes the value: "crf", or "qscale" for a fixed quantiser */
    const char* label;    /* the scale's name shown beside a value ("CRF", "QP") */
    int32_t bestPicture;  /* the end of the scale with the best picture */
    int32_t smallestFile; /* the end with the smallest file */
    int32_t standard;     /* a balanced value, the default of the general profiles */
} VkoQualityScale;

/* The scale of an encoder; null for an encoder without a constant-quality mode. */
static inline const VkoQualityScale* vkoQualityScaleOf(const char* encoder)
{
    static const VkoQualityScale scales[] = {
        {"libx264", "crf", "CRF", 0, 51, 22},     {"libx265", "crf", "CRF", 0, 51, 24},
        {"libvpx-vp9", "crf", "CRF", 0, 63, 33},  {"libaom-av1", "crf", "CRF", 0, 63, 32},
        {"libsvtav1", "crf", "CRF", 1, 63, 35},   {"mpeg4", "qscale", "QP", 1, 31, 4},
        {"libxvid", "qscale", "QP", 1, 31, 4},    {"wmv1", "qscale", "QP", 1, 31, 4},
        {"wmv2", "qscale", "QP", 1, 31, 4},
    };
    size_t i;
    if (!encoder)
        return 0;
    for (i = 0; i < sizeof scales / sizeof scales[0]; ++i)
        if (strcmp(scales[i].encoder, encoder) == 0)
            return &scales[i];
    return 0;
}

/* Nonzero when value lies on the scale, either end included. */
static inline int vkoQualityOnScale(const VkoQualityScale* scale, int32_t value)
{
    return scale && value >= scale->bestPicture && value <= scale->smallestFile;
}

#endif
