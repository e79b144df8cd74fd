// The player calls a window makes while it drives the playback, as values: the window sends them
// through a channel that goes straight to the player library, and a test can put itself in
// between to watch the calls on their way.
#pragma once

#include <cstdint>
#include <functional>

enum class PlayerCommand {
    Start,         // startPlay(argument)
    Pause,         // pausePlay()
    Stop,          // stopPlay(argument)
    Close,         // close_sdl()
    Crop,          // cropFlim()
    TopCrop,       // upCropFlim(argument)
    BottomCrop,    // bottomCropFlim(argument)
    LeftCrop,      // leftCropFlim(argument)
    RightCrop,     // rightCropFlim(argument)
    Brightness,    // setBrightness(argument)
    Contrast,      // setContrast(argument)
    Saturation,    // setSaturation(argument)
    NoEffect,      // noEffectFlim()
    Gray,          // grayFlim()
    Emboss,        // embossFlim()
    Old,           // oldFlim()
    NoFlip,        // noFlipFlim()
    HorizontalFlip, // horiFlipFlim()
    VerticalFlip,  // vertFlipFlim()
    OutputVolume,  // setOutputVolume(argument as the 32-bit word)
};

struct PlayerCall {
    PlayerCommand command;
    int64_t argument = 0;
    bool operator==(const PlayerCall&) const = default;
};

using PlayerChannel = std::function<void(const PlayerCall&)>;

// Makes the call in the player library.
void callPlayer(const PlayerCall& call);
