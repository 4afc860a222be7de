#include "platform/headless/stderr_message_boxes.h"

namespace orva::platform {

MessageChoice StreamMessageBoxes::Show(const MessageRequest& request) {
  shown_.push_back(request);
  out_ << request.caption << ": " << request.text << '\n';
  out_.flush();
  return request.buttons == MessageButtons::kOk ? MessageChoice::kOk : request.ending_choice;
}

}  // namespace orva::platform
