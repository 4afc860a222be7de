#include "scenario/command.h"

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "scenario/call_manager.h"
#include "scenario/page.h"
#include "script/orva_parser.h"

namespace orva {

TCommand::TCommand(TPage* page, CommandRecord record) : TCommand(page, std::move(record), Traits{}) {}

TCommand::TCommand(TPage* page, CommandRecord record, Traits traits)
    : page_(page),
      record_(std::move(record)),
      disabled_(traits.always_disabled || record_.disabled != 0),
      continues_(traits.continuation == Continuation::kStored ? record_.continue_flag != 0
                                                              : traits.continuation == Continuation::kAlways),
      waiting_(traits.waiting) {
  // Fields that the page's version lacks are not stored; number the ones that are.
  const int32_t version = page_ != nullptr ? page_->Version() : kNewestPageVersion;
  int stored = 0;
  for (const FieldLayout& field : record_.Layout().fields) {
    const bool present = version >= field.min_version && stored < static_cast<int>(record_.fields.size());
    stored_index_.push_back(static_cast<int8_t>(present ? stored++ : -1));
  }
  expressions_.resize(record_.fields.size());
  for (size_t i = 0; i < record_.fields.size(); ++i) {
    for (const ExpressionBytes& stored : record_.fields[i].expressions) {
      auto parser = std::make_unique<TOrvaParser>();
      ByteReader reader(stored.record);
      parser->LoadFrom(reader);
      expressions_[i].push_back(std::move(parser));
    }
  }
  for (const int8_t stored : stored_index_) {
    const bool has = stored >= 0 && !expressions_[static_cast<size_t>(stored)].empty();
    first_expression_.push_back(has ? expressions_[static_cast<size_t>(stored)].front().get() : nullptr);
  }
}

TCommand::~TCommand() = default;

void TCommand::Execute(TCallMan& calls) { calls.Advance(); }

int TCommand::StoredIndex(int field) const {
  if (field < 0 || field >= static_cast<int>(stored_index_.size())) return -1;
  return stored_index_[static_cast<size_t>(field)];
}

TOrvaParser* TCommand::Expression(int field) const {
  if (field < 0 || field >= static_cast<int>(first_expression_.size())) return nullptr;
  return first_expression_[static_cast<size_t>(field)];
}

std::span<const std::unique_ptr<TOrvaParser>> TCommand::Expressions(int field) const {
  const int stored = StoredIndex(field);
  if (stored < 0) return {};
  return expressions_[static_cast<size_t>(stored)];
}

TOrvaParser* TCommand::PropertyExpression(int property_id) const {
  for (size_t i = 0; i < record_.fields.size(); ++i) {
    const auto& stored = record_.fields[i].expressions;
    for (size_t k = 0; k < stored.size(); ++k) {
      if (stored[k].property_id == property_id) return expressions_[i][k].get();
    }
  }
  return nullptr;
}

const std::string& TCommand::Text(int field) const {
  static const std::string kEmpty;
  const int stored = StoredIndex(field);
  return stored < 0 ? kEmpty : record_.fields[static_cast<size_t>(stored)].bytes;
}

int32_t TCommand::Number(int field) const {
  const int stored = StoredIndex(field);
  return stored < 0 ? 0 : record_.fields[static_cast<size_t>(stored)].number;
}

void WriteStateMarker(ByteWriter& writer) { writer.Chars("orva100"); }

int ReadStateMarker(ByteReader& reader) {
  const size_t start = reader.Position();
  if (reader.Remaining() >= 7 && reader.Chars(4) == "orva") {
    const std::string_view digits = reader.Chars(3);
    int version = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') {
        reader.Seek(start);
        return 0;
      }
      version = version * 10 + (c - '0');
    }
    return version;
  }
  reader.Seek(start);
  return 0;
}

}  // namespace orva
