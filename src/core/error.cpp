#include "core/error.h"

#include "core/encoding.h"

namespace orva {

void ThrowFileMissing(const std::string& sjis_name) {
  throw EOrvaError(Cp932ToUtf8(sjis_name) + ":ファイルがありません");
}

}  // namespace orva
