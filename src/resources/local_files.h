#pragma once
// Plain questions about files on the local disk, for the few places that look before the virtual
// file manager exists.

#include <cstdint>
#include <string>

namespace orva {

bool IsRegularFile(const std::string& path);
bool IsDirectory(const std::string& path);

// Removes a file; a failure is ignored (the caller has nothing better to do).
void RemoveLocalFileQuietly(const std::string& path);

// The whole file's bytes; raises EOrvaError naming the file when it cannot be read, is not a
// regular file or holds more than max_bytes.
std::string ReadLocalFile(const std::string& path, uint64_t max_bytes = UINT64_MAX);

}  // namespace orva
