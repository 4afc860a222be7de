#pragma once
// Handing composed frames to drawing surfaces, and the layered-image branch of surface loading.

#include "images/mosa_frames.h"
#include "render/custom_dibx.h"

namespace orva {

// Sizes the surface to the frame at its own bit count and copies the picture in (24- and 32-bit
// pictures into 32-bit surfaces directly, with the unused byte cleared; anything else converted as
// a device-context blit converts), then the frame's regions.
void CopyToSurface(const TMosaFrame& frame, TCustomDIBX& surface);

// When the frame has an alpha channel: makes the surface 8-bit of the frame's size and copies it.
void CopyAlphaToSurface(const TMosaFrame& frame, TCustomDIBX& surface);

// Registers the reader that surfaces use for data starting with "Mosa": frame 0 as composed.
void RegisterLayeredImageLoader();

}  // namespace orva
