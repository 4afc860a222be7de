#include "platform/trace_file.h"

#include <cerrno>
#include <cstring>

#include "core/encoding.h"
#include "core/error.h"

namespace orva::platform {

std::unique_ptr<TraceFile> TraceFile::Create(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw EOrvaError("cannot create the trace file " + path + ": " + std::strerror(errno));
  return std::unique_ptr<TraceFile>(new TraceFile(file));
}

TraceFile::~TraceFile() { std::fclose(file_); }

void TraceFile::WriteLine(std::string_view sjis_line) {
  const std::string text = Cp932ToUtf8(sjis_line);
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fputc('\n', file_);
}

}  // namespace orva::platform
