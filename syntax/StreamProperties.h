// Stored properties of a class as a table: how each property path is
// applied from a stored value and captured into one. The same table drives
// reading and writing, so the two cannot disagree on names or order.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "syntax/StreamNames.h"
#include "syntax/StreamTree.h"

namespace penwick {

// Why one property line could not be applied ("Invalid property value", ...).
class EPropertyCause : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
EPropertyCause InvalidPropertyValue();

// A property error the user chose not to ignore; the load stops with it.
class EStreamReadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// What a load does with a line it cannot apply. The handler gets the whole
// error text ("Error reading <owner>.<path>: <cause>") and answers whether to
// go on with the next line; when it answers no, Error throws EStreamReadError.
class TStreamLoadContext {
public:
  using THandler = std::function<bool(const std::string& message)>;
  explicit TStreamLoadContext(THandler handler) : m_handler(std::move(handler)) {}
  void Error(const std::string& message);

private:
  THandler m_handler;
};

template <class T>
struct TStreamPropertyDef {
  std::string Path;
  // Throws EPropertyCause for a value the property cannot take; the target
  // keeps its old value then.
  std::function<void(T& target, const TStreamValue& value, TStreamLoadContext& context)> Apply;
  // The value to store, or nullopt when it is not stored (a default).
  std::function<std::optional<TStreamValue>(const T& source)> Capture;
};

template <class T>
class TStreamPropertyTable {
public:
  TStreamPropertyTable(std::string className, std::vector<TStreamPropertyDef<T>> defs)
      : m_className(std::move(className)), m_defs(std::move(defs)) {}

  const std::string& ClassName() const { return m_className; }

  // Applies the lines in order. A line that cannot be applied (no such
  // property, a path through a property that is not an object, a value of
  // the wrong kind) is skipped and reported to `context` as
  // "Error reading <ownerName>.<path>: <cause>".
  void Apply(T& target, const std::string& ownerName, const std::vector<TStreamProperty>& lines,
             TStreamLoadContext& context) const {
    for (const TStreamProperty& line : lines) {
      try {
        Find(line.Path).Apply(target, line.Value, context);
      } catch (const EPropertyCause& cause) {
        context.Error("Error reading " + ownerName + "." + line.Path + ": " + cause.what());
      }
    }
  }

  // The stored properties of `source`, in table order.
  std::vector<TStreamProperty> Capture(const T& source) const {
    std::vector<TStreamProperty> lines;
    for (const TStreamPropertyDef<T>& def : m_defs) {
      if (!def.Capture) continue;
      if (std::optional<TStreamValue> value = def.Capture(source)) lines.push_back({def.Path, std::move(*value), 0});
    }
    return lines;
  }

private:
  const TStreamPropertyDef<T>& Find(const std::string& path) const {
    for (const TStreamPropertyDef<T>& def : m_defs)
      if (SamePath(def.Path, path)) return def;
    throw PathCause(path);
  }

  // The cause for a path that names no property: the first of its names that
  // does not exist, or a walk through a property that is not an object.
  EPropertyCause PathCause(const std::string& path) const {
    std::string prefix;
    std::size_t start = 0;
    for (;;) {
      const std::size_t dot = path.find('.', start);
      const std::string name = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
      prefix += (prefix.empty() ? "" : ".") + name;
      bool isObject = false, isValue = false;
      for (const TStreamPropertyDef<T>& def : m_defs) {
        if (SamePath(def.Path, prefix)) isValue = true;
        if (def.Path.size() > prefix.size() && def.Path[prefix.size()] == '.' &&
            SamePath(def.Path.substr(0, prefix.size()), prefix))
          isObject = true;
      }
      if (dot == std::string::npos) return isObject ? InvalidPropertyValue() : NoSuchProperty(name);
      if (isValue && !isObject) return EPropertyCause("Invalid property path");
      if (!isObject) return NoSuchProperty(name);
      start = dot + 1;
    }
  }

  static EPropertyCause NoSuchProperty(const std::string& name) {
    return EPropertyCause("Property " + name + " does not exist");
  }
  static bool SamePath(const std::string& a, const std::string& b) { return SameName(a, b); }

  std::string m_className;
  std::vector<TStreamPropertyDef<T>> m_defs;
};

// Decoding stored values; each throws InvalidPropertyValue() for a value of
// the wrong kind or out of range.
namespace stream {
bool ToBool(const TStreamValue& v);
int ToInt(const TStreamValue& v);                  // a 32-bit signed integer
std::uint32_t ToBits(const TStreamValue& v);       // 32 bits, written signed or unsigned
int ToEnum(const TStreamValue& v, TNameList names);
std::uint32_t ToSet(const TStreamValue& v, TNameList names);
std::uint32_t ToColor(const TStreamValue& v);      // a named colour or a number
int ToCharset(const TStreamValue& v);              // a named character set or 0..255
const std::string& ToString(const TStreamValue& v);
std::vector<std::string> ToStrings(const TStreamValue& v);  // a list of strings

// Encoding for storage.
TStreamValue FromEnum(int value, TNameList names);
TStreamValue FromSet(std::uint32_t bits, TNameList names);
TStreamValue FromColor(std::uint32_t color);       // its name when it has one
TStreamValue FromCharset(int charset);
TStreamValue FromBits(std::uint32_t bits);         // signed 32-bit decimal
TStreamValue FromStrings(const std::vector<std::string>& lines);
}  // namespace stream

}  // namespace penwick
