#!/usr/bin/env python3
"""Writes the built-in profiles of this folder, one XML file per profile.

Run it from anywhere after changing a table below; the generated files are kept in the
repository beside this script. File names start with the category and a running number, so the
profile store lists them in the order of the tables.
"""

import pathlib
import xml.etree.ElementTree as ET

HERE = pathlib.Path(__file__).resolve().parent

# Category id: (English name, Chinese name).
CATEGORIES = {
    1: ("General audio", "常用音频"),
    2: ("General video", "常用视频"),
    3: ("Pocket media players", "便携媒体播放器"),
    4: ("Touch phones", "触屏手机"),
    5: ("Media boxes for the TV", "电视媒体盒"),
    6: ("Portable video players", "便携视频播放器"),
    7: ("Mobile phones", "普通手机"),
    8: ("Smartphones", "智能手机"),
    9: ("Music and video players", "音乐视频播放器"),
    10: ("Game consoles", "家用游戏机"),
    11: ("Standalone Xvid players", "Xvid 影碟播放机"),
    12: ("Handheld game consoles", "掌上游戏机"),
    13: ("HD video", "高清视频"),
    15: ("Pocket PCs", "掌上电脑"),
    16: ("High efficiency", "高效编码"),
}

# Displayed names of codec values; a value missing here is shown as it is.
CODEC_LABELS = {
    "libx264": "H.264", "libxvid": "Xvid (MPEG-4)", "mpeg4": "MPEG-4", "h263": "H.263",
    "mpeg1video": "MPEG-1", "mpeg2video": "MPEG-2", "dvvideo": "DV", "flv": "FLV1",
    "wmv1": "WMV 7", "wmv2": "WMV 8", "rv10": "RealVideo 1.0", "rv20": "RealVideo 2.0",
    "libmp3lame": "MP3", "libfaac": "AAC", "libopencore_amrnb": "AMR-NB", "ac3": "AC-3",
    "mp2": "MP2", "wmav1": "WMA 1", "wmav2": "WMA 2", "flac": "FLAC", "libvorbis": "Vorbis",
    "pcm_s16le": "PCM", "pcm_s16be": "PCM", "cooker": "Cook",
    "libx265": "H.265", "libsvtav1": "AV1", "libaom-av1": "AV1 (reference encoder)",
    "libvpx-vp9": "VP9", "libopus": "Opus",
}
CHANNEL_LABELS = {1: ("Mono", "单声道"), 2: ("Stereo", "立体声")}

K = 1000

# Option lists: video sizes, frame rates, bit rates (b/s), sample rates (Hz).
SIZES_GENERAL = ["320x240", "480x320", "640x480", "720x480", "720x576", "1280x720"]
SIZES_H263 = ["128x96", "176x144", "352x288"]
SIZES_DV = ["720x480", "720x576"]
SIZES_MPEG1 = ["320x240", "352x240", "352x288", "640x480"]
SIZES_DVD = ["352x480", "352x576", "720x480", "720x576"]
SIZES_HD = ["1280x720", "1920x1080"]
SIZES_POCKET = ["320x240", "480x320", "640x480"]
SIZES_PHONE = ["176x144", "320x240"]
SIZES_PDA = ["240x320", "320x240", "320x480", "480x320"]
SIZES_HANDHELD = ["320x240", "368x208", "480x272"]
SIZES_EFFICIENT = ["640x360", "640x480", "854x480", "1280x720", "1920x1080", "3840x2160"]
SIZES_TV = ["480x320", "640x480", "720x480", "720x576", "1280x720"]

RATES_GENERAL = ["15", "20", "24", "25", "29.97", "30"]
RATES_PHONE = ["10", "12", "15", "20", "24", "25", "30"]
RATES_MPEG = ["24", "25", "29.97", "30"]  # the MPEG-1/2 encoders take standard rates only
RATES_DV = ["25", "29.97"]

VB_GENERAL = [256 * K, 384 * K, 512 * K, 640 * K, 768 * K, 900 * K, 1200 * K, 1500 * K, 1800 * K,
              2500 * K, 4000 * K]
VB_PHONE = [64 * K, 128 * K, 192 * K, 256 * K, 384 * K, 512 * K]
VB_MPEG1 = [768 * K, 1150 * K, 1500 * K, 2000 * K]
VB_DVD = [2000 * K, 4000 * K, 6000 * K, 8000 * K]
VB_HD = [2500 * K, 4000 * K, 6000 * K, 8000 * K, 12000 * K]
VB_DV = [9000 * K]
# H.265 and AV1 reach H.264's quality at about half its rate; VP9 needs a little more.
VB_EFFICIENT = [256 * K, 384 * K, 512 * K, 768 * K, 1000 * K, 1500 * K, 2000 * K, 3000 * K, 4000 * K,
                6000 * K, 8000 * K, 12000 * K, 16000 * K]
VB_HANDHELD = [256 * K, 400 * K, 512 * K, 768 * K, 1000 * K, 1500 * K]

