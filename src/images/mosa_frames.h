#pragma once
// The layered image: a list of frames (for animations), each a stack of layers composed into one
// picture with an optional alpha channel. Files carry the signature "Mosa" and a version; the
// pixel data may be zlib-compressed, raw or JPEG, cut into tiles and scrambled with a key.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/byte_reader.h"
#include "core/limits.h"
#include "core/obj_list.h"
#include "core/rect.h"
#include "render/dib_surface.h"

namespace orva {

class TMosaFrame;
class TVrFileManager;

enum class FrameSelection { All, FirstOnly };
enum class Preparation { None, Prepare };

// The compression kind stored in the header.
enum class MosaCompression : int32_t { Default = 0, None = 1, Nonreversible = 2 };

class TMosaLayer {
 public:
  explicit TMosaLayer(TMosaFrame* frame) : Frame(frame) {}

  TMosaFrame* Frame;
  TDIBSurface Picture;
  bool Visible = true;
  int32_t TransparentValue = -1;
  int32_t Opacity = 255;
  bool UseAlpha = false;
  // False when the layer stored no colour data: it then draws nothing.
  bool HasColor = false;
};

class TMosaFrame {
 public:
  std::string Name;
  int32_t Delay = 100;
  int32_t TransparentValue = -1;
  int32_t TransparentColor = -1;
  TDIBSurface Picture;
  std::vector<TRect> Regions;
  std::vector<TRect> Regions2;
  // Only while the file is being read.
  TObjList<TMosaLayer> Layers;
};

class TMosaFrameList {
 public:
  explicit TMosaFrameList(int32_t key = 0) : Key(key) {}

  int32_t Version = 0;
  uint32_t BackColor = 0;
  int32_t TargetBitCount = 0;
  int32_t Key;
  bool BaseOpaque = false;

  int Count() const { return frames_.Count(); }
  TMosaFrame* Frame(int index) const { return frames_[index]; }
  TMosaFrame* operator[](int index) const { return frames_[index]; }
  void Clear() { frames_.Clear(); }
  TMosaFrame* AddFrame();

  // Reads a layered image from the reader's position. Raises EOrvaError on damaged data; the list
  // is then empty.
  void LoadFromStream(ByteReader& stream, FrameSelection selection = FrameSelection::All,
                      Preparation preparation = Preparation::None);
  void LoadFromBytes(std::span<const uint8_t> bytes, FrameSelection selection = FrameSelection::All,
                     Preparation preparation = Preparation::None);
  // By the name's lower-cased extension: ".mos" as above, ".png" and ".bmp"/".dib" into one frame;
  // anything else reads nothing and returns false. Bytes are the file's contents.
  bool LoadFromFileBytes(const std::string& name, std::span<const uint8_t> bytes,
                         FrameSelection selection = FrameSelection::All,
                         Preparation preparation = Preparation::None);
  // The same for a file on the local disk. Raises EOrvaError when it cannot be read.
  bool LoadFromFile(const std::string& path, FrameSelection selection = FrameSelection::All,
                    Preparation preparation = Preparation::None);

  // The same for a file of the title, found by the virtual file manager.
  bool LoadFromFileManager(TVrFileManager& files, const std::string& name,
                           FrameSelection selection = FrameSelection::All,
                           Preparation preparation = Preparation::None);

  // The file bytes of the list as the writer stores them.
  std::string SaveToBytes(MosaCompression compression, int32_t quality) const;
  // Writes the file through a temporary file renamed over path.
  void SaveToFile(const std::string& path, MosaCompression compression, int32_t quality) const;

  // Every frame without alpha channel gets one filled with 255, then 0 where the pixel equals the
  // frame's transparent value.
  void KeyToAlpha();
  // Crops a frame to its visible part; kept is the kept rectangle in the old coordinates.
  void Trim(int frame, TRect& kept);
  // Readies a frame for display (alpha from the transparent value, bit count conversion).
  void PrepareFrame(TMosaFrame& frame) const;

  // Caps the pixels a load may allocate for layers and frames together (hostile-input testing).
  void SetPixelBudget(int64_t pixels) { pixel_budget_ = pixels; }
  int64_t PixelBudget() const { return pixel_budget_; }

 private:
  TObjList<TMosaFrame> frames_;
  int64_t pixel_budget_ = limits::kMaxLayeredImagePixels;
};

// The frame's picture gets an alpha channel of 255 where it has none, 0 where the pixel equals the
// frame's transparent value.
void FrameKeyToAlpha(TMosaFrame& frame);

}  // namespace orva
