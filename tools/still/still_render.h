// Rendering one frame of the real scene off screen: SkyScene on a hidden window's
// Direct3D 8 device, drawn tile by tile into a lockable render target, so pictures larger
// than the screen (or than one render target) come out whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "still_options.h"

// Renders options' frame at options.width x options.height into *rgb (rows top first,
// 3 bytes per pixel). On failure returns false and says why in *error.
bool RenderStill(const StillOptions& options, std::vector<std::uint8_t>* rgb, std::string* error);
