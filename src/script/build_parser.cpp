#include "script/build_parser.h"

#include <optional>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/encoding.h"
#include "core/error.h"
#include "core/limits.h"
#include "core/sjis.h"
#include "script/function_table.h"
#include "script/opcodes.h"
#include "script/orva_parser.h"
#include "script/value_text.h"

namespace orva {
namespace {

constexpr std::string_view kOperatorChars = "+-*/%|&^=[](),<>";
constexpr std::string_view kTokenOperatorChars = "%&*+-/<=>^|";

[[noreturn]] void SyntaxError() { throw EOrvaError("構文エラー"); }

bool IsBlank(char c) { return static_cast<uint8_t>(c) <= 0x20; }
bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
bool IsOperatorChar(char c) { return kOperatorChars.find(c) != std::string_view::npos; }

// Which bytes are second bytes of double-byte characters: they never count as the ASCII
// characters they look like (the second byte of "ー" is "[").
std::vector<bool> TrailMask(std::string_view text) {
  std::vector<bool> trail(text.size(), false);
  for (size_t i = 0; i < text.size(); i += sjis::CharLengthAt(text, i))
    if (sjis::CharLengthAt(text, i) == 2) trail[i + 1] = true;
  return trail;
}

// Single-byte character c at i.
bool CharIs(std::string_view text, const std::vector<bool>& trail, size_t i, char c) {
  return text[i] == c && !trail[i];
}

bool HasOperatorChar(std::string_view text) {
  const std::vector<bool> trail = TrailMask(text);
  for (size_t i = 0; i < text.size(); ++i)
    if (!trail[i] && IsOperatorChar(text[i])) return true;
  return false;
}

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

// The position of the parenthesis (or bracket) closing the one at open, if any.
std::optional<size_t> Matching(std::string_view text, const std::vector<bool>& trail, size_t open, char opening,
                               char closing) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (trail[i]) continue;
    if (text[i] == opening) ++depth;
    else if (text[i] == closing && --depth == 0) return i;
  }
  return std::nullopt;
}

// The position of the last non-blank byte before i, if any.
std::optional<size_t> PreviousNonBlank(std::string_view text, size_t i) {
  while (i > 0) {
    --i;
    if (!IsBlank(text[i])) return i;
  }
  return std::nullopt;
}

bool IsOperatorToken(std::string_view token) {
  return !token.empty() && kTokenOperatorChars.find(token[0]) != std::string_view::npos;
}

// Tokens that may not stand before a binary operator, or before a sign.
bool BeginsWithAny(std::string_view token, std::string_view chars) {
  return !token.empty() && chars.find(token[0]) != std::string_view::npos;
}

struct OperatorInfo {
  std::string_view token;
  uint8_t opcode;
  int level;
};

constexpr OperatorInfo kOperators[] = {
    {"*", ocMul, 1},     {"/", ocDiv, 1},      {"%", ocMod, 1},     {"+", ocPlus, 2},   {"-", ocMinus, 2},
    {"<<", ocShiftL, 3}, {">>", ocShiftR, 3},  {"==", ocEqual, 4},  {">=", ocEBig, 4},  {"<=", ocESmall, 4},
    {">", ocBig, 4},     {"<", ocSmall, 4},    {"<>", ocNEqual, 4}, {"++", ocComboStr, 5}, {"&", ocAnd, 6},
    {"^", ocXor, 7},     {"|", ocOr, 8},       {"=", ocTo, 9},
};

const OperatorInfo* FindOperator(std::string_view token) {
  for (const OperatorInfo& info : kOperators)
    if (info.token == token) return &info;
  return nullptr;
}

bool IsTemp(std::string_view name) { return name.substr(0, kTempPrefix.size()) == kTempPrefix; }
bool IsElementTemp(std::string_view name) { return name.substr(0, kElementTempPrefix.size()) == kElementTempPrefix; }

}  // namespace

void TBuildOrvaParser::Clear() {
  operations_.clear();
  counter_ = 0;
}

std::string TBuildOrvaParser::NewTemp() { return std::string(kTempPrefix) + std::to_string(counter_++); }

std::string TBuildOrvaParser::NewElementTemp() {
  return std::string(kElementTempPrefix) + std::to_string(counter_++);
}

void TBuildOrvaParser::Compile(std::string_view text) {
  counter_ = 0;
  CompileText(ReplaceStringLiterals(std::string(text)), 0);
  RemoveCopies();
}

void TBuildOrvaParser::CompileAssignment(const std::string& dest, const std::string& text, int depth) {
  CompileText(dest + "=" + text, depth + 1);
}

