#pragma once
// The command types of a scenario page: id, name, display name and the fields each record holds
// after the common part. Reading, writing, listing and assembling pages are all driven by this
// one table, so a command's stored form is written down exactly once.

#include <cstdint>
#include <span>
#include <string_view>

namespace orva {

enum class FieldKind : uint8_t {
  kExpression,      // one compiled expression record
  kString,          // string record
  kInt32,           // signed 32-bit
  kByte,            // one byte
  kFlag,            // one byte, 0 or 1
  kExpressionList,  // signed 32-bit count, then that many expression records
  kPropertyBlock,   // one expression per property id set in the page's set for this type
  kGlyphStream,     // signed 32-bit byte count, then the bytes of a compiled glyph stream
};

struct FieldLayout {
  std::string_view name;
  FieldKind kind;
  int32_t min_version;  // the field exists in pages of this version and later
};

struct CommandLayout {
  uint8_t id;
  std::string_view name;          // as in the name table ("If", "Jump", ...)
  std::string_view display_name;  // UTF-8 ("IF", "ジャンプ", ...)
  std::span<const FieldLayout> fields;
};

inline constexpr int kCommandTypeCount = 61;

// The entry of an id 0..60 (after masking the type byte with 0x7F); nullptr for any other id.
const CommandLayout* FindCommandLayout(uint8_t id);
// By name, exactly as in the table; nullptr when none.
const CommandLayout* FindCommandLayoutByName(std::string_view name);

namespace command_id {
inline constexpr uint8_t kIf = 0, kElseif = 1, kElse = 2, kLabel = 3, kJump = 4, kCall = 5, kExit = 6,
                         kWait = 7, kBoxNew = 8, kImgNew = 9, kMesNew = 10, kTimer = 11, kMovie = 12,
                         kFlip = 13, kCalc = 14, kVarNew = 15, kVarDel = 16, kGetProp = 17, kSetProp = 18,
                         kObjDel = 19, kTextIns = 20, kMovieStop = 21, kClrHist = 22, kCinema = 23,
                         kCaption = 24, kMenu = 25, kMenuClose = 26, kComment = 27, kTextClr = 28,
                         kCallHist = 29, kButton = 30, kWhile = 31, kWhileInit = 32, kWhileLoop = 33,
                         kBreak = 34, kContinue = 35, kParticleNew = 36, kFireNew = 37, kGameSave = 38,
                         kGameLoad = 39, kPCReset = 40, kReset = 41, kSound = 42, kEditNew = 43,
                         kMemoNew = 44, kTerminate = 45, kDoEvent = 46, kClrRead = 47, kMapImgNew = 48,
                         kWaveNew = 49, kTileNew = 50, kSliderNew = 51, kScrollbarNew = 52, kGaugeNew = 53,
                         kCGCaption = 54, kMediaPlay = 55, kPrevMenuNew = 56, kPropMotion = 57,
                         kFormatHist = 58, kSaveCabinet = 59, kLoadCabinet = 60;
}  // namespace command_id

}  // namespace orva
