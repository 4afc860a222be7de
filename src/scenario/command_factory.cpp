#include "scenario/command_factory.h"

#include <array>

#include "core/error.h"
#include "scenario/flow_commands.h"
#include "scenario/run_commands.h"

namespace orva {
namespace {

using Factory = std::unique_ptr<TCommand> (*)(TPage*, CommandRecord);

template <typename Command>
std::unique_ptr<TCommand> Make(TPage* page, CommandRecord record) {
  return std::make_unique<Command>(page, std::move(record));
}

// One row per command type. Types whose work belongs to the scene, the media or the text
// (components, flips, history) are plain commands here: they advance and do nothing else
// until those parts of the player provide them.
constexpr std::array<Factory, kCommandTypeCount> kFactories = {
    Make<TComIf>,          // 0 If
    Make<TComElseif>,      // 1 Elseif
    Make<TComElse>,        // 2 Else
    Make<TComLabel>,       // 3 Label
    Make<TComJump>,        // 4 Jump
    Make<TComCall>,        // 5 Call
    Make<TComExit>,        // 6 Exit
    Make<TComWait>,        // 7 Wait
    Make<TCommand>,        // 8 BoxNew
    Make<TCommand>,        // 9 ImgNew
    Make<TCommand>,        // 10 MesNew
    Make<TCommand>,        // 11 Timer
    Make<TCommand>,        // 12 Movie
    Make<TCommand>,        // 13 Flip
    Make<TComCalc>,        // 14 Calc
    Make<TComVarNew>,      // 15 VarNew
    Make<TComVarDel>,      // 16 VarDel
    Make<TCommand>,        // 17 GetProp
    Make<TCommand>,        // 18 SetProp
    Make<TCommand>,        // 19 ObjDel
    Make<TCommand>,        // 20 TextIns
    Make<TCommand>,        // 21 MovieStop
    Make<TCommand>,        // 22 ClrHist
    Make<TCommand>,        // 23 Cinema
    Make<TCommand>,        // 24 Caption
    Make<TCommand>,        // 25 Menu
    Make<TCommand>,        // 26 MenuClose
    Make<TComComment>,     // 27 Comment
    Make<TCommand>,        // 28 TextClr
    Make<TCommand>,        // 29 CallHist
    Make<TCommand>,        // 30 Button
    Make<TComWhile>,       // 31 While
    Make<TComWhileInit>,   // 32 WhileInit
    Make<TComWhileLoop>,   // 33 WhileLoop
    Make<TComBreak>,       // 34 Break
    Make<TComContinue>,    // 35 Continue
    Make<TCommand>,        // 36 ParticleNew
    Make<TCommand>,        // 37 FireNew
    Make<TComGameSave>,    // 38 GameSave
    Make<TComGameLoad>,    // 39 GameLoad
    Make<TComPCReset>,     // 40 PCReset
    Make<TComReset>,       // 41 Reset
    Make<TCommand>,        // 42 Sound
    Make<TCommand>,        // 43 EditNew
    Make<TCommand>,        // 44 MemoNew
    Make<TComTerminate>,   // 45 Terminate
    Make<TComDoEvent>,     // 46 DoEvent
    Make<TCommand>,        // 47 ClrRead
    Make<TCommand>,        // 48 MapImgNew
    Make<TCommand>,        // 49 WaveNew
    Make<TCommand>,        // 50 TileNew
    Make<TCommand>,        // 51 SliderNew
    Make<TCommand>,        // 52 ScrollbarNew
    Make<TCommand>,        // 53 GaugeNew
    Make<TCommand>,        // 54 CGCaption
    Make<TCommand>,        // 55 MediaPlay
    Make<TCommand>,        // 56 PrevMenuNew
    Make<TCommand>,        // 57 PropMotion
    Make<TCommand>,        // 58 FormatHist
    Make<TCommand>,        // 59 SaveCabinet
    Make<TCommand>,        // 60 LoadCabinet
};

}  // namespace

std::unique_ptr<TCommand> CreateCommand(TPage* page, CommandRecord record) {
  const uint8_t id = record.TypeId();
  if (id >= kFactories.size()) throw EOrvaError("不正なコマンド");
  return kFactories[id](page, std::move(record));
}

}  // namespace orva
