// Reading layered images of every version: the signature and header, the frame and layer records,
// the colour and alpha blocks, and composing each frame as its layers arrive.

#include <array>
#include <cstring>
#include <string>

#include "core/error.h"
#include "core/limits.h"
#include "images/jpeg_codec.h"
#include "images/mosa_compose.h"
#include "images/mosa_frames.h"
#include "images/mosa_pixel_data.h"
#include "images/picture_pixels.h"
#include "images/zlib_block.h"

namespace orva {
namespace {

// The smallest frame record (empty name, no palette, no layers) and layer record (version 0).
constexpr size_t kSmallestFrameRecord = 4 + 4 + 4 + 1 + 4 + 4 + 12;
constexpr size_t kSmallestLayerRecord = 8 + 1 + 4 + 4 + 4 + 4;
constexpr size_t kRectRecord = 16;
constexpr size_t kHeaderRecord = 40;

struct FileHeader {
  int32_t version = 0;
  int32_t frame_count = 0;
  int32_t compression = 0;
  PixelDataLayout layout;
};

int32_t ReadI32At(const std::array<uint8_t, kHeaderRecord>& record, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | record[offset + static_cast<size_t>(i)];
  return static_cast<int32_t>(v);
}

// Swaps the stored rows end for end: rows written top-down into bottom-up storage.
void ReverseRowOrder(TDIBSurface& picture) {
  const size_t pitch = static_cast<size_t>(picture.RowBytes());
  std::vector<uint8_t> spare(pitch);
  uint8_t* storage = picture.Bits().data();
  for (int32_t low = 0, high = picture.Height() - 1; low < high; ++low, --high) {
    uint8_t* a = storage + static_cast<size_t>(low) * pitch;
    uint8_t* b = storage + static_cast<size_t>(high) * pitch;
    std::memcpy(spare.data(), a, pitch);
    std::memcpy(a, b, pitch);
    std::memcpy(b, spare.data(), pitch);
  }
}

class LayeredImageReader {
 public:
  LayeredImageReader(TMosaFrameList& list, ByteReader& stream) : list_(list), stream_(stream) {}

  void Read(FrameSelection selection, Preparation preparation) {
    const FileHeader header = ReadHeader();
    header_ = header;
    int32_t count = header.frame_count;
    if (!limits::CountFits(count, kSmallestFrameRecord, static_cast<int64_t>(stream_.Remaining()))) {
      throw EOrvaError("damaged layered image: " + std::to_string(count) + " frames do not fit the data");
    }
    if (selection == FrameSelection::FirstOnly) count = std::min(count, 1);
    for (int32_t i = 0; i < count; ++i) {
      TMosaFrame& frame = *list_.AddFrame();
      ReadFrame(frame);
      if (preparation == Preparation::Prepare) list_.PrepareFrame(frame);
    }
    for (int i = 0; i < list_.Count(); ++i) list_[i]->Layers.Clear();
  }

 private:
  int32_t ReadVersion() {
    if (stream_.Remaining() < 4 || std::memcmp(stream_.Bytes(4).data(), "Mosa", 4) != 0) return 0;
    const std::string_view digits = stream_.Chars(3);
    int32_t version = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') throw EOrvaError("damaged layered image: the signature has no version number");
      version = version * 10 + (c - '0');
    }
    return version;
  }

  FileHeader ReadHeader() {
    FileHeader header;
    const size_t start = stream_.Position();
    header.version = ReadVersion();
    // Without signature the bytes belong to the frame count.
    if (header.version == 0) stream_.Seek(start);
    list_.Version = header.version;
    if (header.version < 103) {
      header.frame_count = stream_.I32();
      stream_.Skip(1);
      if (header.version > 101) list_.BackColor = stream_.U32();
      return header;
    }
    const int32_t size = stream_.I32();
    if (size < 0) throw EOrvaError("damaged layered image: negative header size");
    std::array<uint8_t, kHeaderRecord> record{};
    const size_t taken = std::min<size_t>(static_cast<size_t>(size), kHeaderRecord);
    const std::span<const uint8_t> stored = stream_.Bytes(taken);
    std::copy(stored.begin(), stored.end(), record.begin());
    // Longer headers from later writers: the excess is not ours to read.
    stream_.Skip(static_cast<size_t>(size) - taken);
    header.frame_count = ReadI32At(record, 16);
    header.layout.scrambled = record[21] != 0;
    header.layout.key = list_.Key;
    header.compression = record[22];
    if (header.compression > 2) {
      throw EOrvaError("damaged layered image: unknown compression kind " + std::to_string(header.compression));
    }
    list_.BackColor = static_cast<uint32_t>(ReadI32At(record, 24));
    header.layout.tile_width = ReadI32At(record, 28);
    header.layout.tile_height = ReadI32At(record, 32);
    if (!header.layout.HasTiles()) header.layout.tile_width = header.layout.tile_height = 0;
    list_.BaseOpaque = header.version >= 105 && record[36] != 0;
    return header;
  }

