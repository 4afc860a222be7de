#pragma once
// TCommand: one command of a page. The stored fields come from the page record; each command
// class gives them their meaning when the call manager runs it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/page_record.h"

namespace orva {

class ByteReader;
class ByteWriter;
class TCallMan;
class TCustomParam;
class TOrvaParser;
class TPage;

class TCommand {
 public:
  TCommand(TPage* page, CommandRecord record);
  virtual ~TCommand();
  TCommand(const TCommand&) = delete;
  TCommand& operator=(const TCommand&) = delete;

  uint8_t CommandType() const { return record_.TypeId(); }
  virtual bool Continues() const { return record_.continue_flag != 0; }
  virtual bool IsDisabled() const { return disabled_; }
  void SetDisabled(bool disabled) { disabled_ = disabled; }
  virtual bool BlocksEvents() const { return false; }
  virtual bool IsLabel(std::string_view) const { return false; }

  // Once when execution reaches the command.
  virtual void Begin(TCallMan&) {}
  // Advances the call manager's index by one; the classes do their work.
  virtual void Execute(TCallMan& calls);
  // The progress of a waiting command, kept while an event interrupts it and in saves.
  virtual void SaveState(ByteWriter&) const {}
  virtual void LoadState(ByteReader&) {}
  virtual void Abort() {}
  virtual bool IsWaiting() const { return false; }

  TPage* Page() const { return page_; }
  int32_t Indent() const { return record_.indent; }
  int32_t Line() const { return record_.line; }
  const CommandRecord& Record() const { return record_; }

 protected:
  // Fields by their position in the command type's table. A field the page's version lacks
  // reads as absent: no expression, empty text, 0.
  TOrvaParser* Expression(int field) const;
  std::span<const std::unique_ptr<TOrvaParser>> Expressions(int field) const;
  TOrvaParser* PropertyExpression(int property_id) const;
  const std::string& Text(int field) const;
  int32_t Number(int field) const;

 private:
  int StoredIndex(int field) const;

  TPage* page_;
  CommandRecord record_;
  // Per field of the type's table, its position among the stored fields; -1 when not stored.
  std::vector<int8_t> stored_index_;
  bool disabled_;
  // Per stored field, its compiled expressions in stored order.
  std::vector<std::vector<std::unique_ptr<TOrvaParser>>> expressions_;
};

// The progress record marker of waiting commands: "orva" and three digits of version.
void WriteStateMarker(ByteWriter& writer);
// Reads the marker; a record without one is rewound and taken as version 0.
int ReadStateMarker(ByteReader& reader);

}  // namespace orva
