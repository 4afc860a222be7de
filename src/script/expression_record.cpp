// The stream record of a compiled expression, and copying one.

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/orva_parser.h"
#include "script/param_types.h"
#include "script/param_var.h"

namespace orva {

std::string_view OpcodeIdentifier(uint8_t code) {
  static constexpr std::string_view kNames[] = {
      "ocNone", "ocTo", "ocPlus", "ocMinus", "ocMul", "ocDiv", "ocMod", "ocOr", "ocAnd", "ocXor", "ocDimTo",
      "ocFunc", "ocEqual", "ocBig", "ocSmall", "ocEBig", "ocESmall", "ocShiftL", "ocShiftR", "ocComboStr",
      "ocNEqual"};
  return code <= kLastOpcode ? kNames[code] : std::string_view();
}

std::string_view OpcodeSymbol(uint8_t code) {
  static constexpr std::string_view kSymbols[] = {"",   "=",  "+",  "-",  "*",  "/",  "%",
                                                  "|",  "&",  "^",  "dim", "",  "==", ">",
                                                  "<",  ">=", "<=", "<<", ">>", "++", "<>"};
  return code <= kLastOpcode ? kSymbols[code] : std::string_view();
}

namespace {

// The smallest records: an operation without operands (opcode, empty Dest, count) and a flag operand.
constexpr size_t kSmallestOperation = 1 + 4 + 4;
constexpr size_t kSmallestOperand = 2;

std::unique_ptr<TCustomParam> ReadOperand(ByteReader& reader, uint8_t tag) {
  switch (tag) {
    case PT_INT: {
      auto v = std::make_unique<TParamInt>();
      v->Elements()[0] = reader.I32();
      return v;
    }
    case PT_FLOAT: {
      auto v = std::make_unique<TParamFloat>();
      v->Elements()[0] = reader.Extended();
      return v;
    }
    case PT_BOOL: {
      auto v = std::make_unique<TParamFlag>();
      v->Elements()[0] = reader.U8();
      return v;
    }
    case PT_STR: {
      auto v = std::make_unique<TParamStr>();
      v->Elements()[0] = reader.String();
      return v;
    }
    default:
      return std::make_unique<TParamVar>(reader.String());
  }
}

void WriteOperand(ByteWriter& writer, const TCustomParam& operand) {
  if (const auto* ref = dynamic_cast<const TParamVar*>(&operand)) {
    // Between evaluations a reference has no target: its tag is 0.
    writer.U8(PT_NONE);
    writer.String(ref->Name());
    return;
  }
  const uint8_t type = operand.VarType();
  writer.U8(type);
  switch (type) {
    case PT_INT: writer.I32(operand.GetInt()); break;
    case PT_FLOAT: writer.Extended(operand.GetFloat()); break;
    case PT_BOOL: {
      const auto* flag = dynamic_cast<const TParamFlag*>(&operand);
      writer.U8(flag != nullptr && !flag->Elements().empty() ? flag->Elements()[0] : (operand.GetBool() ? 1 : 0));
      break;
    }
    default: writer.String(operand.GetStr()); break;
  }
}

std::unique_ptr<TCustomParam> CopyOperand(const TCustomParam& operand) {
  if (const auto* ref = dynamic_cast<const TParamVar*>(&operand)) return std::make_unique<TParamVar>(ref->Name());
  std::unique_ptr<TCustomParam> copy = NewParam(operand.VarType());
  copy->Assign(operand);
  return copy;
}

}  // namespace

void TOrvaParser::LoadFrom(ByteReader& reader) {
  Clear();
  const int32_t count = reader.Count(kSmallestOperation);
  std::vector<TOpeData> operations;
  operations.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    TOpeData op;
    op.opcode = reader.U8();
    op.dest = reader.String();
    const int32_t n = reader.Count(kSmallestOperand);
    if (op.opcode == ocFunc) op.func_id = reader.U8();
    op.operands.reserve(static_cast<size_t>(n));
    op.read_tags.reserve(static_cast<size_t>(n));
    for (int32_t k = 0; k < n; ++k) {
      const uint8_t tag = reader.U8();
      op.read_tags.push_back(tag);
      op.operands.push_back(ReadOperand(reader, tag));
    }
    operations.push_back(std::move(op));
  }
  operations_ = std::move(operations);
}

void TOrvaParser::SaveTo(ByteWriter& writer) const {
  writer.I32(static_cast<int32_t>(operations_.size()));
  for (const TOpeData& op : operations_) {
    writer.U8(op.opcode);
    writer.String(op.dest);
    writer.I32(static_cast<int32_t>(op.operands.size()));
    if (op.opcode == ocFunc) writer.U8(op.func_id);
    for (const auto& operand : op.operands) WriteOperand(writer, *operand);
  }
}

void TOrvaParser::Clone(const TOrvaParser& other) {
  if (&other == this) return;
  Clear();
  for (const TOpeData& source : other.operations_) {
    TOpeData op;
    op.opcode = source.opcode;
    op.dest = source.dest;
    op.func_id = source.func_id;
    for (const auto& operand : source.operands) op.operands.push_back(CopyOperand(*operand));
    operations_.push_back(std::move(op));
  }
}

}  // namespace orva