AB_AAC = [64 * K, 96 * K, 128 * K, 160 * K, 192 * K]
AB_MP3 = [64 * K, 96 * K, 128 * K, 160 * K, 192 * K, 256 * K, 320 * K]
AB_AC3 = [64 * K, 96 * K, 128 * K, 192 * K, 256 * K, 384 * K, 448 * K]
AB_MP2 = [64 * K, 96 * K, 128 * K, 160 * K, 192 * K, 224 * K, 256 * K, 320 * K, 384 * K]
AB_WMA = [32 * K, 48 * K, 64 * K, 96 * K, 128 * K, 160 * K, 192 * K]
AB_VORBIS = [64 * K, 96 * K, 128 * K, 160 * K, 192 * K, 256 * K]
AB_OPUS = [48 * K, 64 * K, 96 * K, 128 * K, 160 * K, 192 * K, 256 * K]
AB_AMR = [4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200]
AB_MIXED = [96 * K, 128 * K, 192 * K, 256 * K]  # valid for AC-3, MP3 and Vorbis alike
AB_DVD = [128 * K, 192 * K, 224 * K, 256 * K, 384 * K]  # valid for MP2 and AC-3 alike
AB_COOK = [64 * K, 96 * K, 128 * K, 192 * K]

AR_GENERAL = [22050, 24000, 32000, 44100, 48000]
AR_PCM = [22050, 32000, 44100, 48000]
AR_FLAC = [22050, 32000, 44100, 48000, 96000]
AR_MPEG = [32000, 44100, 48000]  # MP2 and AC-3 at full rates
AR_FLASH = [11025, 22050, 44100]
AR_WMA = [22050, 32000, 44100, 48000]
AR_AMR = [8000]
AR_DV = [48000]


def audio(codecs, bitrates, rates, channels, ab=None, ar=44100, ac=2):
    """Audio parameters; ab None leaves out the bit rate (codecs without one)."""
    params = [("ar", "integer", rates, ar), ("ac", "integer", channels, ac),
              ("acodec", "text", codecs, codecs[0])]
    if bitrates:
        params.append(("ab", "integer", bitrates, ab))
    return params


def video(codecs, sizes, size, rates, rate, bitrates, bitrate):
    return [("s", "text", sizes, size), ("r", "real", rates, rate),
            ("vcodec", "text", codecs, codecs[0]), ("b", "integer", bitrates, bitrate)]


# The constant-quality scales of engine/api/include/vkoQualityScale.h: (best picture, smallest
# file, standard value) per encoder.
QUALITY_SCALES = {
    "libx264": (0, 51, 22), "libx265": (0, 51, 24), "libvpx-vp9": (0, 63, 33),
    "libaom-av1": (0, 63, 32), "libsvtav1": (1, 63, 35), "mpeg4": (1, 31, 4),
    "libxvid": (1, 31, 4), "wmv1": (1, 31, 4), "wmv2": (1, 31, 4),
}
SOURCE = "source"  # the option of "s" and "r" that keeps the source's own size or rate


def from_source(params, quality):
    """Video parameters that also offer the source's size and frame rate, rate control by
    quality or bit rate and keeping small sources at their size; quality True makes constant
    quality at the first encoder's standard value and no enlarging the profile's choice."""
    result = []
    for name, value_type, options, selected in params:
        if name in ("s", "r"):
            options = [SOURCE] + options
        result.append((name, value_type, options, selected))
    codecs = next(options for name, _, options, _ in params if name == "vcodec")
    scales = [QUALITY_SCALES[codec] for codec in codecs]
    values = list(range(min(best for best, _, _ in scales), max(smallest for _, smallest, _ in scales) + 1))
    result += [("rc", "text", ["b", "q"], "q" if quality else "b"),
               ("q", "integer", values, scales[0][2]),
               ("noenlarge", "integer", [0, 1], 1 if quality else 0)]
    return result


def quality_video(params):
    """General video parameters at constant quality without enlarging small sources."""
    return from_source(params, True)


def rate_video(params):
    """General video parameters at a bit rate, with quality and the source's size on offer."""
    return from_source(params, False)


def aac(ab=96 * K, ar=44100):
    return audio(["libfaac"], AB_AAC, AR_GENERAL, [1, 2], ab, ar)


def mp3(ab=128 * K, ar=44100, rates=None):
    return audio(["libmp3lame"], AB_MP3, rates or AR_GENERAL, [1, 2], ab, ar)


def opus(ab=96 * K):
    """Opus codes at 48000 Hz only."""
    return audio(["libopus"], AB_OPUS, [48000], [1, 2], ab, 48000)


def amr(ab):
    return audio(["libopencore_amrnb"], AB_AMR, AR_AMR, [1], ab, 8000, 1)


def wma(codecs, ab):
    return audio(codecs, AB_WMA, AR_WMA, [1, 2], ab)


def mp2(ab):
    return audio(["mp2"], AB_MP2, AR_MPEG, [1, 2], ab)


def cook():
    return audio(["cooker"], AB_COOK, AR_MPEG, [1, 2], 128 * K)


