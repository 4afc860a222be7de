#pragma once
// Compiled expressions: a flat list of three-address operations whose intermediate results go to
// temporaries, read from and written to the stream record pages embed, and evaluated against the
// variable store.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/opcodes.h"
#include "script/param.h"

namespace orva {

class ByteReader;
class ByteWriter;
class TParamCollection;

// One operation: Dest receives the result of Opcode applied to the operands (literals, or
// references that name a variable and are resolved at each evaluation).
struct TOpeData {
  uint8_t opcode = ocNone;
  std::string dest;
  uint8_t func_id = 0;  // ocFunc only
  std::vector<std::unique_ptr<TCustomParam>> operands;
  // The operand tags as read (a reader takes unknown tags as references); empty when built.
  std::vector<uint8_t> read_tags;
};

class TOrvaParser {
 public:
  TOrvaParser();
  ~TOrvaParser();
  TOrvaParser(const TOrvaParser&) = delete;
  TOrvaParser& operator=(const TOrvaParser&) = delete;

  void Clear();
  // Clears, then reads the record; a damaged record raises EOrvaError and leaves this cleared.
  void LoadFrom(ByteReader& reader);
  void SaveTo(ByteWriter& writer) const;
  // Clears and copies every operation: literals by value, references by name.
  void Clone(const TOrvaParser& other);

  // Evaluates against the store. Errors stop the evaluation silently at the failing operation;
  // operations already run keep their effects. Afterwards Result() holds the expression's value
  // or nothing.
  void Execute(TParamCollection& store);
  const TCustomParam* Result() const { return has_result_ ? result_.get() : nullptr; }

  // Bound and typed evaluation on (the default) or off, for every expression of the process;
  // results are the same either way, which the tests check.
  static void SetFastPaths(bool enabled);

  int Count() const { return static_cast<int>(operations_.size()); }
  const TOpeData& Operation(int index) const { return operations_.at(static_cast<size_t>(index)); }
  void AddOperation(TOpeData operation);

 private:
  struct Binding;
  void Bind(TParamCollection& store);
  void RunTyped();
  void RunBound(TParamCollection& store);
  void RunGeneral(TParamCollection& store);
  void TakeResult(const TCustomParam& value);

  std::vector<TOpeData> operations_;
  std::unique_ptr<TCustomParam> result_;
  bool has_result_ = false;
  std::unique_ptr<Binding> binding_;
};

}  // namespace orva
