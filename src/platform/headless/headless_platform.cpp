#include "platform/headless/headless_platform.h"

namespace orva::platform {

HeadlessPlatform CreateHeadlessPlatform(std::ostream& message_sink, const LocalDateTime& start) {
  HeadlessPlatform p;
  auto clock = std::make_unique<VirtualClock>(start);
  auto boxes = std::make_unique<StreamMessageBoxes>(message_sink);
  auto opener = std::make_unique<RecordingUrlOpener>();
  p.clock = clock.get();
  p.message_boxes = boxes.get();
  p.url_opener = opener.get();
  p.services.clock = std::move(clock);
  p.services.message_boxes = std::move(boxes);
  p.services.url_opener = std::move(opener);
  return p;
}

}  // namespace orva::platform
