#pragma once
// Opening a web address in the user's browser.

#include <string>

namespace orva::platform {

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // Returns whether the request could be handed on.
  virtual bool Open(const std::string& url) = 0;
};

}  // namespace orva::platform
