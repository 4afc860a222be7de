// Evaluation of compiled expressions.
//
// Temporaries are ordinary variables of the store for the duration of one evaluation, so in
// general every reference is looked up by name at each operation and every temporary is added to
// the store and removed again. When nothing can tell the difference — no built-in function runs
// (none can look at the store mid-way), no temporary's name is already taken in the store, and
// @Temp (which finds its variable by name) is not involved — the names are bound once per store
// generation and the temporaries live in typed slots that are reused from one evaluation to the
// next. Results are the same either way.

#include <array>

#include "core/error.h"
#include "core/limits.h"
#include "core/sjis.h"
#include "script/operations.h"
#include "script/orva_parser.h"
#include "script/param_collection.h"
#include "script/param_system.h"
#include "script/param_var.h"
#include "script/operation_semantics.h"
#include "script/typed_cell.h"

namespace orva {
namespace {

bool IsTempName(std::string_view name) { return name.substr(0, kTempPrefix.size()) == kTempPrefix; }

// Points a reference operand at its variable; an element reference lends its index.
void Resolve(TParamVar& operand, TParamCollectionItem* item) {
  operand.SetTarget(item);
  const TCustomParam* value = item->Value();
  operand.SetIndex(value->IsReference() ? static_cast<const TParamVar*>(value)->Index() : 0);
}

void Unresolve(const TOpeData& op) {
  for (const auto& operand : op.operands)
    if (operand->IsReference()) static_cast<TParamVar*>(operand.get())->SetTarget(nullptr);
}

bool fast_paths_enabled = true;

bool TypedOpcode(uint8_t opcode) {
  return opcode == ocTo || (opcode >= ocPlus && opcode <= ocDimTo) || (opcode >= ocEqual && opcode <= ocNEqual);
}

// The type a new temporary takes, from the kind of operand 0.
uint8_t TempKind(uint8_t opcode, uint8_t first) {
  switch (opcode) {
    case ocTo: return first;
    case ocPlus: return (first == PT_STR || first == PT_FLOAT) ? first : PT_INT;
    case ocMinus: case ocMul: case ocDiv: return first == PT_FLOAT ? PT_FLOAT : PT_INT;
    case ocComboStr: return PT_STR;
    case ocEqual: case ocBig: case ocSmall: case ocEBig: case ocESmall: case ocNEqual: return PT_BOOL;
    default: return PT_INT;
  }
}

constexpr size_t kMaxTypedIndices = 8;
constexpr int kElementSlot = 5;

class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  bool TooDeep() const { return depth_ > limits::kMaxNestingDepth; }

 private:
  int& depth_;
};

}  // namespace

// A temporary kept outside the store: one value of each type, the current one held by the item.
struct TempSlot {
  TParamCollectionItem item;
  std::array<std::unique_ptr<TCustomParam>, 5> spare;
  bool live = false;

  void Make(uint8_t type) {
    std::unique_ptr<TCustomParam>& current_spare = spare[type];
    TCustomParam* current = item.Value();
    if (current == nullptr || current->IsReference() != (type == PT_NONE) ||
        (type != PT_NONE && current->VarType() != type)) {
      if (!current_spare) current_spare = NewParam(type);
      std::unique_ptr<TCustomParam> old = item.SetValue(std::move(current_spare));
      if (old) {
        const uint8_t old_type = old->IsReference() ? PT_NONE : old->VarType();
        spare[old_type] = std::move(old);
      }
    }
    item.Value()->Reset();
    live = true;
  }
};

struct OperandBinding {
  enum Kind : uint8_t { kLiteral, kStore, kSlot, kMissing };
  Kind kind = kLiteral;
  int slot = -1;
  TParamCollectionItem* item = nullptr;
};

struct OperationBinding {
  OperandBinding dest;
  std::vector<OperandBinding> operands;
};

// One operation of a typed plan: every operand and the destination addressed directly.
struct TypedStep {
  uint8_t opcode = ocNone;
  bool skip = false;  // ocDimTo on a temporary already made
  TypedCell dest, a, b;
  int ref_slot = -1;
  const TParamCollectionItem* array = nullptr;
  std::vector<TypedCell> indices;
};

struct TOrvaParser::Binding {
  const TParamCollection* store = nullptr;
  uint64_t generation = 0;
  bool bound = false;  // false: the general path
  std::vector<OperationBinding> operations;
  std::vector<std::unique_ptr<TempSlot>> slots;
  // When every value involved has a fixed class, the temporaries' types follow: the whole
  // expression runs as a typed plan.
  bool typed = false;
  std::vector<TypedStep> steps;
  std::vector<int32_t> element_index;  // per slot, for element references
  const TypedCell* result = nullptr;

  void BuildTypedPlan(const std::vector<TOpeData>& operations_);
  void FuseCopies(const std::vector<TOpeData>& ops);

