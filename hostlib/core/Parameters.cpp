#include "Parameters.h"

#include "KitLibrary.h"

#include <cmath>
#include <cstring>

namespace tavik::hostlib {
namespace {

constexpr std::size_t kMaxString = 255;

bool CharacterText(const KitValue& value, std::string* text) {
  const KitHostServices* host = kit::Host();
  if (value.type != kKitCharacter || !host || value.length < 0) return false;
  text->clear();
  if (value.length == 0) return true;
  const void* data = host->HandToPtr(value.handle);
  if (!data) return false;
  // The host says how long the data is; the handle says how much is really there.
  std::size_t length = static_cast<std::size_t>(value.length);
  const uint32_t real = host->GetHandSize(value.handle);
  if (length > real) length = real;
  if (length > kMaxString) length = kMaxString;
  text->assign(static_cast<const char*>(data), length);
  // The library's texts are C strings: an embedded NUL ends them.
  text->resize(std::strlen(text->c_str()));
  return true;
}

bool IntegerOf(const KitValue& value, int32_t* out) {
  switch (value.type) {
    case kKitInteger: *out = value.integer; return true;
    case kKitLogical: *out = value.integer ? 1 : 0; return true;
    case kKitNumeric: *out = TruncateToInt(value.real); return true;
    default: return false;
  }
}

}  // namespace

int32_t TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(std::trunc(value));
}

int Parameters::Count() const {
  if (!block_ || block_->count < 0) return 0;
  return block_->count > kKitMaxParameters ? kKitMaxParameters : block_->count;
}

bool Parameters::IsReference(int index) const {
  return index >= 0 && index < Count() && block_->p[index].kind == 'R';
}

bool Parameters::Load(int index, KitValue* value) const {
  if (index < 0 || index >= Count()) return false;
  const KitParameter& p = block_->p[index];
  if (p.kind != 'R') {
    *value = p.value;
    return true;
  }
  const KitHostServices* host = kit::Host();
  *value = KitValue{};
  return host && host->Load(&p.locator, value) == 0;
}

void Parameters::Release(const KitValue& loaded, bool wasLoaded) {
  if (wasLoaded && loaded.type == kKitCharacter && loaded.handle != 0 && kit::Host())
    kit::Host()->FreeHand(loaded.handle);
}

bool Parameters::Integer(int index, int32_t* out) const {
  KitValue v;
  if (!Load(index, &v)) return false;
  const bool ok = IntegerOf(v, out);
  Release(v, IsReference(index));
  return ok;
}

bool Parameters::Real(int index, double* out) const {
  KitValue v;
  if (!Load(index, &v)) return false;
  bool ok = true;
  switch (v.type) {
    case kKitInteger: *out = v.integer; break;
    case kKitLogical: *out = v.integer ? 1.0 : 0.0; break;
    case kKitNumeric: *out = v.real; break;
    default: ok = false;
  }
  Release(v, IsReference(index));
  return ok;
}

bool Parameters::String(int index, std::string* text) const {
  KitValue v;
  if (!Load(index, &v)) return false;
  const bool ok = CharacterText(v, text);
  Release(v, IsReference(index));
  return ok;
}

bool Parameters::IsString(int index) const {
  std::string ignored;
  return String(index, &ignored);
}

bool Parameters::IsNumeric(int index) const {
  int32_t ignored;
  return Integer(index, &ignored);
}

bool Parameters::IsObject(int index) const {
  KitValue v;
  if (!Load(index, &v)) return false;
  Release(v, IsReference(index));
  return v.type == kKitObject;
}

void Parameters::AppendRest(int from, CommandBuffer& buffer) const {
  for (int i = from; i < Count(); ++i) {
    std::string text;
    int32_t number;
    if (String(i, &text)) {
      buffer.AppendString(" ");
      buffer.AppendString(text);
    } else if (Integer(i, &number)) {
      buffer.AppendArg(number);
    }
  }
  buffer.AppendChar(0);
}

}  // namespace tavik::hostlib
