#pragma once
// Pages for tests, written as lists of commands with fields in a compact text form, and a host
// that serves them from memory.

#include <map>
#include <string>
#include <vector>

#include "core/frame_timing.h"
#include "scenario/call_host.h"
#include "scenario/event_queue.h"

namespace orva::test {

// One command: type id, fields ("e:" expression text, "s:" string, "n:" number, "l:" expression
// texts separated by "|"), indent, Continue flag, Disabled flag.
struct Cmd {
  uint8_t type;
  std::vector<std::string> fields;
  int32_t indent = 0;
  bool continues = true;
  bool disabled = false;
};

std::string ExpressionRecord(const std::string& text);
std::string BuildPage(const std::vector<Cmd>& commands, int32_t version = 110, uint8_t result_type = 1);

class MemoryHost : public CallManagerHost {
 public:
  std::map<std::string, std::string> pages;
  std::vector<std::string> unavailable;
  TTimerList events;
  FrameTiming timing;
  std::vector<std::string> log;  // requests and refusals, in order

  std::string ReadPageFile(const std::string& name) override;
  bool EnsureAvailable(const std::string& name) override;
  void RefuseOldPage(const std::string& name) override { log.push_back("old " + name); }
  TTimerList& Events() override { return events; }
  const FrameTiming& Timing() const override { return timing; }
  void RequestSave(int32_t slot, const std::string& page, const std::string& caption, int32_t value) override;
  void RequestLoad(int32_t slot) override { log.push_back("load " + std::to_string(slot)); }
  void RequestClose() override { log.push_back("close"); }
};

// A component that raises events in tests.
class NamedSender : public EventSender {
 public:
  explicit NamedSender(std::string name) : name_(std::move(name)) {}
  bool IsRegistered() const override { return registered; }
  std::string SenderName() const override { return name_; }
  bool registered = true;

 private:
  std::string name_;
};

}  // namespace orva::test
