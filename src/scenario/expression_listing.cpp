#include "scenario/expression_listing.h"

#include <cstdio>
#include <map>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/error.h"
#include "script/build_parser.h"
#include "script/function_table.h"
#include "script/opcodes.h"
#include "script/orva_parser.h"
#include "script/param.h"
#include "script/param_var.h"
#include "script/value_type.h"

namespace orva {
namespace {

// Binding strength of the operators, as the compiler orders them: lower binds tighter.
int LevelOf(uint8_t opcode) {
  switch (opcode) {
    case ocMul: case ocDiv: case ocMod: return 1;
    case ocPlus: case ocMinus: return 2;
    case ocShiftL: case ocShiftR: return 3;
    case ocEqual: case ocBig: case ocSmall: case ocEBig: case ocESmall: case ocNEqual: return 4;
    case ocComboStr: return 5;
    case ocAnd: return 6;
    case ocXor: return 7;
    case ocOr: return 8;
    default: return 0;
  }
}

struct Piece {
  std::string text;
  int level = 0;  // 0: a single token, never needs parentheses
};

std::string QuoteString(const std::string& s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
      out += "\\n";
      ++i;
    } else if (s[i] == '"' || s[i] == '\\') {
      out += '\\';
      out += s[i];
    } else {
      out += s[i];
    }
  }
  return out + "\"";
}

std::string LiteralText(const TCustomParam& value, uint8_t tag) {
  switch (tag) {
    case PT_INT: return std::to_string(value.GetInt());
    case PT_FLOAT: {
      char text[64];
      std::snprintf(text, sizeof(text), "%.21Lg", value.GetFloat());
      std::string s = text;
      // A real literal must not read as an integer.
      if (s.find_first_of(".eE") == std::string::npos) s += ".0";
      return s;
    }
    case PT_BOOL: return value.GetBool() ? "TRUE" : "FALSE";
    default: return QuoteString(value.GetStr());
  }
}

bool IsZeroLiteral(const TOpeData& op) {
  const uint8_t tag = !op.read_tags.empty() ? op.read_tags[0] : op.operands[0]->VarType();
  return tag == PT_INT && !op.operands[0]->IsReference() && op.operands[0]->GetInt() == 0;
}

// What the text of one record may cost to build, in characters written. A text that compiles
// back to its record is a few characters per stored byte, and building it pays for each
// temporary once more in every piece that holds it; a damaged record whose temporaries use each
// other over and over would otherwise grow without bound. The fixed part stays small so that a
// page of many such records is still listed quickly.
class TextBudget {
 public:
  explicit TextBudget(size_t record_size) : left_(int64_t{64} * 1024) { left_ += 16 * static_cast<int64_t>(record_size); }
  // Counts characters written; false once the budget is spent.
  bool Charge(size_t characters) {
    left_ -= static_cast<int64_t>(characters);
    return left_ >= 0;
  }
  // Appends piece to text; false once the budget is spent.
  bool Append(std::string& text, std::string_view piece) {
    if (!Charge(piece.size())) return false;
    text += piece;
    return true;
  }

 private:
  int64_t left_;
};

