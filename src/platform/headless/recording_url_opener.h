#pragma once
// Headless runs open no browser: web addresses are only recorded.

#include <string>
#include <vector>

#include "platform/url_opener.h"

namespace orva::platform {

class RecordingUrlOpener final : public UrlOpener {
 public:
  bool Open(const std::string& url) override {
    opened_.push_back(url);
    return true;
  }
  const std::vector<std::string>& Opened() const { return opened_; }

 private:
  std::vector<std::string> opened_;
};

}  // namespace orva::platform
