#include "player_calls.h"

#include "vkoPlayerDll.h"

void callPlayer(const PlayerCall& call)
{
    const auto argument = static_cast<int32_t>(call.argument);
    switch (call.command) {
    case PlayerCommand::Start: startPlay(argument); break;
    case PlayerCommand::Pause: pausePlay(); break;
    case PlayerCommand::Stop: stopPlay(argument); break;
    case PlayerCommand::Close: close_sdl(); break;
    case PlayerCommand::Crop: cropFlim(); break;
    case PlayerCommand::TopCrop: upCropFlim(argument); break;
    case PlayerCommand::BottomCrop: bottomCropFlim(argument); break;
    case PlayerCommand::LeftCrop: leftCropFlim(argument); break;
    case PlayerCommand::RightCrop: rightCropFlim(argument); break;
    case PlayerCommand::Brightness: setBrightness(argument); break;
    case PlayerCommand::Contrast: setContrast(argument); break;
    case PlayerCommand::Saturation: setSaturation(argument); break;
    case PlayerCommand::NoEffect: noEffectFlim(); break;
    case PlayerCommand::Gray: grayFlim(); break;
    case PlayerCommand::Emboss: embossFlim(); break;
    case PlayerCommand::Old: oldFlim(); break;
    case PlayerCommand::NoFlip: noFlipFlim(); break;
    case PlayerCommand::HorizontalFlip: horiFlipFlim(); break;
    case PlayerCommand::VerticalFlip: vertFlipFlim(); break;
    case PlayerCommand::OutputVolume: setOutputVolume(static_cast<uint32_t>(call.argument)); break;
    }
}
