// The text form of a stored component as a tree: an object with property
// lines, whose values may hold lists, sets and collections of items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace penwick {

struct TStreamItem;

enum class TStreamValueKind {
  Integer,     // decimal or $hex
  Float,       // a number with a fraction or exponent (Suffix: 0, 's', 'c' or 'd')
  String,      // quoted parts and character codes, already in the 8-bit code page
  Ident,       // a name: enumeration values, True, False, nil, named colours
  List,        // ( value ... )
  Set,         // [ name, ... ]
  Collection,  // < item ... end ... >
  Binary,      // { hex digits }
};

struct TStreamValue {
  TStreamValueKind Kind = TStreamValueKind::Integer;
  std::int64_t Integer = 0;
  double Float = 0;
  char Suffix = 0;
  std::string Text;                  // String: the bytes; Ident: the name; Binary: the bytes
  std::vector<std::string> Names;    // Set
  std::vector<TStreamValue> List;    // List
  std::vector<TStreamItem> Items;    // Collection

  static TStreamValue MakeInteger(std::int64_t value);
  static TStreamValue MakeString(std::string text);
  static TStreamValue MakeIdent(std::string name);
  static TStreamValue MakeBool(bool value);
  static TStreamValue MakeSet(std::vector<std::string> names);
  static TStreamValue MakeList(std::vector<TStreamValue> values);
  static TStreamValue MakeCollection(std::vector<TStreamItem> items);
};

// One property line: a dotted path, its value and the 1-based line it starts on.
struct TStreamProperty {
  std::string Path;
  TStreamValue Value;
  int Line = 0;
};

// One `item` block of a collection. An index written after `item` is kept
// but means nothing to a reader: items are added in the order they stand.
struct TStreamItem {
  int Line = 0;
  int Index = -1;
  std::vector<TStreamProperty> Properties;
};

// An `object` block. `Keyword` is "object", "inherited" or "inline" as
// written; `Name` may be empty; `Position` is the child position in square
// brackets, -1 when none was written.
struct TStreamObject {
  std::string Keyword = "object";
  std::string Name;
  std::string ClassName;
  int Position = -1;
  std::vector<TStreamProperty> Properties;
  std::vector<TStreamObject> Children;
};

inline TStreamValue TStreamValue::MakeInteger(std::int64_t value) {
  TStreamValue v;
  v.Kind = TStreamValueKind::Integer;
  v.Integer = value;
  return v;
}
inline TStreamValue TStreamValue::MakeString(std::string text) {
  TStreamValue v;
  v.Kind = TStreamValueKind::String;
  v.Text = std::move(text);
  return v;
}
inline TStreamValue TStreamValue::MakeIdent(std::string name) {
  TStreamValue v;
  v.Kind = TStreamValueKind::Ident;
  v.Text = std::move(name);
  return v;
}
// Defined here rather than in the class: returning a TStreamValue needs its
// destructor, which needs TStreamItem complete (clang insists on that).
inline TStreamValue TStreamValue::MakeBool(bool value) { return MakeIdent(value ? "True" : "False"); }
inline TStreamValue TStreamValue::MakeSet(std::vector<std::string> names) {
  TStreamValue v;
  v.Kind = TStreamValueKind::Set;
  v.Names = std::move(names);
  return v;
}
inline TStreamValue TStreamValue::MakeList(std::vector<TStreamValue> values) {
  TStreamValue v;
  v.Kind = TStreamValueKind::List;
  v.List = std::move(values);
  return v;
}
inline TStreamValue TStreamValue::MakeCollection(std::vector<TStreamItem> items) {
  TStreamValue v;
  v.Kind = TStreamValueKind::Collection;
  v.Items = std::move(items);
  return v;
}

}  // namespace penwick
