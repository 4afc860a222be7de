#pragma once
// Message boxes through SDL; when no display can show them, they go to stderr as in a headless
// run and take the answer that ends the run.

#include "platform/message_box.h"

namespace orva::platform {

class SdlMessageBoxes final : public MessageBoxes {
 public:
  MessageChoice Show(const MessageRequest& request) override;
};

}  // namespace orva::platform
