// Writing layered images: one layer per frame holding the frame's picture, its alpha channel beside
// it, stored raw and scrambled when the list has a key, else compressed by the requested kind.

#include <string>

#include "core/byte_writer.h"
#include "core/error.h"
#include "images/jpeg_codec.h"
#include "images/mosa_frames.h"
#include "images/mosa_pixel_data.h"
#include "images/picture_pixels.h"
#include "images/zlib_block.h"
#include "resources/atomic_file.h"

namespace orva {
namespace {

constexpr int32_t kWrittenVersion = 106;

void WriteBlock(ByteWriter& out, std::span<const uint8_t> bytes) {
  out.I32(static_cast<int32_t>(bytes.size()));
  out.Bytes(bytes);
}

// One colour or alpha block; an absent picture is a block of size 0.
void WritePictureBlock(ByteWriter& out, const TDIBSurface& picture, MosaCompression kind, bool is_alpha,
                       int32_t quality, const PixelDataLayout& layout) {
  if (picture.Width() == 0 || picture.Height() == 0) {
    out.I32(0);
    return;
  }
  if (layout.scrambled || kind == MosaCompression::None) {
    WriteBlock(out, StoredRows(picture, layout));
  } else if (kind == MosaCompression::Nonreversible && !is_alpha) {
    WriteBlock(out, EncodeJpeg(picture, quality));
  } else {
    WriteBlock(out, DeflateBlock(StoredRows(picture, layout)));
  }
}

}  // namespace

std::string TMosaFrameList::SaveToBytes(MosaCompression compression, int32_t quality) const {
  const int32_t kind = static_cast<int32_t>(compression);
  if (kind < 0 || kind > 2) throw EOrvaError("unknown compression kind " + std::to_string(kind));
  PixelDataLayout layout;
  layout.scrambled = Key != 0;
  layout.key = Key;

  ByteWriter out;
  out.Chars("Mosa" + std::to_string(kWrittenVersion));
  out.I32(40);
  const TDIBSurface* first = Count() > 0 ? &frames_[0]->Picture : nullptr;
  out.I32(kWrittenVersion);
  out.I32(first ? first->Width() : 0);
  out.I32(first ? first->Height() : 0);
  out.I32(first ? first->BitCount() : 0);
  out.I32(Count());
  out.U8(1);
  out.U8(layout.scrambled ? 1 : 0);
  out.U8(static_cast<uint8_t>(layout.scrambled ? 1 : kind));
  out.U8(0);
  out.U32(BackColor);
  out.I32(0);
  out.I32(0);
  out.Bool(BaseOpaque);
  out.U8(static_cast<uint8_t>(quality));
  out.U16(0);

  for (int i = 0; i < Count(); ++i) {
    const TMosaFrame& frame = *frames_[i];
    const TDIBSurface& picture = frame.Picture;
    out.String("Frame" + std::to_string(i + 1));
    out.I32(-1);
    out.I32(frame.Delay);
    out.U8(2);
    out.I32(0);
    out.I32(1);
    out.I32(picture.Width());
    out.I32(picture.Height());
    out.I32(picture.BitCount());
    if (picture.BitCount() <= 8) {
      const size_t entries = size_t{1} << picture.BitCount();
      for (size_t e = 0; e < entries; ++e) out.U32(e < picture.Palette().size() ? picture.Palette()[e] : 0);
    }
    out.I32(0);
    out.I32(0);
    out.Bool(true);
    out.I32(-1);
    out.I32(255);
    out.Bool(picture.Alpha() != nullptr);
    out.String("Layer");
    WritePictureBlock(out, picture, compression, false, quality, layout);
    if (picture.Alpha()) {
      WritePictureBlock(out, *picture.Alpha(), compression, true, quality, layout);
    } else {
      out.I32(0);
    }
    out.I32(0);
    out.I32(0);
  }
  return out.Take();
}

void TMosaFrameList::SaveToFile(const std::string& path, MosaCompression compression, int32_t quality) const {
  WriteFileAtomically(path, SaveToBytes(compression, quality));
}

}  // namespace orva
