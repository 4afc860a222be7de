#include "platform/sdl/sdl_message_boxes.h"

#include <SDL.h>

#include <iostream>
#include <vector>

namespace orva::platform {
namespace {

Uint32 IconFlags(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kWarning: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::kError: return SDL_MESSAGEBOX_ERROR;
    default: return SDL_MESSAGEBOX_INFORMATION;
  }
}

std::vector<SDL_MessageBoxButtonData> Buttons(MessageButtons buttons) {
  const int ok = static_cast<int>(MessageChoice::kOk);
  const int cancel = static_cast<int>(MessageChoice::kCancel);
  const int yes = static_cast<int>(MessageChoice::kYes);
  const int no = static_cast<int>(MessageChoice::kNo);
  const Uint32 enter = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
  const Uint32 escape = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  switch (buttons) {
    case MessageButtons::kOk: return {{enter | escape, ok, "OK"}};
    case MessageButtons::kOkCancel: return {{enter, ok, "OK"}, {escape, cancel, "キャンセル"}};
    case MessageButtons::kYesNo: return {{enter, yes, "はい"}, {escape, no, "いいえ"}};
    case MessageButtons::kYesNoCancel:
      return {{enter, yes, "はい"}, {0, no, "いいえ"}, {escape, cancel, "キャンセル"}};
  }
  return {{enter | escape, ok, "OK"}};
}

MessageChoice EscapeChoice(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOk: return MessageChoice::kOk;
    case MessageButtons::kYesNo: return MessageChoice::kNo;
    default: return MessageChoice::kCancel;
  }
}

}  // namespace

MessageChoice SdlMessageBoxes::Show(const MessageRequest& request) {
  const auto buttons = Buttons(request.buttons);
  SDL_MessageBoxData data{};
  data.flags = IconFlags(request.icon);
  data.title = request.caption.c_str();
  data.message = request.text.c_str();
  data.numbuttons = static_cast<int>(buttons.size());
  data.buttons = buttons.data();
  int chosen = -1;
  if (SDL_ShowMessageBox(&data, &chosen) != 0) {
    std::cerr << request.caption << ": " << request.text << std::endl;
    return request.buttons == MessageButtons::kOk ? MessageChoice::kOk : request.ending_choice;
  }
  // Closing the box answers as the escape key does.
  if (chosen < 0) return EscapeChoice(request.buttons);
  return static_cast<MessageChoice>(chosen);
}

}  // namespace orva::platform
