// Effect settings that choose one look and change nothing else.
#pragma once

#include "picture_effects.h"

inline engine::PictureEffectParams look(int pictureEffect)
{
    engine::PictureEffectParams params;
    params.pictureEffect = pictureEffect;
    return params;
}
