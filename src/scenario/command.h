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
  // Asked for every command run, so they are plain reads of what the class fixed when it was made.
  bool Continues() const { return continues_; }
  bool IsDisabled() const { return disabled_; }
  bool IsWaiting() const { return waiting_; }
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

  TPage* Page() const { return page_; }
  int32_t Indent() const { return record_.indent; }
  int32_t Line() const { return record_.line; }
  const CommandRecord& Record() const { return record_; }

 protected:
  // How a class runs, whatever the stored command says: whether the frame's commands go on after
  // it, whether it is always passed over, whether it holds its frame while it waits.
  enum class Continuation : uint8_t { kStored, kAlways, kNever };
  struct Traits {
    Continuation continuation = Continuation::kStored;
    bool always_disabled = false;
    bool waiting = false;
  };
  TCommand(TPage* page, CommandRecord record, Traits traits);

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
  bool continues_;
  bool waiting_;
  // Per stored field, its compiled expressions in stored order.
  std::vector<std::vector<std::unique_ptr<TOrvaParser>>> expressions_;
  // Per field of the type's table, its first expression or nullptr: what Expression reads.
  std::vector<TOrvaParser*> first_expression_;
};

// The progress record marker of waiting commands: "orva" and three digits of version.
void WriteStateMarker(ByteWriter& writer);
// Reads the marker; a record without one is rewound and taken as version 0.
int ReadStateMarker(ByteReader& reader);

}  // namespace orva
