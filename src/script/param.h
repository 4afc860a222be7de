#pragma once
// Values: typed, possibly multi-dimensional arrays of integers, reals, flags or strings, and
// references to other variables. Every datum a scenario computes with is one of these.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/value_type.h"

namespace orva {

class ByteReader;
class ByteWriter;
class TParamCollection;
class TParamCollectionItem;

// The root of every value. The base answers one element of integer type holding 0 and ignores
// writes; the concrete classes override everything. Element indices are flat (row-major).
class TCustomParam {
 public:
  TCustomParam() = default;
  TCustomParam(const TCustomParam&) = delete;
  TCustomParam& operator=(const TCustomParam&) = delete;
  virtual ~TCustomParam() = default;

  virtual int32_t Count() const { return 1; }
  virtual void SetCount(int32_t) {}
  virtual uint8_t VarType() const { return PT_INT; }

  // Element 0, converted.
  virtual bool GetBool() const { return false; }
  virtual long double GetFloat() const { return 0; }
  virtual int32_t GetInt() const { return 0; }
  virtual std::string GetStr() const { return {}; }
  // ClearDims, then element 0, converted.
  virtual void SetBool(bool) {}
  virtual void SetFloat(long double) {}
  virtual void SetInt(int32_t) {}
  virtual void SetStr(std::string_view) {}

  // Element i, converted; an index outside 0 .. Count-1 fails with "配列の添字が不正です".
  virtual int32_t GetIntAt(int32_t) const { return 0; }
  virtual void SetIntAt(int32_t, int32_t) {}
  virtual long double GetFloatAt(int32_t) const { return 0; }
  virtual void SetFloatAt(int32_t, long double) {}
  virtual bool GetBoolAt(int32_t) const { return false; }
  virtual void SetBoolAt(int32_t, bool) {}
  virtual std::string GetStrAt(int32_t) const { return {}; }
  virtual void SetStrAt(int32_t, std::string_view) {}

  // The number of dimensions (1 without a declared shape) and dimension i (1 outside the shape).
  virtual int32_t DimCount() const;
  virtual int32_t GetDim(int32_t index) const;

  // Copies the shape and the elements of a value of the same class, unchecked.
  virtual void Assign(const TCustomParam&) {}
  // Declares the shape; an entry of 0 or less fails with "配列の要素数[...]が不正です".
  virtual void SetDims(std::span<const int32_t> dims);

  // Each class fills with the one of its own element kind; the others do nothing.
  virtual void FillInt(int32_t) {}
  virtual void FillFloat(long double) {}
  virtual void FillBool(bool) {}
  virtual void FillStr(std::string_view) {}

  // Same-class copy; another class fails with "CopyMem:変数の型があいません".
  virtual void CopyFrom(const TCustomParam& other);

  // The value record. A reference needs the store to find its target when read.
  virtual void WriteTo(ByteWriter& writer) const;
  virtual void ReadFrom(ByteReader& reader, const TParamCollection* store);

  // Empties a declared shape and keeps only the first element.
  virtual void ClearDims();

  // The index of the first element whose text matches s, or -1.
  virtual int32_t FindStr(std::string_view s, bool case_sensitive, bool partial) const;

  // Gives this value the source's shape and every element of it, converted to this value's kind.
  void ConvertFrom(const TCustomParam& source);

  // Back to a fresh value: no shape, one default element.
  virtual void Reset() {}

  // A reference (TParamVar): element and array operations go to the value it refers to.
  virtual bool IsReference() const { return false; }

  const std::vector<int32_t>& Dims() const { return dims_; }

 protected:
  void WriteDims(ByteWriter& writer) const;
  void ReadDims(ByteReader& reader);

  std::vector<int32_t> dims_;
};

// A fresh value of a type code (the top bit ignored): one default element, no shape; a reference
// for code 0. Codes above 4 define no value and fail.
std::unique_ptr<TCustomParam> NewParam(uint8_t type_code);

// A free-standing copy of any value (shape and elements) in a concrete class of its type;
// nothing for a value whose type is not 1 to 4.
std::unique_ptr<TCustomParam> CopyParam(const TCustomParam& value);

// Raises the error of an element index outside the value.
[[noreturn]] void ThrowBadIndex();

}  // namespace orva
