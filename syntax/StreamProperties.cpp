// Decoding and encoding of stored values, and the error policy of a load.
#include "syntax/StreamProperties.h"

#include <limits>

namespace penwick {

EPropertyCause InvalidPropertyValue() { return EPropertyCause("Invalid property value"); }

void TStreamLoadContext::Error(const std::string& message) {
  if (!m_handler || !m_handler(message)) throw EStreamReadError(message);
}

namespace stream {


bool ToBool(const TStreamValue& v) {
  if (v.Kind == TStreamValueKind::Ident) {
    if (SameName(v.Text, "True")) return true;
    if (SameName(v.Text, "False")) return false;
  }
  throw InvalidPropertyValue();
}

int ToInt(const TStreamValue& v) {
  if (v.Kind != TStreamValueKind::Integer || v.Integer < std::numeric_limits<std::int32_t>::min() ||
      v.Integer > std::numeric_limits<std::int32_t>::max())
    throw InvalidPropertyValue();
  return static_cast<int>(v.Integer);
}

std::uint32_t ToBits(const TStreamValue& v) {
  if (v.Kind != TStreamValueKind::Integer || v.Integer < std::numeric_limits<std::int32_t>::min() ||
      v.Integer > std::numeric_limits<std::uint32_t>::max())
    throw InvalidPropertyValue();
  return static_cast<std::uint32_t>(v.Integer);
}

int ToEnum(const TStreamValue& v, TNameList names) {
  if (v.Kind != TStreamValueKind::Ident) throw InvalidPropertyValue();
  const int index = IndexOfName(names, v.Text);
  if (index < 0) throw InvalidPropertyValue();
  return index;
}

std::uint32_t ToSet(const TStreamValue& v, TNameList names) {
  if (v.Kind != TStreamValueKind::Set) throw InvalidPropertyValue();
  std::uint32_t bits = 0;
  for (const std::string& name : v.Names) {
    const int index = IndexOfName(names, name);
    if (index < 0) throw InvalidPropertyValue();
    bits |= 1u << index;
  }
  return bits;
}

std::uint32_t ToColor(const TStreamValue& v) {
  if (v.Kind == TStreamValueKind::Ident) {
    if (std::optional<std::uint32_t> color = ColorByName(v.Text)) return *color;
    throw InvalidPropertyValue();
  }
  return ToBits(v);
}

int ToCharset(const TStreamValue& v) {
  if (v.Kind == TStreamValueKind::Ident) {
    if (std::optional<int> charset = CharsetByName(v.Text)) return *charset;
    throw InvalidPropertyValue();
  }
  const int charset = ToInt(v);
  if (charset < 0 || charset > 255) throw InvalidPropertyValue();
  return charset;
}

const std::string& ToString(const TStreamValue& v) {
  if (v.Kind != TStreamValueKind::String) throw InvalidPropertyValue();
  return v.Text;
}

std::vector<std::string> ToStrings(const TStreamValue& v) {
  if (v.Kind != TStreamValueKind::List) throw InvalidPropertyValue();
  std::vector<std::string> lines;
  lines.reserve(v.List.size());
  for (const TStreamValue& line : v.List) lines.push_back(ToString(line));
  return lines;
}

TStreamValue FromEnum(int value, TNameList names) {
  if (value < 0 || value >= static_cast<int>(names.size())) return TStreamValue::MakeInteger(value);
  return TStreamValue::MakeIdent(names[static_cast<std::size_t>(value)]);
}

TStreamValue FromSet(std::uint32_t bits, TNameList names) {
  std::vector<std::string> members;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (bits & (1u << i)) members.emplace_back(names[i]);
  return TStreamValue::MakeSet(std::move(members));
}

TStreamValue FromColor(std::uint32_t color) {
  std::string name = ColorName(color);
  if (!name.empty()) return TStreamValue::MakeIdent(std::move(name));
  return FromBits(color);
}

TStreamValue FromCharset(int charset) {
  std::string name = CharsetName(charset);
  if (!name.empty()) return TStreamValue::MakeIdent(std::move(name));
  return TStreamValue::MakeInteger(charset);
}

TStreamValue FromBits(std::uint32_t bits) { return TStreamValue::MakeInteger(static_cast<std::int32_t>(bits)); }

TStreamValue FromStrings(const std::vector<std::string>& lines) {
  std::vector<TStreamValue> values;
  values.reserve(lines.size());
  for (const std::string& line : lines) values.push_back(TStreamValue::MakeString(line));
  return TStreamValue::MakeList(std::move(values));
}

}  // namespace stream

}  // namespace penwick
