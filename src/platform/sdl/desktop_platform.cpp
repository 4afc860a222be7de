#include "platform/platform.h"
#include "platform/sdl/sdl_message_boxes.h"
#include "platform/system_clock.h"
#include "platform/xdg_url_opener.h"

namespace orva::platform {

Platform CreateDesktopPlatform() {
  Platform p;
  p.clock = std::make_unique<SystemClock>();
  p.message_boxes = std::make_unique<SdlMessageBoxes>();
  p.url_opener = std::make_unique<XdgUrlOpener>();
  return p;
}

}  // namespace orva::platform