void TBuildOrvaParser::CompileText(std::string text, int depth) {
  if (depth > limits::kMaxNestingDepth) throw EOrvaError("式の入れ子が深すぎます");
  text = ReplaceCalls(std::move(text), depth);
  text = ReplaceSubscripts(std::move(text), depth);
  text = ReplaceGroups(std::move(text), depth);
  CompileTokens(text);
}

// Leftmost first; \" and \\ stand for the second character, \n for a line break.
std::string TBuildOrvaParser::ReplaceStringLiterals(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t len = sjis::CharLengthAt(text, i);
    if (len == 2 || text[i] != '"') {
      out.append(text, i, len);
      i += len;
      continue;
    }
    std::string literal = "\"";
    size_t j = i + 1;
    bool closed = false;
    while (j < text.size()) {
      const size_t clen = sjis::CharLengthAt(text, j);
      if (clen == 2) {
        literal.append(text, j, 2);
        j += 2;
      } else if (text[j] == '\\' && j + 1 < text.size() && (text[j + 1] == '"' || text[j + 1] == '\\')) {
        literal.push_back(text[j + 1]);
        j += 2;
      } else if (text[j] == '\\' && j + 1 < text.size() && text[j + 1] == 'n') {
        literal.append("\r\n");
        j += 2;
      } else if (text[j] == '"') {
        closed = true;
        break;
      } else {
        literal.push_back(text[j]);
        ++j;
      }
    }
    if (!closed) SyntaxError();
    literal.push_back('"');
    const std::string temp = NewTemp();
    operations_.push_back({ocTo, temp, {std::move(literal)}});
    out += temp;
    i = j + 1;
  }
  return out;
}

// Trims, strips enclosing parentheses, and compiles an argument or index that is an expression
// of its own into a temporary, whose name it returns.
std::string TBuildOrvaParser::CompileArgument(std::string text, int depth) {
  text = Trim(text);
  while (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    const std::vector<bool> trail = TrailMask(text);
    if (trail.back()) break;
    const auto close = Matching(text, trail, 0, '(', ')');
    if (!close || *close != text.size() - 1) break;
    text = Trim(std::string_view(text).substr(1, text.size() - 2));
  }
  if (text.empty() || !HasOperatorChar(text)) return text;
  const std::string temp = NewTemp();
  CompileAssignment(temp, text, depth);
  return temp;
}

// Calls, the last opening parenthesis first, so the later of two sibling calls runs first.
std::string TBuildOrvaParser::ReplaceCalls(std::string text, int depth) {
  for (;;) {
    const std::vector<bool> trail = TrailMask(text);
    std::optional<size_t> open;
    std::optional<size_t> name_end;
    for (size_t i = text.size(); i-- > 0;) {
      if (!CharIs(text, trail, i, '(')) continue;
      const auto p = PreviousNonBlank(text, i);
      if (p && !trail[*p] && IsNameChar(text[*p])) {
        open = i;
        name_end = *p + 1;
        break;
      }
    }
    if (!open) return text;
    size_t name_begin = *name_end;
    while (name_begin > 0 && !trail[name_begin - 1] && IsNameChar(text[name_begin - 1])) --name_begin;
    const std::string name = text.substr(name_begin, *name_end - name_begin);
    const auto close = Matching(text, trail, *open, '(', ')');
    if (!close) SyntaxError();

    const std::string inner = Trim(std::string_view(text).substr(*open + 1, *close - *open - 1));
    std::vector<std::string> pieces;
    if (!inner.empty()) {
      const std::vector<bool> inner_trail = TrailMask(inner);
      int brackets = 0;
      size_t start = 0;
      for (size_t i = 0; i < inner.size(); ++i) {
        if (inner_trail[i]) continue;
        if (inner[i] == '[') {
          ++brackets;
        } else if (inner[i] == ']') {
          if (--brackets < 0) SyntaxError();
        } else if (inner[i] == ',' && brackets == 0) {
          pieces.push_back(inner.substr(start, i - start));
          start = i + 1;
        }
      }
      if (brackets != 0) SyntaxError();
      pieces.push_back(inner.substr(start));
    }
    TBuildOpeData call{ocFunc, "", {name}};
    for (std::string& piece : pieces) call.operands.push_back(CompileArgument(std::move(piece), depth));
    call.dest = NewTemp();
    const std::string dest = call.dest;
    operations_.push_back(std::move(call));
    text.replace(name_begin, *close + 1 - name_begin, dest);
  }
}