  void Spend(int64_t pixels) {
    spent_ += pixels;
    if (spent_ > list_.PixelBudget()) {
      throw EOrvaError("layered image needs more than " + std::to_string(list_.PixelBudget()) + " pixels");
    }
  }

  static void CheckGeometry(int32_t width, int32_t height, int32_t bits) {
    if (!IsPictureBitCount(bits)) {
      throw EOrvaError("damaged layered image: unsupported bit count " + std::to_string(bits));
    }
    if (!limits::PictureFits(width, height)) {
      throw EOrvaError("damaged layered image: picture size " + std::to_string(width) + " x " +
                       std::to_string(height) + " exceeds the limits");
    }
  }

  void SizeChecked(TDIBSurface& picture, int32_t width, int32_t height, int32_t bits) {
    CheckGeometry(width, height, bits);
    Spend(int64_t{width} * height);
    picture.SetSize(width, height, bits);
  }

  std::vector<TRect> ReadRegions() {
    const int32_t count = stream_.I32();
    std::vector<TRect> regions;
    if (count < 0) return regions;
    if (!limits::CountFits(count, kRectRecord, static_cast<int64_t>(stream_.Remaining()))) {
      throw EOrvaError("damaged layered image: " + std::to_string(count) + " regions do not fit the data");
    }
    regions.resize(static_cast<size_t>(count));
    for (TRect& r : regions) {
      r.Left = stream_.I32();
      r.Top = stream_.I32();
      r.Right = stream_.I32();
      r.Bottom = stream_.I32();
    }
    return regions;
  }

  void ReadFrame(TMosaFrame& frame) {
    const int32_t version = header_.version;
    frame.Name = stream_.String();
    frame.TransparentValue = stream_.I32();
    frame.Delay = stream_.I32();
    stream_.Skip(1 + 4);
    const int32_t layer_count = stream_.I32();
    if (!limits::CountFits(layer_count, kSmallestLayerRecord, static_cast<int64_t>(stream_.Remaining()))) {
      throw EOrvaError("damaged layered image: " + std::to_string(layer_count) + " layers do not fit the data");
    }
    FrameCanvas canvas;
    canvas.width = stream_.I32();
    canvas.height = stream_.I32();
    canvas.bits = stream_.I32();
    canvas.back_color = list_.BackColor;
    CheckGeometry(canvas.width, canvas.height, canvas.bits);
    Spend(int64_t{canvas.width} * canvas.height);
    // The storage comes when a layer needs it; the palette is needed from the start.
    frame.Picture.SetSize(0, 0, canvas.bits);
    if (canvas.bits <= 8) {
      const size_t entries = size_t{1} << canvas.bits;
      std::span<const uint8_t> palette = stream_.Bytes(entries * 4);
      for (size_t i = 0; i < entries; ++i) {
        frame.Picture.Palette()[i] = static_cast<uint32_t>(palette[i * 4] | (palette[i * 4 + 1] << 8) |
                                                           (palette[i * 4 + 2] << 16));
      }
    }
    frame.TransparentColor =
        frame.TransparentValue >= 0
            ? static_cast<int32_t>(ValueToColor(frame.Picture, static_cast<uint32_t>(frame.TransparentValue)))
            : -1;

    bool visible_seen = false;
    for (int32_t i = 0; i < layer_count; ++i) {
      TMosaLayer& layer = *frame.Layers.Add(std::make_unique<TMosaLayer>(&frame));
      ReadLayer(frame, canvas, layer);
      DrawLayer(frame, canvas, layer, LayerPlacement{i, !visible_seen, list_.BaseOpaque});
      if (layer.Visible) visible_seen = true;
    }
    if (!canvas.ready) canvas.Prepare(frame.Picture);
    if (version >= 104) {
      frame.Regions = ReadRegions();
      frame.Regions2 = ReadRegions();
    }
  }

  std::span<const uint8_t> ReadBlock(const char* what) {
    const int32_t size = stream_.I32();
    if (size < 0) throw EOrvaError(std::string("damaged layered image: negative size of the ") + what);
    return stream_.Bytes(static_cast<size_t>(size));
  }

