#pragma once
// The machine services the player uses, bundled. Two backends fill it: the desktop one (SDL and
// the system's clocks) and the headless one (virtual clock, stderr message boxes) used by tests
// and by "orvaplayer --headless".

#include <memory>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/url_opener.h"

namespace orva::platform {

struct Platform {
  std::unique_ptr<Clock> clock;
  std::unique_ptr<MessageBoxes> message_boxes;
  std::unique_ptr<UrlOpener> url_opener;
};

// The desktop backend: SDL message boxes (stderr when no display can show them), the steady
// clock and local time of the machine, xdg-open for web addresses.
Platform CreateDesktopPlatform();

}  // namespace orva::platform