std::string TBuildOrvaParser::ReplaceSubscripts(std::string text, int depth) {
  for (;;) {
    const std::vector<bool> trail = TrailMask(text);
    std::optional<size_t> open;
    for (size_t i = text.size(); i-- > 0;) {
      if (CharIs(text, trail, i, '[')) {
        open = i;
        break;
      }
    }
    if (!open) return text;
    const auto p = PreviousNonBlank(text, *open);
    if (!p || (!trail[*p] && IsOperatorChar(text[*p]))) SyntaxError();
    size_t name_begin = *p + 1;
    while (name_begin > 0 && (trail[name_begin - 1] || (!IsBlank(text[name_begin - 1]) &&
                                                        !IsOperatorChar(text[name_begin - 1]))))
      --name_begin;
    const std::string name = text.substr(name_begin, *p + 1 - name_begin);
    std::optional<size_t> close;
    for (size_t i = *open + 1; i < text.size(); ++i) {
      if (CharIs(text, trail, i, ']')) {
        close = i;
        break;
      }
    }
    if (!close) SyntaxError();
    const std::string inner = Trim(std::string_view(text).substr(*open + 1, *close - *open - 1));
    if (inner.empty()) throw EOrvaError("配列の添え字が不正です");
    TBuildOpeData dim{ocDimTo, "", {name}};
    const std::vector<bool> inner_trail = TrailMask(inner);
    size_t start = 0;
    for (size_t i = 0; i <= inner.size(); ++i) {
      if (i == inner.size() || CharIs(inner, inner_trail, i, ',')) {
        dim.operands.push_back(CompileArgument(inner.substr(start, i - start), depth));
        start = i + 1;
      }
    }
    dim.dest = NewElementTemp();
    const std::string dest = dim.dest;
    operations_.push_back(std::move(dim));
    text.replace(name_begin, *close + 1 - name_begin, dest);
  }
}

std::string TBuildOrvaParser::ReplaceGroups(std::string text, int depth) {
  for (;;) {
    const std::vector<bool> trail = TrailMask(text);
    std::optional<size_t> open;
    for (size_t i = text.size(); i-- > 0;) {
      if (CharIs(text, trail, i, '(')) {
        open = i;
        break;
      }
    }
    if (!open) {
      for (size_t i = 0; i < text.size(); ++i)
        if (CharIs(text, trail, i, ')')) SyntaxError();
      return text;
    }
    const auto close = Matching(text, trail, *open, '(', ')');
    if (!close) SyntaxError();
    const std::string temp = NewTemp();
    CompileAssignment(temp, text.substr(*open + 1, *close - *open - 1), depth);
    text.replace(*open, *close + 1 - *open, temp);
  }
}

void TBuildOrvaParser::CompileTokens(const std::string& text) {
  // Cut at the operator characters; two-character operators are one token.
  std::vector<std::string> tokens;
  {
    const std::vector<bool> trail = TrailMask(text);
    size_t start = 0;
    auto flush = [&](size_t end) {
      std::string piece = Trim(std::string_view(text).substr(start, end - start));
      if (!piece.empty()) tokens.push_back(std::move(piece));
    };
    for (size_t i = 0; i < text.size();) {
      if (trail[i] || kTokenOperatorChars.find(text[i]) == std::string_view::npos) {
        ++i;
        continue;
      }
      flush(i);
      size_t len = 1;
      if (i + 1 < text.size() && !trail[i + 1]) {
        const std::string_view pair = std::string_view(text).substr(i, 2);
        if (pair == "==" || pair == ">=" || pair == "<=" || pair == "++" || pair == "<>" || pair == "<<" ||
            pair == ">>")
          len = 2;
      }
      tokens.push_back(text.substr(i, len));
      i += len;
      start = i;
    }
    flush(text.size());
  }
  if (tokens.empty()) {
    operations_.push_back({ocTo, std::string(kResultTemp), {text}});
    return;
  }

  // Unary signs, from the second-to-last token down to the second.
  for (size_t i = tokens.size() >= 2 ? tokens.size() - 2 : 0; i >= 1 && i + 1 < tokens.size(); --i) {
    if ((tokens[i] == "+" || tokens[i] == "-") && BeginsWithAny(tokens[i - 1], "=+-*/%&^|[(,<>")) {
      if (tokens[i] == "+") {
        tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i));
      } else {
        const std::string temp = NewTemp();
        operations_.push_back({ocMinus, temp, {"0", tokens[i + 1]}});
        tokens[i] = temp;
        tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      }
    }
    if (i == 1) break;
  }

  // Operators by precedence; within a level, the leftmost first.
  bool assigned = false;
  for (;;) {
    const OperatorInfo* best = nullptr;
    size_t at = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
      const OperatorInfo* info = IsOperatorToken(tokens[i]) ? FindOperator(tokens[i]) : nullptr;
      if (IsOperatorToken(tokens[i]) && info == nullptr) SyntaxError();
      if (info != nullptr && (best == nullptr || info->level < best->level)) {
        best = info;
        at = i;
      }
    }
    if (best == nullptr) break;
    const bool has_next = at + 1 < tokens.size() && !IsOperatorToken(tokens[at + 1]);
    if (!has_next) SyntaxError();
    const auto first = tokens.begin() + static_cast<std::ptrdiff_t>(at);
    if (best->opcode == ocTo) {
      if (at == 0) SyntaxError();
      operations_.push_back({ocTo, tokens[at - 1], {tokens[at + 1]}});
      tokens.erase(first - 1, first + 2);
      assigned = true;
    } else if (at > 0) {
      if (BeginsWithAny(tokens[at - 1], "+-*/%|&^=[(<>")) SyntaxError();
      const std::string temp = NewTemp();
      operations_.push_back({best->opcode, temp, {tokens[at - 1], tokens[at + 1]}});
      tokens.erase(first, first + 2);
      tokens[at - 1] = temp;
    } else {
      if (best->opcode != ocPlus && best->opcode != ocMinus) SyntaxError();
      const std::string temp = NewTemp();
      operations_.push_back({best->opcode, temp, {"0", tokens[at + 1]}});
      tokens.erase(first + 1);
      tokens[at] = temp;
    }
  }
  if (tokens.empty()) return;
  if (assigned || tokens.size() > 1) SyntaxError();
  operations_.push_back({ocTo, std::string(kResultTemp), {tokens[0]}});
}

