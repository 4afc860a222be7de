#pragma once
// Message boxes with a caption, an icon and buttons; the caller gets the button chosen.
// Texts are UTF-8 (they are shown to a person).

#include <string>

namespace orva::platform {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class MessageChoice { kOk, kCancel, kYes, kNo };

struct MessageRequest {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::kInformation;
  MessageButtons buttons = MessageButtons::kOk;
  // The answer that ends the run: what a run without a person (headless) answers.
  MessageChoice ending_choice = MessageChoice::kOk;
};

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageChoice Show(const MessageRequest& request) = 0;
};

}  // namespace orva::platform
