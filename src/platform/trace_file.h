#pragma once
// A trace sink writing one UTF-8 line per trace line into a file.

#include <cstdio>
#include <memory>
#include <string>

#include "core/trace.h"

namespace orva::platform {

class TraceFile final : public TraceSink {
 public:
  // Raises EOrvaError when the file cannot be created.
  static std::unique_ptr<TraceFile> Create(const std::string& path);
  ~TraceFile() override;
  void WriteLine(std::string_view sjis_line) override;

 private:
  explicit TraceFile(std::FILE* file) : file_(file) {}
  std::FILE* file_;
};

}  // namespace orva::platform