  void ReadLayer(const TMosaFrame& frame, const FrameCanvas& canvas, TMosaLayer& layer) {
    const int32_t version = header_.version;
    stream_.Skip(8);
    layer.Visible = stream_.Bool();
    layer.TransparentValue = stream_.I32();
    layer.Opacity = stream_.I32();
    // Files before the flag existed use every alpha channel they carry.
    layer.UseAlpha = version > 100 ? stream_.Bool() : true;
    const int32_t name_length = stream_.I32();
    if (name_length > 0) stream_.Skip(static_cast<size_t>(name_length));

    const std::span<const uint8_t> colour = ReadBlock("colour data");
    if (!colour.empty()) {
      DecodeBlock(colour, layer.Picture, frame, canvas, BlockKind::Color);
      layer.HasColor = true;
    }
    if (version > 99) {
      const std::span<const uint8_t> alpha = ReadBlock("alpha data");
      if (!alpha.empty()) {
        if (!layer.HasColor) {
          SizeChecked(layer.Picture, canvas.width, canvas.height, canvas.bits);
        }
        Spend(int64_t{layer.Picture.Width()} * layer.Picture.Height());
        layer.Picture.SetAlphaChannel(true);
        DecodeBlock(alpha, *layer.Picture.Alpha(), frame, canvas, BlockKind::Alpha);
        layer.TransparentValue = -1;
      }
    }
  }

  enum class BlockKind { Color, Alpha };

  void DecodeBlock(std::span<const uint8_t> data, TDIBSurface& picture, const TMosaFrame& frame,
                   const FrameCanvas& canvas, BlockKind kind) {
    const bool alpha = kind == BlockKind::Alpha;
    const char* what = alpha ? "alpha data" : "colour data";
    if (!alpha) {
      if (header_.compression == 2) {
        DecodeJpeg(data, picture, list_.PixelBudget() - spent_);
        Spend(int64_t{picture.Width()} * picture.Height());
        return;
      }
      SizeChecked(picture, canvas.width, canvas.height, canvas.bits);
      picture.Palette() = frame.Picture.Palette();
    }
    const PixelDataLayout& layout = header_.layout;
    const int32_t width = picture.Width(), height = picture.Height(), bits = picture.BitCount();
    const EarlierLayerLookup lookup = [this, alpha](int32_t frame_index, int32_t layer_index) -> const TDIBSurface* {
      if (frame_index >= list_.Count()) return nullptr;
      const TMosaFrame& source = *list_[frame_index];
      if (layer_index < 0 || layer_index >= source.Layers.Count()) return nullptr;
      const TDIBSurface& layer_picture = source.Layers[layer_index]->Picture;
      return alpha ? layer_picture.Alpha() : &layer_picture;
    };
    if (header_.compression == 1) {
      PlacePixelData(data, picture, layout, lookup);
      return;
    }
    const size_t most = MaxPlainSize(width, height, bits, layout);
    const size_t cap = InflateCapFor(data.size());
    if (!layout.HasTiles() && most > cap) {
      throw EOrvaError(std::string("damaged layered image: the ") + what + " cannot hold a " +
                       std::to_string(width) + " x " + std::to_string(height) + " picture");
    }
    if (!layout.HasTiles() && !layout.scrambled && InflateWhole(data, picture.Bits())) {
      // Whole-buffer inflate straight into the storage, which keeps its rows bottom-up.
      ReverseRowOrder(picture);
      return;
    }
    const InflatedBytes plain = InflateBlock(data, std::min(most, cap), what);
    PlacePixelData(plain.Bytes(), picture, layout, lookup);
  }

  TMosaFrameList& list_;
  ByteReader& stream_;
  FileHeader header_;
  int64_t spent_ = 0;
};

}  // namespace

void TMosaFrameList::LoadFromStream(ByteReader& stream, FrameSelection selection, Preparation preparation) {
  Clear();
  Version = 0;
  BackColor = 0;
  BaseOpaque = false;
  try {
    LayeredImageReader(*this, stream).Read(selection, preparation);
  } catch (const EOrvaError&) {
    Clear();
    throw;
  }
}

void TMosaFrameList::LoadFromBytes(std::span<const uint8_t> bytes, FrameSelection selection,
                                   Preparation preparation) {
  ByteReader stream(bytes);
  LoadFromStream(stream, selection, preparation);
}

}  // namespace orva
