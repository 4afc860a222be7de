#include "scenario/project_source.h"

#include <charconv>
#include <cstdio>
#include <sstream>

#include "core/encoding.h"
#include "core/error.h"
#include "scenario/page_listing.h"

namespace orva {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits off the first word.
std::string_view TakeWord(std::string_view& rest) {
  rest = Trim(rest);
  const size_t end = rest.find_first_of(" \t");
  const std::string_view word = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : Trim(rest.substr(end));
  return word;
}

int32_t TakeInt(std::string_view& rest) {
  const std::string_view word = TakeWord(rest);
  int32_t value = 0;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || ec != std::errc() || ptr != word.data() + word.size()) {
    throw EOrvaError("a whole number was expected, not \"" + std::string(word) + "\"");
  }
  return value;
}

std::string TakeText(std::string_view& rest) {
  std::string_view after;
  std::string text = UnquoteListingString(rest, &after);
  rest = Trim(after);
  return text;
}

// A variable name: quoted, or one word in UTF-8.
std::string TakeName(std::string_view& rest) {
  rest = Trim(rest);
  if (!rest.empty() && rest.front() == '"') return TakeText(rest);
  return Utf8ToCp932(TakeWord(rest));
}

std::string RealText(long double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.21Lg", value);
  return text;
}

}  // namespace

ProjectFile ParseProjectSource(std::string_view text) {
  ProjectFile p;
  p.disk_prompt = Utf8ToCp932("ディスク%dを入れてから[OK]をクリックしてください");
  p.quit_prompt = Utf8ToCp932("終了します");
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view rest = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (rest.empty() || rest.front() == '#') continue;
    try {
      const std::string key(TakeWord(rest));
      if (key == "version") p.version = TakeInt(rest);
      else if (key == "title") p.title = TakeText(rest);
      else if (key == "screen") p.screen_width = TakeInt(rest), p.screen_height = TakeInt(rest);
      else if (key == "full-screen") p.full_screen_width = TakeInt(rest), p.full_screen_height = TakeInt(rest);
      else if (key == "start") p.start_page = TakeText(rest);
      else if (key == "exit") p.exit_page = TakeText(rest);
      else if (key == "reserved") p.reserved = TakeText(rest);
      else if (key == "image-key") p.image_key = TakeInt(rest);
      else if (key == "write-status") p.write_status = TakeInt(rest) != 0;
      else if (key == "frame-sleep") p.frame_sleep = TakeInt(rest) != 0;
      else if (key == "streamed") p.streamed_extensions = TakeText(rest);
      else if (key == "disk-prompt") p.disk_prompt = TakeText(rest);
      else if (key == "quit-prompt") p.quit_prompt = TakeText(rest);
      else if (key == "disk") {
        std::string folder = TakeText(rest);
        p.folder_disks.Add(std::move(folder), TakeInt(rest));
      } else if (key == "status") {
        StatusVariableEntry e;
        const std::string type(TakeWord(rest));
        e.name = TakeName(rest);
        if (type == "int") e.type = 1, e.value = TakeInt(rest);
        else if (type == "real") {
          e.type = 2;
          const std::string word(TakeWord(rest));
          char* stop = nullptr;
          e.value = std::strtold(word.c_str(), &stop);
          if (word.empty() || *stop != '\0') throw EOrvaError("a real number was expected, not \"" + word + "\"");
        } else if (type == "flag") e.type = 3, e.value = static_cast<uint8_t>(TakeInt(rest));
        else if (type == "str") e.type = 4, e.value = TakeText(rest);
        else {
          std::string_view code = type;
          const int32_t value = TakeInt(code);
          if (value < 0 || value > 255 || (value >= 1 && value <= 4)) throw EOrvaError("unknown status type " + type);
          e.type = static_cast<uint8_t>(value);
        }
        p.status_variables.push_back(std::move(e));
      } else {
        throw EOrvaError("unknown setting \"" + key + "\"");
      }
      if (!rest.empty()) throw EOrvaError("unexpected \"" + std::string(rest) + "\"");
    } catch (const EOrvaError& e) {
      throw EOrvaError("line " + std::to_string(number) + ": " + e.what());
    }
  }
  return p;
}

std::string WriteProjectSource(const ProjectFile& p) {
  std::ostringstream out;
  out << "version " << p.version << "\n";
  out << "title " << QuoteListingString(p.title) << "\n";
  out << "screen " << p.screen_width << " " << p.screen_height << "\n";
  out << "full-screen " << p.full_screen_width << " " << p.full_screen_height << "\n";
  out << "start " << QuoteListingString(p.start_page) << "\n";
  out << "exit " << QuoteListingString(p.exit_page) << "\n";
  out << "reserved " << QuoteListingString(p.reserved) << "\n";
  out << "image-key " << p.image_key << "\n";
  out << "write-status " << (p.write_status ? 1 : 0) << "\n";
  out << "frame-sleep " << (p.frame_sleep ? 1 : 0) << "\n";
  out << "streamed " << QuoteListingString(p.streamed_extensions) << "\n";
  out << "disk-prompt " << QuoteListingString(p.disk_prompt) << "\n";
  out << "quit-prompt " << QuoteListingString(p.quit_prompt) << "\n";
  for (const auto& e : p.status_variables) {
    const std::string name = QuoteListingString(e.name);
    if (const auto* i = std::get_if<int32_t>(&e.value)) out << "status int " << name << " " << *i << "\n";
    else if (const auto* x = std::get_if<long double>(&e.value)) out << "status real " << name << " " << RealText(*x) << "\n";
    else if (const auto* b = std::get_if<uint8_t>(&e.value)) out << "status flag " << name << " " << int{*b} << "\n";
    else if (const auto* s = std::get_if<std::string>(&e.value)) out << "status str " << name << " " << QuoteListingString(*s) << "\n";
    else out << "status " << int{e.type} << " " << name << "\n";
  }
  for (const auto& d : p.folder_disks.Entries()) out << "disk " << QuoteListingString(d.folder) << " " << d.disk << "\n";
  return out.str();
}

}  // namespace orva
