#pragma once
// Surfaces load layered images through a reader that the image subsystem registers at start-up, so
// that the surfaces do not depend on it. The reader fills the picture with frame 0 as composed, or
// raises EOrvaError for damaged data.

#include <cstdint>
#include <functional>
#include <span>

#include "render/dib_surface.h"

namespace orva {

using LayeredPictureLoader = std::function<void(std::span<const uint8_t> data, int32_t key, TDIBSurface& picture)>;

// Replaces the registered reader (an empty function removes it).
void RegisterLayeredPictureLoader(LayeredPictureLoader loader);
const LayeredPictureLoader& RegisteredLayeredPictureLoader();

}  // namespace orva