void TBuildOrvaParser::RemoveCopies() {
  for (size_t i = 0; i < operations_.size();) {
    const TBuildOpeData& op = operations_[i];
    const bool copy = op.opcode == ocTo && op.operands.size() == 1 && IsTemp(op.dest) && IsTemp(op.operands[0]) &&
                      !IsElementTemp(op.dest) && !IsElementTemp(op.operands[0]) && op.dest != kResultTemp &&
                      op.operands[0] != kResultTemp;
    if (!copy) {
      ++i;
      continue;
    }
    const std::string from = op.dest;
    const std::string to = op.operands[0];
    for (size_t j = i + 1; j < operations_.size(); ++j) {
      TBuildOpeData& later = operations_[j];
      if (later.dest == from) later.dest = to;
      for (size_t k = later.opcode == ocFunc ? 1 : 0; k < later.operands.size(); ++k)
        if (later.operands[k] == from) later.operands[k] = to;
    }
    operations_.erase(operations_.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

namespace {

void WriteOperandText(ByteWriter& writer, const std::string& text) {
  if (const auto i = ParseIntText(text)) {
    writer.U8(1);
    writer.I32(*i);
  } else if (const auto r = ParseRealText(text)) {
    writer.U8(2);
    writer.Extended(*r);
  } else if (text == "TRUE" || text == "FALSE") {
    writer.U8(3);
    writer.U8(text == "TRUE" ? 1 : 0);
  } else if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    writer.U8(4);
    writer.String(std::string_view(text).substr(1, text.size() - 2));
  } else {
    writer.U8(0);
    writer.String(text);
  }
}

}  // namespace

void TBuildOrvaParser::SaveTo(ByteWriter& writer) const {
  writer.I32(static_cast<int32_t>(operations_.size()));
  for (const TBuildOpeData& op : operations_) {
    writer.U8(op.opcode);
    writer.String(op.dest);
    if (op.opcode != ocFunc) {
      writer.I32(static_cast<int32_t>(op.operands.size()));
      for (const std::string& text : op.operands) WriteOperandText(writer, text);
      continue;
    }
    const std::string name = op.operands.empty() ? std::string() : op.operands[0];
    const auto id = FunctionIdByName(name);
    if (!id) throw EOrvaError("\"" + Cp932ToUtf8(name) + "\" 関数名がありません");
    const FunctionInfo& info = *FunctionById(*id);
    const int args = static_cast<int>(op.operands.size()) - 1;
    if ((info.min_args >= 0 && args < info.min_args) || (info.max_args >= 0 && args > info.max_args))
      throw EOrvaError(Cp932ToUtf8(name) + " 引数の数が不正です");
    writer.I32(args);
    writer.U8(static_cast<uint8_t>(*id));
    for (size_t k = 1; k < op.operands.size(); ++k) WriteOperandText(writer, op.operands[k]);
  }
}

void CompileExpression(std::string_view text, TOrvaParser& out) {
  TBuildOrvaParser builder;
  builder.Compile(text);
  ByteWriter writer;
  builder.SaveTo(writer);
  ByteReader reader(writer.Data());
  out.LoadFrom(reader);
}

}  // namespace orva
