#pragma once
// Headless message boxes: each is written as "caption: text" on one line of a stream (stderr in
// the player) and answered with the choice that ends the run.

#include <ostream>
#include <vector>

#include "platform/message_box.h"

namespace orva::platform {

class StreamMessageBoxes final : public MessageBoxes {
 public:
  explicit StreamMessageBoxes(std::ostream& out) : out_(out) {}
  MessageChoice Show(const MessageRequest& request) override;

  // Every request shown, in order.
  const std::vector<MessageRequest>& Shown() const { return shown_; }

 private:
  std::ostream& out_;
  std::vector<MessageRequest> shown_;
};

}  // namespace orva::platform
