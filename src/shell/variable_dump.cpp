#include "shell/variable_dump.h"

#include <cmath>
#include <cstdio>

#include "core/encoding.h"
#include "script/param.h"
#include "script/param_collection.h"
#include "script/value_type.h"

namespace orva {
namespace {

const char* TypeName(uint8_t type) {
  switch (type) {
    case PT_INT: return "int";
    case PT_FLOAT: return "real";
    case PT_BOOL: return "flag";
    case PT_STR: return "str";
    default: return nullptr;
  }
}

std::string Element(const TCustomParam& value, uint8_t type, int32_t index) {
  switch (type) {
    case PT_INT: return std::to_string(value.GetIntAt(index));
    case PT_FLOAT: return RealToJson(value.GetFloatAt(index));
    case PT_BOOL: return value.GetBoolAt(index) ? "true" : "false";
    default: return TextToJson(value.GetStrAt(index));
  }
}

}  // namespace

std::string RealToJson(long double value) {
  if (std::isnan(value)) return "\"NaN\"";
  if (std::isinf(value)) return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  char text[64];
  std::snprintf(text, sizeof(text), "%.21Lg", value);
  return text;
}

std::string TextToJson(const std::string& sjis) {
  const std::string utf8 = Cp932ToUtf8(sjis);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof(escape), "\\u%04x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string DumpVariablesJson(const TParamCollection& store) {
  std::string json = "{\"variables\": [";
  bool first = true;
  for (int i = 0; i < store.Count(); ++i) {
    const TParamCollectionItem* variable = store.Var(i);
    if (variable->IsSystem() || variable->Name().rfind("____", 0) == 0) continue;
    const TCustomParam& value = *variable->Value();
    const uint8_t type = value.VarType();
    const char* type_name = TypeName(type);
    if (type_name == nullptr) continue;  // a reference shows through the variable it names
    json += first ? "\n  " : ",\n  ";
    first = false;
    json += "{\"name\": " + TextToJson(variable->Name()) + ", \"type\": \"" + type_name + "\", \"dims\": [";
    for (size_t d = 0; d < value.Dims().size(); ++d) json += (d ? ", " : "") + std::to_string(value.Dims()[d]);
    json += "], \"values\": [";
    for (int32_t e = 0; e < value.Count(); ++e) json += (e ? ", " : "") + Element(value, type, e);
    json += std::string("], \"status\": ") + (variable->Status() ? "true" : "false") + "}";
  }
  json += first ? "]}\n" : "\n]}\n";
  return json;
}

}  // namespace orva
