// Format presets: each completes and corrects a job's output settings (container, encoders, rates,
// sizes, encoder tuning) for one output format and device class family before the transcode
// runs. Each returns 0 or the code of a failed check (43, 45, 47, 48), already reported.
#pragma once

namespace engine {

struct JobContext;

// Audio formats.
int mp3Preset(JobContext& job);
int aacPreset(JobContext& job);
int wavPreset(JobContext& job);
int m4aPreset(JobContext& job);
int ac3Preset(JobContext& job);
int amrPreset(JobContext& job);
int mp2Preset(JobContext& job);
int wmaPreset(JobContext& job);
int flacPreset(JobContext& job);
int aiffPreset(JobContext& job);
int oggPreset(JobContext& job);
int mkaPreset(JobContext& job);

// Video formats of the general profiles (device class 0).
int threeGpPreset(JobContext& job);
int mpeg1Preset(JobContext& job);
int vobPreset(JobContext& job);
int mp4Preset(JobContext& job);
int flvPreset(JobContext& job);
int swfPreset(JobContext& job);
int aviPreset(JobContext& job);
int divxPreset(JobContext& job);
int movPreset(JobContext& job);
int mkvPreset(JobContext& job);
int m4vPreset(JobContext& job);

// Presets shared by several formats and device classes.
int h263PresetA(JobContext& job);
int h263PresetB(JobContext& job);
int wmv1Preset(JobContext& job);
int wmv2Preset(JobContext& job);
int wmvCheckPreset(JobContext& job);
int dvPreset(JobContext& job);

// Device class families.
int handheldMp4Preset(JobContext& job);  // 1-20, by device type
int class21Mp4Preset(JobContext& job);   // 21-40 and 121-140
int class41Mp4Preset(JobContext& job);   // 41-60
int aacMp4Preset(JobContext& job);       // 61-80 and 201-220: container and audio only
int class81Mp4Preset(JobContext& job);   // 81-100
int pspPreset(JobContext& job);          // 101-120
int class141Mp4Preset(JobContext& job);  // 141-160
int xvidMp4Preset(JobContext& job);      // 181-200
int h263AviPreset(JobContext& job);      // 61-80
int mp3AviPreset(JobContext& job);       // 141-160
int xvidAviPreset(JobContext& job);      // 161-180

} // namespace engine
