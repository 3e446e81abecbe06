// The painters: each draws one picture of the scene once, at full resolution. Sky and
// clouds repeat seamlessly in both directions; the stone's 4 x 4 tiles end in half a joint
// at every border, so repeated pictures meet in whole joints.
#pragma once

#include "image.h"

namespace artgen {

Image PaintSky(int size);     // deep blue with white cloud puffs
Image PaintClouds(int size);  // grey wisps on black, added onto the sky
Image PaintStone(int size);   // pale marble tiles, the middle 2 x 2 darker grey
Image PaintGlow(int size);    // rows from black at the top through orange to white

// The glow's colour at t = 0 (top) .. 1 (bottom); its palette is this ramp.
Rgb GlowColour(double t);

}  // namespace artgen
