// A software picture of the scene for the contact sheet: the sky and cloud cones, the slab
// tops and the horizon glow, ray cast through a camera with the program's projection and
// textured from the shipped levels with the blending the scene uses, so the art can be
// judged where it will be seen. The slab sides are left out, and the cube is drawn
// unturned and without its bevels.
#pragma once

#include <vector>

#include "image.h"
#include "vec.h"

namespace artgen {

struct PreviewTextures {
    std::vector<Image> sky, clouds, stone;  // every level, largest first
    Image glow;
};

Image PreviewScene(const PreviewTextures& textures, Vec eye, Vec target, int width, int height);

}  // namespace artgen
