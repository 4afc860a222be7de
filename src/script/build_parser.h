#pragma once
// The expression compiler: expression text in, the operations of a compiled expression out.
// Scenario pages were compiled by the same rules; the player compiles at run time for Calc and
// for variables shown in message text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

class ByteWriter;
class TOrvaParser;

// One operation under construction: the operands as texts; for ocFunc the first text is the
// function name.
struct TBuildOpeData {
  uint8_t opcode = 0;
  std::string dest;
  std::vector<std::string> operands;
};

class TBuildOrvaParser {
 public:
  // Appends the operations for the text (Shift-JIS), then removes plain copies between
  // temporaries. Every syntax error raises "構文エラー".
  void Compile(std::string_view text);
  // The compiled expression record. Fails with '"%s" 関数名がありません' for an unknown function
  // and "<name> 引数の数が不正です" for a wrong number of arguments.
  void SaveTo(ByteWriter& writer) const;
  void Clear();

  const std::vector<TBuildOpeData>& Operations() const { return operations_; }

 private:
  std::string NewTemp();
  std::string NewElementTemp();
  void CompileText(std::string text, int depth);
  void CompileAssignment(const std::string& dest, const std::string& text, int depth);
  std::string CompileArgument(std::string text, int depth);
  std::string ReplaceStringLiterals(const std::string& text);
  std::string ReplaceCalls(std::string text, int depth);
  std::string ReplaceSubscripts(std::string text, int depth);
  std::string ReplaceGroups(std::string text, int depth);
  void CompileTokens(const std::string& text);
  void RemoveCopies();

  std::vector<TBuildOpeData> operations_;
  int counter_ = 0;
};

// Compiles text for immediate use: Compile, SaveTo a buffer, LoadFrom that buffer.
void CompileExpression(std::string_view text, TOrvaParser& out);

}  // namespace orva
