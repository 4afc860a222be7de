#include "core/encoding.h"

#include <iconv.h>

#include <cerrno>

#include "core/error.h"
#include "core/sjis.h"

namespace orva {
namespace {

// One conversion through iconv. Returns false at the first byte sequence the source encoding
// cannot convert; failed_at receives its offset.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out,
             size_t& failed_at) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw EOrvaError(std::string("iconv cannot convert ") + from);
  out.clear();
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char buffer[1024];
  bool ok = true;
  while (src_left > 0) {
    char* dst = buffer;
    size_t dst_left = sizeof(buffer);
    const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buffer, sizeof(buffer) - dst_left);
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  if (ok) {
    char* dst = buffer;
    size_t dst_left = sizeof(buffer);
    iconv(cd, nullptr, nullptr, &dst, &dst_left);
    out.append(buffer, sizeof(buffer) - dst_left);
  }
  failed_at = in.size() - src_left;
  iconv_close(cd);
  return ok;
}

}  // namespace

std::optional<std::string> TryCp932ToUtf8(std::string_view sjis) {
  std::string out;
  size_t failed_at = 0;
  if (!Convert("UTF-8", "CP932", sjis, out, failed_at)) return std::nullopt;
  return out;
}

std::optional<std::string> TryUtf8ToCp932(std::string_view utf8) {
  std::string out;
  size_t failed_at = 0;
  if (!Convert("CP932", "UTF-8", utf8, out, failed_at)) return std::nullopt;
  return out;
}

std::string Cp932ToUtf8(std::string_view sjis) {
  std::string result;
  std::string piece;
  while (!sjis.empty()) {
    size_t failed_at = 0;
    if (Convert("UTF-8", "CP932", sjis, piece, failed_at)) {
      result += piece;
      break;
    }
    result += piece;
    result += "\xEF\xBF\xBD";
    // Skip the whole character that failed: a lead byte takes its trail byte with it.
    size_t skip = sjis::CharLengthAt(sjis, failed_at);
    sjis.remove_prefix(failed_at + skip);
  }
  return result;
}

std::string Utf8ToCp932(std::string_view utf8) {
  auto converted = TryUtf8ToCp932(utf8);
  if (!converted) throw EOrvaError("text has no Shift-JIS form: " + std::string(utf8));
  return *converted;
}

}  // namespace orva