  int SlotFor(std::string_view name) {
    for (size_t i = 0; i < slots.size(); ++i)
      if (sjis::SameTextIgnoringCase(slots[i]->item.Name(), name)) return static_cast<int>(i);
    auto slot = std::make_unique<TempSlot>();
    slot->item.SetName(std::string(name));
    slots.push_back(std::move(slot));
    return static_cast<int>(slots.size() - 1);
  }
};

void TOrvaParser::Binding::BuildTypedPlan(const std::vector<TOpeData>& ops) {
  typed = false;
  result = nullptr;
  steps.assign(ops.size(), TypedStep());
  element_index.assign(slots.size(), 0);
  std::vector<int> slot_kind(slots.size(), -1);
  std::vector<const TParamCollectionItem*> slot_array(slots.size(), nullptr);

  auto cell_for = [&](const TCustomParam& operand, const OperandBinding& binding, TypedCell& out) {
    switch (binding.kind) {
      case OperandBinding::kLiteral:
        if (!IsPlainValue(&operand)) return false;
        out = {const_cast<TCustomParam*>(&operand), operand.VarType(), nullptr};
        return true;
      case OperandBinding::kStore:
        if (!IsPlainValue(binding.item->Value())) return false;
        out = {binding.item->Value(), binding.item->Value()->VarType(), nullptr};
        return true;
      case OperandBinding::kSlot: {
        const size_t slot = static_cast<size_t>(binding.slot);
        if (slot_kind[slot] < 0) return false;
        if (slot_kind[slot] == kElementSlot) {
          out = {slot_array[slot]->Value(), slot_array[slot]->Value()->VarType(), &element_index[slot]};
        } else {
          out = {slots[slot]->item.Value(), static_cast<uint8_t>(slot_kind[slot]), nullptr};
        }
        return true;
      }
      default:
        return false;
    }
  };

  for (size_t i = 0; i < ops.size(); ++i) {
    const TOpeData& op = ops[i];
    const OperationBinding& ob = operations[i];
    TypedStep& step = steps[i];
    step.opcode = op.opcode;
    if (!TypedOpcode(op.opcode)) return;
    if (op.opcode != ocDimTo && op.operands.size() < (op.opcode == ocTo ? 1u : 2u)) return;
    std::vector<TypedCell> cells(op.operands.size());
    for (size_t k = 0; k < op.operands.size(); ++k)
      if (!cell_for(*op.operands[k], ob.operands[k], cells[k])) return;
    if (ob.dest.kind == OperandBinding::kSlot && slot_kind[static_cast<size_t>(ob.dest.slot)] < 0) {
      const size_t slot = static_cast<size_t>(ob.dest.slot);
      if (op.opcode == ocDimTo) {
        if (op.operands.empty() || ob.operands[0].kind != OperandBinding::kStore) return;
        if (op.operands.size() - 1 > kMaxTypedIndices) return;
        slot_kind[slot] = kElementSlot;
        slot_array[slot] = ob.operands[0].item;
        step.ref_slot = ob.dest.slot;
        step.array = ob.operands[0].item;
        step.indices.assign(cells.begin() + 1, cells.end());
        continue;
      }
      const uint8_t kind = TempKind(op.opcode, cells[0].kind);
      slots[slot]->Make(kind);
      slot_kind[slot] = kind;
    } else if (op.opcode == ocDimTo) {
      step.skip = true;
      continue;
    }
    if (!cell_for(*op.operands[0], ob.dest, step.dest)) return;
    step.a = cells[0];
    step.b = cells.size() > 1 ? cells[1] : cells[0];
  }
  if (!ops.empty() && ops.back().opcode == ocTo && ops.back().dest == kResultTemp) {
    const OperandBinding& dest = operations.back().dest;
    if (dest.kind != OperandBinding::kSlot || slot_kind[static_cast<size_t>(dest.slot)] == kElementSlot) return;
    result = &steps.back().dest;
  }
  FuseCopies(ops);
  typed = true;
}

// "T = a op b; d = T" computes straight into d when T has d's type and nothing reads T later:
// every operation reads its operands before it writes, so the results are the same.
void TOrvaParser::Binding::FuseCopies(const std::vector<TOpeData>& ops) {
  auto same = [](const TypedCell& x, const TypedCell& y) { return x.value == y.value && x.index == y.index; };
  for (size_t j = 1; j < steps.size(); ++j) {
    TypedStep& copy = steps[j];
    TypedStep& producer = steps[j - 1];
    if (copy.skip || copy.opcode != ocTo || producer.skip || producer.opcode == ocDimTo) continue;
    const OperandBinding& source = operations[j].operands.empty() ? OperandBinding() : operations[j].operands[0];
    if (source.kind != OperandBinding::kSlot || copy.a.index != nullptr) continue;
    if (!same(producer.dest, copy.a) || copy.dest.kind != copy.a.kind) continue;
    if (ops[j].operands.size() != 1) continue;
    bool read_later = result != nullptr && result->value == copy.a.value;
    for (size_t k = j + 1; k < steps.size() && !read_later; ++k) {
      const TypedStep& later = steps[k];
      read_later = same(later.a, copy.a) || same(later.b, copy.a) || same(later.dest, copy.a);
      for (const TypedCell& index : later.indices) read_later = read_later || same(index, copy.a);
    }
    if (read_later) continue;
    producer.dest = copy.dest;
    copy.skip = true;
  }
}