def mixed_audio():
    """AC-3, Vorbis or MP3, as Matroska takes them."""
    return audio(["ac3", "libvorbis", "libmp3lame"], AB_MIXED, AR_MPEG, [1, 2], 128 * K)


def dvd_audio():
    return audio(["mp2", "ac3"], AB_DVD, AR_MPEG, [1, 2], 128 * K, 48000)


def mpeg1_video():
    return video(["mpeg1video"], SIZES_MPEG1, "352x240", RATES_MPEG, "29.97", VB_MPEG1, 1500 * K)


def dvd_video():
    return video(["mpeg2video"], SIZES_DVD, "720x480", RATES_MPEG, "29.97", VB_DVD, 4000 * K)


def profile(name, zh_name, description, zh_description, fmt, extension, device, params,
            media="video"):
    return dict(name=name, zh_name=zh_name, description=description,
                zh_description=zh_description, format=fmt, extension=extension, device=device,
                params=params, media=media)


def audio_profile(name, zh_name, description, zh_description, fmt, params):
    return profile(name, zh_name, description, zh_description, fmt, fmt, 0, params, "audio")


GENERAL_AUDIO = [
    audio_profile("MP3 audio", "MP3 音频", "MPEG Layer 3 audio that plays almost everywhere.",
                  "几乎所有设备都能播放的 MP3 音频。", "mp3", mp3()),
    audio_profile("AAC audio", "AAC 音频", "Advanced Audio Coding: good sound at small sizes.",
                  "高级音频编码，文件小而音质好。", "aac", aac(128 * K)),
    audio_profile("WAV audio", "WAV 音频", "Uncompressed PCM audio in a WAV file.",
                  "未压缩的 PCM 波形音频。", "wav",
                  audio(["pcm_s16le"], None, AR_PCM, [1, 2])),
    audio_profile("M4A audio", "M4A 音频", "AAC audio in an MPEG-4 file, for music libraries.",
                  "MPEG-4 封装的 AAC 音频，适合音乐库。", "m4a", aac(128 * K)),
    audio_profile("AC-3 audio", "AC-3 音频", "AC-3 surround audio, as used on DVDs.",
                  "DVD 常用的 AC-3 环绕声音频。", "ac3",
                  audio(["ac3"], AB_AC3, AR_MPEG, [1, 2], 96 * K)),
    audio_profile("AMR audio", "AMR 音频", "AMR-NB speech audio for mobile phones, 8 kHz mono.",
                  "用于手机的 AMR-NB 语音音频，8 kHz 单声道。", "amr", amr(12200)),
    audio_profile("MP2 audio", "MP2 音频", "MPEG Layer 2 audio, as used in broadcasting.",
                  "广播常用的 MPEG 第二层音频。", "mp2",
                  mp2(96 * K)),
    audio_profile("WMA audio", "WMA 音频", "WMA audio for desktop players.",
                  "适合电脑播放器的 WMA 音频。", "wma", wma(["wmav2", "wmav1"], 128 * K)),
    audio_profile("FLAC audio", "FLAC 音频", "Lossless compressed audio.",
                  "无损压缩音频。", "flac", audio(["flac"], None, AR_FLAC, [1, 2])),
    audio_profile("AIFF audio", "AIFF 音频", "Uncompressed audio in an AIFF file.",
                  "未压缩的 AIFF 音频。", "aiff", audio(["pcm_s16be"], None, AR_PCM, [1, 2])),
    audio_profile("OGG audio", "OGG 音频", "Ogg Vorbis audio, an open format.",
                  "开放格式的 Ogg Vorbis 音频。", "ogg",
                  audio(["libvorbis"], AB_VORBIS, AR_PCM, [1, 2], 128 * K)),
    audio_profile("MKA audio", "MKA 音频", "Audio in a Matroska file.",
                  "Matroska 封装的音频。", "mka", mixed_audio()),
    audio_profile("RealAudio", "RealAudio 音频", "RealAudio for streaming players.",
                  "适合网络流媒体播放器的 RealAudio 音频。", "ra", cook()),
]

