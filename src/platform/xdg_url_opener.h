#pragma once
// Opens web addresses with xdg-open, without waiting for the browser.

#include "platform/url_opener.h"

namespace orva::platform {

class XdgUrlOpener final : public UrlOpener {
 public:
  bool Open(const std::string& url) override;
};

}  // namespace orva::platform