void TOrvaParser::SetFastPaths(bool enabled) { fast_paths_enabled = enabled; }

TOrvaParser::TOrvaParser() = default;
TOrvaParser::~TOrvaParser() = default;

void TOrvaParser::Clear() {
  operations_.clear();
  result_.reset();
  has_result_ = false;
  binding_.reset();
}

void TOrvaParser::AddOperation(TOpeData operation) {
  operations_.push_back(std::move(operation));
  binding_.reset();
}

void TOrvaParser::Bind(TParamCollection& store) {
  if (!binding_) binding_ = std::make_unique<Binding>();
  Binding& b = *binding_;
  b.store = &store;
  b.generation = store.Generation();
  b.bound = true;
  b.operations.assign(operations_.size(), OperationBinding());
  for (auto& slot : b.slots) slot->live = false;

  auto bind_name = [&](std::string_view name, OperandBinding& out) {
    TParamCollectionItem* item = store.FindVar(name);
    if (IsTempName(name)) {
      // A temporary's name already in the store (an outer evaluation's temporary seen by Calc,
      // or a variable of the same name) must be found there by every operation.
      if (item != nullptr) b.bound = false;
      out.kind = OperandBinding::kSlot;
      out.slot = b.SlotFor(name);
      return;
    }
    if (item == nullptr) {
      out.kind = OperandBinding::kMissing;
      return;
    }
    if (auto* sys = dynamic_cast<TParamSystem*>(item->Value()); sys != nullptr && sys->SysIndex() == SV_TEMP)
      b.bound = false;
    out.kind = OperandBinding::kStore;
    out.item = item;
  };

  for (size_t i = 0; i < operations_.size() && b.bound; ++i) {
    const TOpeData& op = operations_[i];
    OperationBinding& ob = b.operations[i];
    if (op.opcode == ocFunc) {
      b.bound = false;
      break;
    }
    ob.operands.resize(op.operands.size());
    for (size_t k = 0; k < op.operands.size(); ++k) {
      if (!op.operands[k]->IsReference()) continue;
      bind_name(static_cast<const TParamVar*>(op.operands[k].get())->Name(), ob.operands[k]);
    }
    bind_name(op.dest, ob.dest);
  }
  if (!fast_paths_enabled) b.bound = false;
  b.typed = false;
  if (b.bound) b.BuildTypedPlan(operations_);
}

void TOrvaParser::Execute(TParamCollection& store) {
  has_result_ = false;
  DepthGuard depth(store.EvaluationDepth());
  if (depth.TooDeep()) return;
  if (!fast_paths_enabled) {
    RunGeneral(store);
    return;
  }
  if (!binding_ || binding_->store != &store || binding_->generation != store.Generation()) Bind(store);
  if (binding_->typed) {
    RunTyped();
  } else if (binding_->bound) {
    RunBound(store);
  } else {
    RunGeneral(store);
  }
}

void TOrvaParser::TakeResult(const TCustomParam& value) {
  const uint8_t type = value.VarType();
  if (type < PT_INT || type > PT_STR) throw EOrvaError(std::string(kResultTemp) + ":不正な変数です");
  // The previous result's storage is reused when the type stays the same.
  if (!result_ || result_->VarType() != type) result_ = NewParam(type);
  result_->Assign(value);
  has_result_ = true;
}

void TOrvaParser::RunTyped() {
  Binding& b = *binding_;
  try {
    for (TypedStep& step : b.steps) {
      if (step.skip) continue;
      if (step.opcode == ocDimTo) {
        std::array<int32_t, kMaxTypedIndices> indices{};
        const size_t n = step.indices.size();
        for (size_t k = 0; k < n; ++k) indices[k] = step.indices[k].GetInt();
        b.element_index[static_cast<size_t>(step.ref_slot)] =
            ElementIndex(*step.array->Value(), step.array->Name(), std::span<const int32_t>(indices.data(), n));
        continue;
      }
      semantics::PerformOnValues(step.opcode, step.dest, step.a, step.b);
    }
    if (b.result != nullptr) TakeResult(*b.result->value);
  } catch (const EOrvaError&) {
    has_result_ = false;
  }
}

