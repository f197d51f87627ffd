// The parameter readers: the only way the library looks at what the host passed.
#pragma once

#include "CommandBuffer.h"
#include "LibraryKit.h"

#include <cstdint>
#include <string>

namespace tavik::hostlib {

class Parameters {
public:
  explicit Parameters(const KitParamBlock* block) : block_(block) {}

  int Count() const;
  bool IsReference(int index) const;
  // The value, loaded through the host when passed by reference; false past the count.
  // A loaded character value owns its handle: Release() it.
  bool Load(int index, KitValue* value) const;
  static void Release(const KitValue& loaded, bool wasLoaded);

  // Integers, logicals (1 or 0) and reals truncated toward zero; false for anything else.
  bool Integer(int index, int32_t* value) const;
  bool Real(int index, double* value) const;
  // Character values only, cut to 255 bytes.
  bool String(int index, std::string* text) const;
  bool IsString(int index) const;
  bool IsNumeric(int index) const;
  bool IsObject(int index) const;

  // Every parameter from `from` on: a blank and its text or integer; then a NUL.
  void AppendRest(int from, CommandBuffer& buffer) const;

private:
  const KitParamBlock* block_;
};

// A real as an int32, truncated toward zero and held inside the range.
int32_t TruncateToInt(double value);

}  // namespace tavik::hostlib
