#pragma once
// Conversions of one stored element kind to and from the four kinds getters and setters ask for.

#include <cstdint>
#include <string>
#include <string_view>

#include "script/value_text.h"

namespace orva::element {

inline int32_t ToInt(int32_t e) { return e; }
inline int32_t ToInt(long double e) { return TruncateRealToInt(e); }
inline int32_t ToInt(uint8_t e) { return e != 0 ? 1 : 0; }
inline int32_t ToInt(const std::string& e) { return ParseIntText(e).value_or(0); }

inline long double ToFloat(int32_t e) { return e; }
inline long double ToFloat(long double e) { return e; }
inline long double ToFloat(uint8_t e) { return e != 0 ? 1.0L : 0.0L; }
inline long double ToFloat(const std::string& e) { return ParseRealText(e).value_or(0.0L); }

inline bool ToBool(int32_t e) { return e != 0; }
inline bool ToBool(long double e) { return e != 0; }
inline bool ToBool(uint8_t e) { return e != 0; }
inline bool ToBool(const std::string& e) { return e == "TRUE"; }

inline std::string ToStr(int32_t e) { return FormatInt(e); }
inline std::string ToStr(long double e) { return FormatReal(e); }
inline std::string ToStr(uint8_t e) { return e != 0 ? "TRUE" : "FALSE"; }
inline std::string ToStr(const std::string& e) { return e; }

template <typename E> E FromInt(int32_t v);
template <> inline int32_t FromInt(int32_t v) { return v; }
template <> inline long double FromInt(int32_t v) { return v; }
template <> inline uint8_t FromInt(int32_t v) { return v != 0 ? 1 : 0; }
template <> inline std::string FromInt(int32_t v) { return FormatInt(v); }

template <typename E> E FromFloat(long double v);
template <> inline int32_t FromFloat(long double v) { return TruncateRealToInt(v); }
template <> inline long double FromFloat(long double v) { return v; }
template <> inline uint8_t FromFloat(long double v) { return v != 0 ? 1 : 0; }
template <> inline std::string FromFloat(long double v) { return FormatReal(v); }

template <typename E> E FromBool(bool v);
template <> inline int32_t FromBool(bool v) { return v ? 1 : 0; }
template <> inline long double FromBool(bool v) { return v ? 1.0L : 0.0L; }
template <> inline uint8_t FromBool(bool v) { return v ? 1 : 0; }
template <> inline std::string FromBool(bool v) { return v ? "TRUE" : "FALSE"; }

template <typename E> E FromStr(std::string_view v);
template <> inline int32_t FromStr(std::string_view v) { return ParseIntText(v).value_or(0); }
template <> inline long double FromStr(std::string_view v) { return ParseRealText(v).value_or(0.0L); }
template <> inline uint8_t FromStr(std::string_view v) { return v == "TRUE" ? 1 : 0; }
template <> inline std::string FromStr(std::string_view v) { return std::string(v); }

}  // namespace orva::element