void TOrvaParser::RunBound(TParamCollection& store) {
  Binding& b = *binding_;
  for (auto& slot : b.slots) slot->live = false;
  size_t i = 0;
  try {
    for (; i < operations_.size(); ++i) {
      const TOpeData& op = operations_[i];
      const OperationBinding& ob = b.operations[i];
      for (size_t k = 0; k < op.operands.size(); ++k) {
        const OperandBinding& binding = ob.operands[k];
        if (binding.kind == OperandBinding::kLiteral) continue;
        auto& operand = static_cast<TParamVar&>(*op.operands[k]);
        if (binding.kind == OperandBinding::kStore) {
          Resolve(operand, binding.item);
        } else if (binding.kind == OperandBinding::kSlot && b.slots[static_cast<size_t>(binding.slot)]->live) {
          Resolve(operand, &b.slots[static_cast<size_t>(binding.slot)]->item);
        } else {
          ThrowMissingVariable(operand.Name());
        }
      }
      TCustomParam* dest = nullptr;
      if (ob.dest.kind == OperandBinding::kStore) {
        dest = ob.dest.item->Value();
      } else if (ob.dest.kind == OperandBinding::kSlot) {
        TempSlot& slot = *b.slots[static_cast<size_t>(ob.dest.slot)];
        if (!slot.live) {
          slot.Make(TempTypeFor(op));
          if (op.opcode == ocDimTo) {
            const OperandBinding& array = ob.operands.empty() ? OperandBinding() : ob.operands[0];
            TParamCollectionItem* target = array.kind == OperandBinding::kStore ? array.item
                                           : array.kind == OperandBinding::kSlot
                                               ? &b.slots[static_cast<size_t>(array.slot)]->item
                                               : nullptr;
            BindElement(op, static_cast<TParamVar&>(*slot.item.Value()), target);
          }
        }
        dest = slot.item.Value();
      } else {
        ThrowMissingVariable(op.dest);
      }
      if (op.opcode != ocDimTo) Perform(op, *dest, store);
      Unresolve(op);
    }
    if (!operations_.empty()) {
      const TOpeData& last = operations_.back();
      const OperandBinding& dest = b.operations.back().dest;
      if (last.opcode == ocTo && last.dest == kResultTemp && dest.kind == OperandBinding::kSlot &&
          b.slots[static_cast<size_t>(dest.slot)]->live) {
        TakeResult(*b.slots[static_cast<size_t>(dest.slot)]->item.Value());
      }
    }
  } catch (const EOrvaError&) {
    if (i < operations_.size()) Unresolve(operations_[i]);
    has_result_ = false;
  }
  // Element references must not keep pointing at variables that may go before the next run.
  for (auto& slot : b.slots) {
    if (slot->live && slot->item.Value()->IsReference())
      static_cast<TParamVar*>(slot->item.Value())->SetTarget(nullptr);
    slot->live = false;
  }
}

void TOrvaParser::RunGeneral(TParamCollection& store) {
  std::vector<TParamCollectionItem*> temporaries;
  size_t i = 0;
  try {
    for (; i < operations_.size(); ++i) {
      const TOpeData& op = operations_[i];
      for (const auto& operand : op.operands) {
        if (!operand->IsReference()) continue;
        auto& ref = static_cast<TParamVar&>(*operand);
        TParamCollectionItem* item = store.FindVar(ref.Name());
        if (item == nullptr) ThrowMissingVariable(ref.Name());
        Resolve(ref, item);
      }
      TParamCollectionItem* dest = nullptr;
      if (IsTempName(op.dest) && store.FindVar(op.dest) == nullptr) {
        const uint8_t type = TempTypeFor(op);
        dest = store.AddNamedVar(op.dest, type);
        temporaries.push_back(dest);
        if (op.opcode == ocDimTo) {
          TParamCollectionItem* array =
              op.operands.empty() || !op.operands[0]->IsReference()
                  ? nullptr
                  : static_cast<TParamVar*>(op.operands[0].get())->Target();
          BindElement(op, static_cast<TParamVar&>(*dest->Value()), array);
        }
      } else {
        dest = store.FindVar(op.dest);
        if (dest == nullptr) ThrowMissingVariable(op.dest);
      }
      if (op.opcode != ocDimTo) Perform(op, *dest->Value(), store);
      Unresolve(op);
    }
    if (!operations_.empty() && operations_.back().opcode == ocTo && operations_.back().dest == kResultTemp) {
      std::unique_ptr<TCustomParam> snapshot = store.Snapshot(kResultTemp);
      if (snapshot) TakeResult(*snapshot);
    }
  } catch (const EOrvaError&) {
    if (i < operations_.size()) Unresolve(operations_[i]);
    has_result_ = false;
  }
  for (auto it = temporaries.rbegin(); it != temporaries.rend(); ++it) store.DeleteVar(*it);
}

}  // namespace orva
