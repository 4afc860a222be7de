#include "scenario/command_table.h"

#include <array>

namespace orva {
namespace {

using K = FieldKind;

constexpr FieldLayout kNone[] = {{"", K::kByte, 0}};
constexpr std::span<const FieldLayout> kNoFields(kNone, 0);

constexpr FieldLayout kCondition[] = {{"Condition", K::kExpression, 0}};
constexpr FieldLayout kName[] = {{"Name", K::kString, 0}};
constexpr FieldLayout kText[] = {{"Text", K::kString, 0}};
constexpr FieldLayout kJump[] = {{"Page", K::kString, 0}, {"Target", K::kInt32, 0}, {"Condition", K::kExpression, 0}};
constexpr FieldLayout kCall[] = {{"Page", K::kString, 0},         {"Target", K::kInt32, 0},
                               {"ResultVar", K::kString, 0},    {"Condition", K::kExpression, 0},
                               {"Args", K::kExpressionList, 0}};
constexpr FieldLayout kWait[] = {{"Condition", K::kExpression, 0}, {"Time", K::kExpression, 0},
                               {"NoEvents", K::kExpression, 107}};
constexpr FieldLayout kProperties[] = {{"Properties", K::kPropertyBlock, 0}};
constexpr FieldLayout kFlip[] = {{"Transition", K::kExpression, 0}, {"Time", K::kExpression, 0},
                               {"Reverse", K::kExpression, 0},    {"SelectMode", K::kExpression, 0},
                               {"Names", K::kExpressionList, 0},  {"DeleteOld", K::kExpression, 0},
                               {"Param1", K::kExpression, 0},     {"Param2", K::kExpression, 0},
                               {"Mask", K::kExpression, 101},     {"NoEvents", K::kExpression, 107}};
constexpr FieldLayout kExpressionOnly[] = {{"Expression", K::kExpression, 0}};
constexpr FieldLayout kVarNew[] = {{"Name", K::kString, 0}, {"Type", K::kByte, 0}, {"Init", K::kExpression, 0},
                                 {"Scope", K::kByte, 0}};
constexpr FieldLayout kGetProp[] = {{"Component", K::kExpression, 0}, {"Property", K::kExpression, 0},
                                  {"Variable", K::kString, 0}};
constexpr FieldLayout kSetProp[] = {{"Component", K::kExpression, 0}, {"Property", K::kExpression, 0},
                                  {"Value", K::kExpression, 0}};
constexpr FieldLayout kComponent[] = {{"Component", K::kExpression, 0}};
constexpr FieldLayout kTextIns[] = {{"Text", K::kGlyphStream, 0}, {"Target", K::kExpression, 0},
                                  {"Read", K::kExpression, 0},  {"Wait", K::kExpression, 0},
                                  {"NoEvents", K::kExpression, 107}};
constexpr FieldLayout kMovieStop[] = {{"Target", K::kExpression, 0}, {"Time", K::kExpression, 0},
                                    {"Wait", K::kExpression, 0}, {"NoEvents", K::kExpression, 107}};
constexpr FieldLayout kTarget[] = {{"Target", K::kExpression, 0}};
constexpr FieldLayout kCallHist[] = {{"Target", K::kExpression, 0}, {"Start", K::kExpression, 0},
                                   {"Count", K::kExpression, 0}, {"Flag", K::kExpression, 0}};
constexpr FieldLayout kWhile[] = {{"Condition", K::kExpression, 0}, {"End", K::kInt32, 0}};
constexpr FieldLayout kWhileLoop[] = {{"Expression", K::kExpression, 0}, {"Target", K::kInt32, 0}};
constexpr FieldLayout kBreak[] = {{"Condition", K::kExpression, 0}, {"Target", K::kInt32, 0}};
constexpr FieldLayout kGameSave[] = {{"Slot", K::kExpression, 0}, {"Page", K::kString, 0},
                                   {"Value", K::kInt32, 105}, {"Caption", K::kExpression, 0}};
constexpr FieldLayout kGameLoad[] = {{"Slot", K::kExpression, 0}};
constexpr FieldLayout kPCReset[] = {{"Page", K::kString, 0}, {"Target", K::kInt32, 0}, {"All", K::kFlag, 0}};
constexpr FieldLayout kPropMotion[] = {{"Name", K::kExpression, 0},     {"Target", K::kExpression, 0},
                                     {"Property", K::kExpression, 0}, {"EndValue", K::kExpression, 0},
                                     {"Duration", K::kExpression, 0}, {"Curve", K::kExpression, 0},
                                     {"Paused", K::kExpression, 108}};
constexpr FieldLayout kFormatHist[] = {{"Source", K::kExpression, 0}};
constexpr FieldLayout kCabinet[] = {{"Properties", K::kPropertyBlock, 0}, {"Invert", K::kExpression, 0},
                                  {"Names", K::kExpressionList, 0}};

const std::array<CommandLayout, kCommandTypeCount> kCommands = {{
    {0, "If", "IF", kCondition},
    {1, "Elseif", "ELSE IF", kCondition},
    {2, "Else", "ELSE", kNoFields},
    {3, "Label", "ラベル", kName},
    {4, "Jump", "ジャンプ", kJump},
    {5, "Call", "コール", kCall},
    {6, "Exit", "リターン", kCondition},
    {7, "Wait", "ウエイト", kWait},
    {8, "BoxNew", "矩形サーフェス作成", kProperties},
    {9, "ImgNew", "画像サーフェス作成", kProperties},
    {10, "MesNew", "メッセージボックス作成", kProperties},
    {11, "Timer", "タイマー", kProperties},
    {12, "Movie", "ムービー再生", kProperties},
    {13, "Flip", "フリップ", kFlip},
    {14, "Calc", "計算", kExpressionOnly},
    {15, "VarNew", "変数作成", kVarNew},
    {16, "VarDel", "変数削除", kName},
    {17, "GetProp", "プロパティ取得", kGetProp},
    {18, "SetProp", "プロパティ設定", kSetProp},
    {19, "ObjDel", "コンポーネント削除", kComponent},
    {20, "TextIns", "テキスト挿入", kTextIns},
    {21, "MovieStop", "メディア停止", kMovieStop},
    {22, "ClrHist", "履歴クリア", kNoFields},
    {23, "Cinema", "シネマサーフェス作成", kProperties},
    {24, "Caption", "キャプション作成", kProperties},
    {25, "Menu", "メニュー作成", kProperties},
    {26, "MenuClose", "メニュークローズ", kTarget},
    {27, "Comment", "コメント", kText},
    {28, "TextClr", "テキストクリア", kTarget},
    {29, "CallHist", "履歴呼出", kCallHist},
    {30, "Button", "ボタン作成", kProperties},
    {31, "While", "ループ", kWhile},
    {32, "WhileInit", "ループ初期化", kExpressionOnly},
    {33, "WhileLoop", "ループ再初期化", kWhileLoop},
    {34, "Break", "ループ脱出", kBreak},
    {35, "Continue", "ループ先頭へ", kBreak},
    {36, "ParticleNew", "パーティクルサーフェス作成", kProperties},
    {37, "FireNew", "炎サーフェス作成", kProperties},
    {38, "GameSave", "ゲームセーブ", kGameSave},
    {39, "GameLoad", "ゲームロード", kGameLoad},
    {40, "PCReset", "PCリセット", kPCReset},
    {41, "Reset", "リセット", kPCReset},
    {42, "Sound", "サウンド再生", kProperties},
    {43, "EditNew", "エディット作成", kProperties},
    {44, "MemoNew", "メモ作成", kProperties},
    {45, "Terminate", "終了", kNoFields},
    {46, "DoEvent", "DoEvent", kNoFields},
    {47, "ClrRead", "既読クリア", kNoFields},
    {48, "MapImgNew", "選択画像作成", kProperties},
    {49, "WaveNew", "ウエーブサーフェス作成", kProperties},
    {50, "TileNew", "タイルサーフェス作成", kProperties},
    {51, "SliderNew", "スライダー作成", kProperties},
    {52, "ScrollbarNew", "スクロールバー作成", kProperties},
    {53, "GaugeNew", "ゲージ作成", kProperties},
    {54, "CGCaption", "画像キャプション作成", kProperties},
    {55, "MediaPlay", "メディア再生", kTarget},
    {56, "PrevMenuNew", "プレビューメニュー作成", kProperties},
    {57, "PropMotion", "プロパティモーション", kPropMotion},
    {58, "FormatHist", "履歴書式登録", kFormatHist},
    {59, "SaveCabinet", "キャビネット保存", kCabinet},
    {60, "LoadCabinet", "キャビネット復帰", kCabinet},
}};

}  // namespace

const CommandLayout* FindCommandLayout(uint8_t id) {
  if (id >= kCommands.size()) return nullptr;
  return &kCommands[id];
}

const CommandLayout* FindCommandLayoutByName(std::string_view name) {
  for (const CommandLayout& layout : kCommands) {
    if (layout.name == name) return &layout;
  }
  return nullptr;
}

}  // namespace orva
