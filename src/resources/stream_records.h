#pragma once
// The small records every file format of the player is made of, read from and written to any
// stream: the string record, 32-bit integers, bytes, and the bulk copy.

#include <cstdint>
#include <string>
#include <string_view>

#include "resources/stream.h"

namespace orva {

// Signed 32-bit byte count, then the bytes; a count of 0 or less is empty. A count beyond the
// bytes the stream still holds raises EOrvaError before anything is allocated.
std::string ReadString(TStream& stream);
void WriteString(TStream& stream, std::string_view s);
int32_t ReadInt32(TStream& stream);
void WriteInt32(TStream& stream, int32_t value);
uint8_t ReadByte(TStream& stream);
void WriteByte(TStream& stream, uint8_t value);

// Copies count bytes from the source's position; count 0 copies the whole source from position 0.
// Returns the count copied. A short source raises EOrvaError.
int64_t CopyStream(TStream& destination, TStream& source, int64_t count);

}  // namespace orva
