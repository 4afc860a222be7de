#pragma once
// The headless backend bundled: virtual clock, stderr message boxes, recorded web addresses.

#include <iosfwd>

#include "platform/headless/recording_url_opener.h"
#include "platform/headless/stderr_message_boxes.h"
#include "platform/headless/virtual_clock.h"
#include "platform/platform.h"

namespace orva::platform {

struct HeadlessPlatform {
  Platform services;
  // The same objects as in services, with their headless extras.
  VirtualClock* clock = nullptr;
  StreamMessageBoxes* message_boxes = nullptr;
  RecordingUrlOpener* url_opener = nullptr;
};

HeadlessPlatform CreateHeadlessPlatform(std::ostream& message_sink, const LocalDateTime& start);

}  // namespace orva::platform