std::optional<std::string> Reconstruct(const TOrvaParser& parser, size_t record_size) {
  TextBudget budget(record_size);
  std::map<std::string, Piece> temps;
  std::optional<std::string> result;
  auto operand = [&](const TOpeData& op, size_t k) -> Piece {
    const TCustomParam& value = *op.operands[k];
    const uint8_t tag = k < op.read_tags.size() ? op.read_tags[k] : value.VarType();
    if (tag >= PT_INT && tag <= PT_STR) return {LiteralText(value, tag), 0};
    if (!value.IsReference()) return {LiteralText(value, value.VarType()), 0};
    const std::string& name = static_cast<const TParamVar&>(value).Name();
    auto it = temps.find(name);
    if (it != temps.end()) return it->second;
    return {name, 0};
  };
  for (int i = 0; i < parser.Count(); ++i) {
    if (result) return std::nullopt;  // nothing follows the final assignment
    const TOpeData& op = parser.Operation(i);
    // An assignment to an element reference writes through it; other temporaries hold pieces.
    const bool to_element = op.opcode == ocTo && op.dest.rfind(kElementTempPrefix, 0) == 0;
    const bool to_temp = op.dest.rfind(kTempPrefix, 0) == 0 && op.dest != kResultTemp && !to_element;
    Piece piece;
    if (op.opcode == ocTo) {
      if (op.operands.size() != 1) return std::nullopt;
      piece = operand(op, 0);
    } else if (op.opcode == ocDimTo) {
      if (op.operands.empty()) return std::nullopt;
      std::string text;
      if (!budget.Append(text, operand(op, 0).text) || !budget.Append(text, "[")) return std::nullopt;
      for (size_t k = 1; k < op.operands.size(); ++k) {
        if (!budget.Append(text, k > 1 ? ", " : "") || !budget.Append(text, operand(op, k).text)) return std::nullopt;
      }
      piece = {text + "]", 0};
    } else if (op.opcode == ocFunc) {
      const FunctionInfo* info = FunctionById(op.func_id);
      if (info == nullptr) return std::nullopt;
      std::string text = std::string(info->name) + "(";
      for (size_t k = 0; k < op.operands.size(); ++k) {
        if (!budget.Append(text, k ? ", " : "") || !budget.Append(text, operand(op, k).text)) return std::nullopt;
      }
      piece = {text + ")", 0};
    } else if (op.opcode == ocMinus && op.operands.size() == 2 && IsZeroLiteral(op) && operand(op, 1).level == 0) {
      // A sign: the compiler turns "-x" after an operator into 0 - x.
      piece = {"-" + operand(op, 1).text, 0};
    } else if (LevelOf(op.opcode) > 0 && op.operands.size() == 2) {
      const int level = LevelOf(op.opcode);
      Piece a = operand(op, 0);
      Piece b = operand(op, 1);
      if (a.level > level) a.text = "(" + a.text + ")";
      if (b.level >= level) b.text = "(" + b.text + ")";
      std::string text;
      if (!budget.Append(text, a.text) || !budget.Append(text, " ") || !budget.Append(text, OpcodeSymbol(op.opcode)) ||
          !budget.Append(text, " ") || !budget.Append(text, b.text)) {
        return std::nullopt;
      }
      piece = {std::move(text), level};
    } else {
      return std::nullopt;
    }
    // Every piece kept is a copy of its operands: a chain of copies is paid for as well.
    if (!budget.Charge(piece.text.size())) return std::nullopt;
    if (to_temp) {
      temps[op.dest] = piece;
    } else if (op.dest == kResultTemp && op.opcode == ocTo) {
      result = piece.text;
    } else {
      auto target = temps.find(op.dest);
      const std::string dest = target != temps.end() ? target->second.text : op.dest;
      result = dest + " = " + piece.text;
    }
  }
  return result;
}

}  // namespace

std::string ExpressionTextToRecord(std::string_view text) {
  ByteWriter writer;
  if (text.empty()) {
    writer.I32(0);
    return writer.Take();
  }
  TBuildOrvaParser compiler;
  compiler.Compile(text);
  compiler.SaveTo(writer);
  return writer.Take();
}

std::optional<std::string> ExpressionRecordToText(std::string_view record) {
  TOrvaParser parser;
  try {
    ByteReader reader(record);
    parser.LoadFrom(reader);
    if (!reader.AtEnd()) return std::nullopt;
  } catch (const EOrvaError&) {
    return std::nullopt;
  }
  if (parser.Count() == 0) return record.size() == 4 ? std::optional<std::string>("") : std::nullopt;
  const std::optional<std::string> text = Reconstruct(parser, record.size());
  if (!text || text->empty()) return std::nullopt;
  try {
    if (ExpressionTextToRecord(*text) == record) return text;
  } catch (const EOrvaError&) {
  }
  return std::nullopt;
}

}  // namespace orva
