#pragma once
// Compressed archive entries: one zlib stream each, written at zlib's fastest level and inflated
// into a buffer guessed from the compressed size, since the directory stores no plain size.

#include <cstdint>
#include <span>
#include <string_view>

#include "resources/stream.h"

namespace orva {

// Inflates one zlib stream into out (replacing its contents, position 0). The result may be at
// most 1032 times the compressed bytes. Raises EOrvaError naming what (UTF-8) on damaged data.
void InflateZlib(std::span<const uint8_t> compressed, TMemoryStream& out, std::string_view what);

// Appends the zlib stream of plain, compressed at level 1, to out at its position.
void DeflateFast(std::span<const uint8_t> plain, TMemoryStream& out);

// CRC-32 as zlib computes it (reflected 0xEDB88320, initial value and final XOR 0xFFFFFFFF).
uint32_t Crc32(std::span<const uint8_t> bytes);

}  // namespace orva