GENERAL_VIDEO = [
    profile("MP4 video (H.264)", "MP4 视频（H.264）", "H.264 video with AAC audio in an MP4 file.",
            "MP4 封装的 H.264 视频和 AAC 音频。", "mp4", "mp4", 0,
            quality_video(video(["libx264", "libxvid", "mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL,
                                "29.97", VB_GENERAL, 1500 * K)) + aac()),
    profile("MP4 video (MPEG-4)", "MP4 视频（MPEG-4）", "MPEG-4 video with AAC audio in an MP4 file.",
            "MP4 封装的 MPEG-4 视频和 AAC 音频。", "mp4", "mp4", 0,
            rate_video(video(["libxvid", "mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97",
                             VB_GENERAL, 1500 * K)) + aac()),
    profile("3GP video", "3GP 视频", "H.263 video with AMR audio for mobile phones.",
            "适合手机的 H.263 视频和 AMR 音频。", "3gp", "3gp", 0,
            video(["h263"], SIZES_H263, "352x288", RATES_PHONE, "15", VB_PHONE, 256 * K) + amr(5900)),
    profile("3G2 video", "3G2 视频", "H.263 video with AMR audio in a 3G2 file.",
            "3G2 封装的 H.263 视频和 AMR 音频。", "3g2", "3g2", 0,
            video(["h263"], SIZES_H263, "352x288", RATES_PHONE, "15", VB_PHONE, 256 * K) + amr(5900)),
    profile("MPEG-1 video", "MPEG-1 视频", "MPEG-1 video for VCD players and old computers.",
            "适合 VCD 播放机和旧电脑的 MPEG-1 视频。", "mpeg1", "mpg", 0,
            mpeg1_video() + mp2(224 * K)),
    profile("DVD video (VOB)", "DVD 视频（VOB）", "MPEG-2 video in a DVD video object file.",
            "DVD 视频对象文件中的 MPEG-2 视频。", "vob", "vob", 0,
            dvd_video() + dvd_audio()),
    profile("FLV video", "FLV 视频", "FLV video for web pages.",
            "适合网页的 FLV 视频。", "flv", "flv", 0,
            video(["flv"], SIZES_POCKET, "320x240", RATES_GENERAL, "25", VB_GENERAL, 768 * K)
            + mp3(rates=AR_FLASH)),
    profile("SWF video", "SWF 视频", "SWF movie with FLV1 video and MP3 audio, for web pages.",
            "适合网页的 SWF 动画，FLV1 视频和 MP3 音频。", "swf", "swf", 0,
            video(["flv"], SIZES_POCKET, "320x240", RATES_GENERAL, "25", VB_GENERAL, 768 * K)
            + mp3(rates=AR_FLASH)),
    profile("AVI video (Xvid)", "AVI 视频（Xvid）", "Xvid video with MP3 audio in an AVI file.",
            "AVI 封装的 Xvid 视频和 MP3 音频。", "avi", "avi", 0,
            rate_video(video(["libxvid", "mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97",
                             VB_GENERAL, 1500 * K)) + mp3()),
    profile("DivX video", "DivX 视频", "MPEG-4 video tagged for DivX compatible players.",
            "适合 DivX 兼容播放机的 MPEG-4 视频。", "divx", "avi", 0,
            rate_video(video(["mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97", VB_GENERAL,
                             1500 * K)) + mp3()),
    profile("MOV video", "MOV 视频", "MPEG-4 video with AAC audio in a MOV file.",
            "MOV 封装的 MPEG-4 视频和 AAC 音频。", "mov", "mov", 0,
            rate_video(video(["libxvid", "libx264", "mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL,
                             "29.97", VB_GENERAL, 1200 * K)) + aac()),
    profile("WMV video", "WMV 视频", "WMV video for desktop players.",
            "适合电脑播放器的 WMV 视频。", "wmv", "wmv", 0,
            rate_video(video(["wmv1", "wmv2"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97",
                             VB_GENERAL, 1500 * K)) + wma(["wmav2", "wmav1"], 96 * K)),
    profile("MKV video", "MKV 视频", "Xvid video with AC-3 audio in a Matroska file.",
            "Matroska 封装的 Xvid 视频和 AC-3 音频。", "mkv", "mkv", 0,
            quality_video(video(["libxvid", "libx264", "mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL,
                                "29.97", VB_GENERAL, 1500 * K))
            + mixed_audio()),
    profile("DV video", "DV 视频", "Digital video for editing: 720x480 at 29.97 or 720x576 at 25.",
            "适合剪辑的 DV 数字视频：720x480 配 29.97 帧或 720x576 配 25 帧。", "dv", "dv", 0,
            video(["dvvideo"], SIZES_DV, "720x480", RATES_DV, "29.97", VB_DV, 9000 * K)
            + audio(["pcm_s16le"], None, AR_DV, [2], ar=48000)),
    profile("RealMedia video (RM)", "RealMedia 视频（RM）", "RealVideo for streaming players.",
            "适合网络流媒体播放器的 RealVideo 视频。", "rm", "rm", 0,
            video(["rv10", "rv20"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97", VB_GENERAL,
                  1500 * K) + cook()),
    profile("RealMedia video (RMVB)", "RealMedia 视频（RMVB）",
            "RealVideo with variable bit rate for streaming players.",
            "适合网络流媒体播放器的可变码率 RealVideo 视频。", "rmvb", "rmvb", 0,
            video(["rv10", "rv20"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97", VB_GENERAL,
                  1500 * K) + cook()),
    profile("M4V video", "M4V 视频", "MPEG-4 video stream without sound.",
            "不含声音的 MPEG-4 视频流。", "m4v", "m4v", 0,
            rate_video(video(["mpeg4"], SIZES_GENERAL, "640x480", RATES_GENERAL, "29.97", VB_GENERAL,
                             1500 * K))),
]


def mp4(name, zh_name, description, zh_description, device, codecs, sizes, size, rate, bitrate,
        ab, ar=44100):
    return profile(name, zh_name, description, zh_description, "mp4", "mp4", device,
                   video(codecs, sizes, size, RATES_GENERAL, rate, VB_GENERAL, bitrate)
                   + aac(ab, ar))


H264 = ["libx264", "libxvid"]
XVID = ["libxvid", "libx264"]

POCKET_PLAYERS = [
    mp4("Pocket player, widescreen (H.264)", "便携播放器，宽屏（H.264）",
        "H.264 video for widescreen pocket media players.", "适合宽屏便携媒体播放器的 H.264 视频。",
        1, H264, SIZES_POCKET, "480x320", "29.97", 768 * K, 128 * K),
    mp4("Pocket player, widescreen (MPEG-4)", "便携播放器，宽屏（MPEG-4）",
        "MPEG-4 video for widescreen pocket media players.", "适合宽屏便携媒体播放器的 MPEG-4 视频。",
        1, XVID, SIZES_POCKET, "320x240", "29.97", 1800 * K, 128 * K, 24000),
    mp4("Pocket player, classic (H.264)", "便携播放器，经典型（H.264）",
        "H.264 video for pocket media players with a 320x240 screen.",
        "适合 320x240 屏幕便携媒体播放器的 H.264 视频。",
        2, H264, SIZES_POCKET, "320x240", "29.97", 512 * K, 128 * K),
    mp4("Pocket player, classic (MPEG-4)", "便携播放器，经典型（MPEG-4）",
        "MPEG-4 video for pocket media players with a 320x240 screen.",
        "适合 320x240 屏幕便携媒体播放器的 MPEG-4 视频。",
        2, XVID, SIZES_POCKET, "320x240", "29.97", 1500 * K, 128 * K, 24000),
    mp4("Pocket player, compact (H.264)", "便携播放器，迷你型（H.264）",
        "H.264 video for compact pocket media players.", "适合迷你便携媒体播放器的 H.264 视频。",
        3, H264, SIZES_POCKET, "320x240", "29.97", 512 * K, 96 * K),
    mp4("Pocket player, TV out (H.264)", "便携播放器，电视输出（H.264）",
        "H.264 video for pocket media players connected to a TV.",
        "适合连接电视的便携媒体播放器的 H.264 视频。",
        4, H264, SIZES_POCKET, "640x480", "29.97", 384 * K, 64 * K),
]

TOUCH_PHONES = [
    mp4("Touch phone (H.264)", "触屏手机（H.264）", "H.264 video for touch-screen phones.",
        "适合触屏手机的 H.264 视频。", 21, H264, SIZES_POCKET, "480x320", "29.97", 900 * K, 96 * K),
    mp4("Touch phone (MPEG-4)", "触屏手机（MPEG-4）", "MPEG-4 video for touch-screen phones.",
        "适合触屏手机的 MPEG-4 视频。", 21, XVID, SIZES_POCKET, "480x320", "29.97", 900 * K, 96 * K),
]

TV_BOXES = [
    mp4("TV media box (H.264)", "电视媒体盒（H.264）", "H.264 video for media boxes connected to a TV.",
        "适合连接电视的媒体盒的 H.264 视频。", 121, H264, SIZES_TV, "480x320", "29.97", 900 * K, 96 * K),
    mp4("TV media box (MPEG-4)", "电视媒体盒（MPEG-4）", "MPEG-4 video for media boxes connected to a TV.",
        "适合连接电视的媒体盒的 MPEG-4 视频。", 121, XVID, SIZES_TV, "480x320", "29.97", 900 * K, 96 * K),
]

PORTABLE_VIDEO_PLAYERS = [
    mp4("Portable video player (MPEG-4)", "便携视频播放器（MPEG-4）",
        "MPEG-4 video for portable video players.", "适合便携视频播放器的 MPEG-4 视频。",
        181, ["libxvid"], SIZES_POCKET, "320x240", "30", 768 * K, 96 * K),
]


def phone_3gp(name, zh_name, device, codecs, size, bitrate, ab):
    return profile(name, zh_name, "H.263 video with AMR audio for mobile phones.",
                   "适合手机的 H.263 视频和 AMR 音频。", "3gp", "3gp", device,
                   video(codecs, SIZES_H263, size, RATES_PHONE, "15", VB_PHONE, bitrate) + amr(ab))


def phone_wmv(name, zh_name, device, codecs, audio_codecs, size, sizes, rate, bitrate, ab):
    return profile(name, zh_name, "WMV video for phones and handheld computers.",
                   "适合手机和掌上电脑的 WMV 视频。", "wmv", "wmv", device,
                   video(codecs, sizes, size, RATES_PHONE, rate, VB_PHONE, bitrate)
                   + wma(audio_codecs, ab))


MOBILE_PHONES = [
    phone_3gp("Mobile phone 3GP (H.263)", "手机 3GP（H.263）", 61, ["h263"], "176x144", 128 * K, 5900),
    profile("Mobile phone MP4 (MPEG-4)", "手机 MP4（MPEG-4）", "MPEG-4 video for mobile phones.",
            "适合手机的 MPEG-4 视频。", "mp4", "mp4", 61,
            video(["libxvid", "mpeg4"], SIZES_PHONE, "320x240", RATES_PHONE, "24", VB_PHONE, 384 * K)
            + aac()),
    profile("Mobile phone AVI (H.263)", "手机 AVI（H.263）",
            "H.263 video with MP3 audio in an AVI file for mobile phones.",
            "适合手机的 AVI 封装 H.263 视频和 MP3 音频。", "avi", "avi", 61,
            video(["h263"], SIZES_H263, "176x144", RATES_PHONE, "15", VB_PHONE, 256 * K)
            + mp3(96 * K)),
    phone_wmv("Mobile phone WMV", "手机 WMV", 61, ["wmv1"], ["wmav2"], "176x144", SIZES_PHONE, "15",
              256 * K, 96 * K),
]

SMARTPHONES = [
    phone_3gp("Smartphone 3GP (H.263)", "智能手机 3GP（H.263）", 81, ["h263", "mpeg4"], "176x144",
              128 * K, 5900),
    mp4("Smartphone MP4 (H.264)", "智能手机 MP4（H.264）", "H.264 video for smartphones.",
        "适合智能手机的 H.264 视频。", 81, ["libx264", "mpeg4"], SIZES_POCKET, "480x320", "24", 768 * K,
        160 * K),
    mp4("Smartphone MP4 (MPEG-4)", "智能手机 MP4（MPEG-4）", "MPEG-4 video for smartphones.",
        "适合智能手机的 MPEG-4 视频。", 81, ["mpeg4", "libx264"], SIZES_POCKET, "480x320", "24", 768 * K,
        160 * K),
    phone_wmv("Smartphone WMV", "智能手机 WMV", 81, ["wmv1"], ["wmav2"], "176x144", SIZES_PHONE, "15",
              256 * K, 96 * K),
]

MUSIC_VIDEO_PLAYERS = [
    mp4("Music and video player (H.264)", "音乐视频播放器（H.264）",
        "H.264 video for music players with a video screen.", "适合带视频屏幕的音乐播放器的 H.264 视频。",
        41, H264, SIZES_POCKET, "320x240", "29.97", 1500 * K, 96 * K),
    mp4("Music and video player (MPEG-4)", "音乐视频播放器（MPEG-4）",
        "MPEG-4 video for music players with a video screen.", "适合带视频屏幕的音乐播放器的 MPEG-4 视频。",
        41, XVID, SIZES_POCKET, "320x240", "29.97", 1500 * K, 96 * K),
    profile("Music and video player (WMV)", "音乐视频播放器（WMV）",
            "WMV video for music players with a video screen.",
            "适合带视频屏幕的音乐播放器的 WMV 视频。", "wmv", "wmv", 41,
            video(["wmv1", "wmv2"], SIZES_POCKET, "320x240", RATES_GENERAL, "30", VB_GENERAL, 640 * K)
            + wma(["wmav2", "wmav1"], 32 * K)),
]

GAME_CONSOLES = [
    profile("Game console (WMV)", "游戏主机（WMV）", "WMV video for game consoles.",
            "适合家用游戏机的 WMV 视频。", "wmv", "wmv", 141,
            video(["wmv1", "wmv2"], SIZES_GENERAL, "320x240", RATES_GENERAL, "25", VB_GENERAL, 512 * K)
            + wma(["wmav2", "wmav1"], 64 * K)),
    profile("Game console (AVI)", "游戏主机（AVI）", "Xvid video with MP3 audio for game consoles.",
            "适合家用游戏机的 Xvid 视频和 MP3 音频。", "avi", "avi", 141,
            video(["libxvid", "mpeg4"], SIZES_GENERAL, "320x240", RATES_GENERAL, "15", VB_GENERAL, 256 * K)
            + mp3(64 * K, 22050)),
    profile("Game console (MPEG-1)", "游戏主机（MPEG-1）", "MPEG-1 video for game consoles.",
            "适合家用游戏机的 MPEG-1 视频。", "mpeg1", "mpg", 141,
            mpeg1_video() + mp2(224 * K)),
    profile("Game console (VOB)", "游戏主机（VOB）", "MPEG-2 video for game consoles with a DVD drive.",
            "适合带 DVD 光驱的家用游戏机的 MPEG-2 视频。", "vob", "vob", 141,
            dvd_video() + dvd_audio()),
    mp4("Game console (MP4)", "游戏主机（MP4）", "MPEG-4 video for game consoles.",
        "适合家用游戏机的 MPEG-4 视频。", 141, ["libxvid", "mpeg4"], SIZES_GENERAL, "320x240", "29.97",
        1500 * K, 96 * K),
]

XVID_PLAYERS = [
    profile("Xvid player (AVI)", "Xvid 播放机（AVI）", "Xvid video with MP3 audio for standalone players.",
            "适合独立影碟播放机的 Xvid 视频和 MP3 音频。", "avi", "avi", 161,
            video(["libxvid"], SIZES_GENERAL, "640x480", RATES_GENERAL, "30", VB_GENERAL, 1200 * K)
            + mp3()),
    profile("Xvid player (WMV)", "Xvid 播放机（WMV）", "WMV video for standalone players.",
            "适合独立影碟播放机的 WMV 视频。", "wmv", "wmv", 161,
            video(["wmv2"], SIZES_GENERAL, "320x240", RATES_GENERAL, "30", VB_GENERAL, 512 * K)
            + wma(["wmav2"], 64 * K)),
]

HANDHELD_CONSOLES = [
    profile("Handheld game console (H.264)", "掌上游戏机（H.264）", "H.264 video for handheld game consoles.",
            "适合掌上游戏机的 H.264 视频。", "mp4", "mp4", 102,
            video(H264, SIZES_HANDHELD, "368x208", RATES_GENERAL, "29.97", VB_HANDHELD, 400 * K)
            + aac(64 * K, 48000)),
    profile("Handheld game console (MPEG-4)", "掌上游戏机（MPEG-4）", "MPEG-4 video for handheld game consoles.",
            "适合掌上游戏机的 MPEG-4 视频。", "mp4", "mp4", 102,
            video(XVID, SIZES_HANDHELD, "368x208", RATES_GENERAL, "29.97", VB_HANDHELD, 768 * K)
            + aac(64 * K, 24000)),
]


def hd(name, zh_name, description, zh_description, fmt, codecs, size, bitrate, audio_params):
    return profile(name, zh_name, description, zh_description, fmt, fmt, 0,
                   quality_video(video(codecs, SIZES_HD, size, RATES_GENERAL, "29.97", VB_HD, bitrate))
                   + audio_params)


HD_VIDEO = [
    hd("HD MP4 720p (H.264)", "高清 MP4 720p（H.264）", "High-definition H.264 video, 1280x720.",
       "1280x720 高清 H.264 视频。", "mp4", ["libx264", "libxvid"], "1280x720", 4000 * K, aac()),
    hd("HD MP4 1080p (H.264)", "高清 MP4 1080p（H.264）", "Full high-definition H.264 video, 1920x1080.",
       "1920x1080 全高清 H.264 视频。", "mp4", ["libx264", "libxvid"], "1920x1080", 8000 * K, aac()),
    hd("HD MKV", "高清 MKV", "High-definition video in a Matroska file.",
       "Matroska 封装的高清视频。", "mkv", ["libxvid", "libx264"], "1280x720", 4000 * K, mixed_audio()),
    hd("HD MOV", "高清 MOV", "High-definition video in a MOV file.",
       "MOV 封装的高清视频。", "mov", ["libxvid", "libx264"], "1280x720", 4000 * K, aac()),
    hd("HD AVI", "高清 AVI", "High-definition Xvid video in an AVI file.",
       "AVI 封装的高清 Xvid 视频。", "avi", ["libxvid", "mpeg4"], "1280x720", 4000 * K, mp3()),
    hd("HD WMV", "高清 WMV", "High-definition WMV video.",
       "高清 WMV 视频。", "wmv", ["wmv1", "wmv2"], "1280x720", 4000 * K, wma(["wmav2", "wmav1"], 96 * K)),
]

POCKET_PCS = [
    phone_3gp("Pocket PC 3GP (H.263)", "掌上电脑 3GP（H.263）", 201, ["h263"], "352x288", 256 * K, 7400),
    profile("Pocket PC MP4 (MPEG-4)", "掌上电脑 MP4（MPEG-4）", "MPEG-4 video for handheld computers.",
            "适合掌上电脑的 MPEG-4 视频。", "mp4", "mp4", 201,
            video(["libxvid", "mpeg4"], SIZES_PDA, "320x480", RATES_PHONE, "15", VB_PHONE, 256 * K)
            + aac()),
    profile("Pocket PC AVI (MPEG-4)", "掌上电脑 AVI（MPEG-4）",
            "MPEG-4 video with MP3 audio in an AVI file for handheld computers.",
            "适合掌上电脑的 AVI 封装 MPEG-4 视频和 MP3 音频。", "avi", "avi", 201,
            video(["mpeg4", "libxvid"], SIZES_PDA, "480x320", RATES_GENERAL, "29.97", VB_GENERAL, 900 * K)
            + mp3()),
    phone_wmv("Pocket PC WMV", "掌上电脑 WMV", 201, ["wmv1", "wmv2"], ["wmav1", "wmav2"], "320x480",
              SIZES_PDA, "15", 256 * K, 96 * K),
]



def efficient(name, zh_name, description, zh_description, fmt, codecs, bitrate, audio_params):
    return profile(name, zh_name, description, zh_description, fmt, fmt, 0,
                   quality_video(video(codecs, SIZES_EFFICIENT, "640x480", RATES_GENERAL, "29.97",
                                       VB_EFFICIENT, bitrate))
                   + audio_params)


AV1 = ["libsvtav1", "libaom-av1"]
HIGH_EFFICIENCY = [
    efficient("MP4 video (H.265)", "MP4 视频（H.265）", "H.265 video with AAC audio in an MP4 file.",
              "MP4 封装的 H.265 视频和 AAC 音频。", "mp4", ["libx265"], 512 * K, aac(128 * K)),
    efficient("MP4 video (AV1)", "MP4 视频（AV1）", "AV1 video with AAC audio in an MP4 file.",
              "MP4 封装的 AV1 视频和 AAC 音频。", "mp4", AV1, 768 * K, aac(128 * K)),
    efficient("MKV video (AV1)", "MKV 视频（AV1）", "AV1 video with Opus audio in a Matroska file.",
              "Matroska 封装的 AV1 视频和 Opus 音频。", "mkv", AV1, 768 * K, opus()),
    efficient("MKV video (VP9)", "MKV 视频（VP9）", "VP9 video with Opus audio in a Matroska file.",
              "Matroska 封装的 VP9 视频和 Opus 音频。", "mkv", ["libvpx-vp9"], 1000 * K, opus()),
    efficient("MKV video (H.265)", "MKV 视频（H.265）", "H.265 video with Opus audio in a Matroska file.",
              "Matroska 封装的 H.265 视频和 Opus 音频。", "mkv", ["libx265"], 512 * K, opus()),
    audio_profile("MKA audio (Opus)", "MKA 音频（Opus）", "Opus audio in a Matroska file.",
                  "Matroska 封装的 Opus 音频。", "mka", opus(128 * K)),
]

CATALOGUE = [
    (1, GENERAL_AUDIO), (2, GENERAL_VIDEO), (3, POCKET_PLAYERS), (4, TOUCH_PHONES), (5, TV_BOXES),
    (6, PORTABLE_VIDEO_PLAYERS), (7, MOBILE_PHONES), (8, SMARTPHONES), (9, MUSIC_VIDEO_PLAYERS),
    (10, GAME_CONSOLES), (11, XVID_PLAYERS), (12, HANDHELD_CONSOLES), (13, HD_VIDEO), (15, POCKET_PCS),
    (16, HIGH_EFFICIENCY),
]


OPTION_NAMES = {
    ("s", SOURCE): ("Same as source", "与源相同"),
    ("r", SOURCE): ("Same as source", "与源相同"),
    ("rc", "b"): ("Bit rate", "码率"),
    ("rc", "q"): ("Quality", "质量"),
    ("noenlarge", 0): ("Scale small sources up", "放大较小的源"),
    ("noenlarge", 1): ("Do not enlarge", "不放大"),
}


def option_names(param, value):
    """English and Chinese names of one option."""
    if param == "ac":
        return CHANNEL_LABELS[value]
    if param in ("b", "ab"):
        text = f"{value / 1000:g} kbps"
    elif param == "ar":
        text = f"{value} Hz"
    elif param == "r" and value != SOURCE:
        text = f"{value} fps"
    elif param in ("vcodec", "acodec"):
        text = CODEC_LABELS.get(value, value)
    elif (param, value) in OPTION_NAMES:
        return OPTION_NAMES[(param, value)]
    else:
        text = str(value)
    return text, text


def add_option(param_node, param, value, selected):
    node = ET.SubElement(param_node, "option", value=str(value))
    if value == selected:
        node.set("selected", "true")
    english, chinese = option_names(param, value)
    if english == chinese:
        if english != str(value):
            node.set("label", english)
        return
    for lang, text in (("en_us", english), ("zh_cn", chinese)):
        ET.SubElement(node, "name", lang=lang).text = text


def add_language(root, code, name, description, category):
    node = ET.SubElement(root, "language", code=code)
    ET.SubElement(node, "name").text = name
    ET.SubElement(node, "description").text = description
    ET.SubElement(node, "category").text = category


def profile_document(category, spec):
    root = ET.Element("profile", name=spec["name"], format=spec["format"],
                      extension=spec["extension"], media=spec["media"], device=str(spec["device"]),
                      category=str(category), builtin="true")
    english_category, chinese_category = CATEGORIES[category]
    add_language(root, "en_us", spec["name"], spec["description"], english_category)
    add_language(root, "zh_cn", spec["zh_name"], spec["zh_description"], chinese_category)
    for name, value_type, options, selected in spec["params"]:
        if selected not in options:
            raise ValueError(f"{spec['name']}: {name} selects {selected}, not among {options}")
        param = ET.SubElement(root, "param", name=name, type=value_type)
        for value in options:
            add_option(param, name, value, selected)
    ET.indent(root, space="  ")
    return ET.ElementTree(root)


def slug(name):
    kept = "".join(c.lower() if c.isalnum() else "_" for c in name)
    return "_".join(part for part in kept.split("_") if part)


def main():
    for old in HERE.glob("*.xml"):
        old.unlink()
    names = set()
    for category, profiles in CATALOGUE:
        for number, spec in enumerate(profiles, start=1):
            if spec["name"] in names:
                raise ValueError(f"profile name {spec['name']} used twice")
            names.add(spec["name"])
            path = HERE / f"{category:02d}_{number:02d}_{slug(spec['name'])}.xml"
            document = profile_document(category, spec)
            with open(path, "wb") as file:
                document.write(file, encoding="utf-8", xml_declaration=True)
                file.write(b"\n")
    print(f"wrote {len(names)} profiles")


if __name__ == "__main__":
    main()
