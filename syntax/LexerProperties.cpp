// The property tables of a lexer definition: names, defaults, what is always
// stored, and how each value reaches the definition.
#include "syntax/LexerProperties.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

using namespace stream;

template <class T>
using TDef = TStreamPropertyDef<T>;

// A property of value type V: `decode` turns a stored value into V (or
// throws), `encode` turns V into a stored value. It is stored unless it
// equals `def`; without a default it is always stored.
template <class T, class V, class Get, class Set, class Decode, class Encode>
TDef<T> Simple(const char* path, Get get, Set set, Decode decode, Encode encode, std::optional<V> def) {
  return {path,
          [=](T& target, const TStreamValue& value, TStreamLoadContext&) { set(target, static_cast<V>(decode(value))); },
          [=](const T& source) -> std::optional<TStreamValue> {
            const V value = get(source);
            if (def && value == *def) return std::nullopt;
            return encode(value);
          }};
}

template <class T, class Get, class Set>
TDef<T> Bool(const char* path, Get get, Set set, bool def) {
  return Simple<T, bool>(path, get, set, ToBool, TStreamValue::MakeBool, std::optional<bool>(def));
}

template <class T, class Get, class Set>
TDef<T> Int(const char* path, Get get, Set set, std::optional<int> def) {
  return Simple<T, int>(path, get, set, ToInt, [](int v) { return TStreamValue::MakeInteger(v); }, def);
}

template <class T, class Get, class Set>
TDef<T> Bits(const char* path, Get get, Set set) {
  return Simple<T, std::uint32_t>(path, get, set, ToBits, FromBits, std::optional<std::uint32_t>(0));
}

template <class T, class Get, class Set>
TDef<T> Color(const char* path, Get get, Set set, std::optional<std::uint32_t> def) {
  return Simple<T, std::uint32_t>(path, get, set, ToColor, FromColor, def);
}

template <class T, class Get, class Set>
TDef<T> Enum(const char* path, TNameList names, Get get, Set set, std::optional<int> def) {
  return Simple<T, int>(
      path, get, set, [names](const TStreamValue& v) { return ToEnum(v, names); },
      [names](int v) { return FromEnum(v, names); }, def);
}

// Strings are stored only when they are not empty.
template <class T, class Get, class Set>
TDef<T> String(const char* path, Get get, Set set) {
  return {path, [=](T& target, const TStreamValue& value, TStreamLoadContext&) { set(target, ToString(value)); },
          [=](const T& source) -> std::optional<TStreamValue> {
            std::string value = get(source);
            if (value.empty()) return std::nullopt;
            return TStreamValue::MakeString(std::move(value));
          }};
}

// String lists replace all their lines and are stored only when they have
// some, unless `storeEmpty` (a list whose default is not empty) has an empty
// one stored as "()".
template <class T, class Get, class Set>
TDef<T> Strings(const char* path, Get get, Set set, bool storeEmpty = false) {
  return {path, [=](T& target, const TStreamValue& value, TStreamLoadContext&) { set(target, ToStrings(value)); },
          [=](const T& source) -> std::optional<TStreamValue> {
            const std::vector<std::string>& lines = get(source);
            if (lines.empty() && !storeEmpty) return std::nullopt;
            return FromStrings(lines);
          }};
}

// The lines of one item, in order.
template <class Item>
void ApplyItem(Item& item, const TStreamPropertyTable<Item>& table, const TStreamItem& lines, TStreamLoadContext& context) {
  table.Apply(item, table.ClassName(), lines.Properties, context);
}

// A condition sorts its tags once, after all its lines (also when a line
// stops the load).
template <>
void ApplyItem(TSingleTagCondition& item, const TStreamPropertyTable<TSingleTagCondition>& table, const TStreamItem& lines,
               TStreamLoadContext& context) {
  struct TUpdateGuard {
    TSingleTagCondition& c;
    ~TUpdateGuard() { c.EndUpdate(); }
  } guard{item};
  item.BeginUpdate();
  table.Apply(item, table.ClassName(), lines.Properties, context);
}

template <class Item>
void ApplyCollection(TSyntCollection<Item>& collection, const TStreamPropertyTable<Item>& table,
                     const TStreamValue& value, TStreamLoadContext& context) {
  if (value.Kind != TStreamValueKind::Collection) throw InvalidPropertyValue();
  if (value.Items.empty()) return;
  collection.Clear();
  for (const TStreamItem& item : value.Items) ApplyItem(*collection.Add(), table, item, context);
}

template <class Item>
TStreamValue CaptureCollection(const TSyntCollection<Item>& collection, const TStreamPropertyTable<Item>& table) {
  std::vector<TStreamItem> items;
  for (int i = 0; i < collection.Count(); ++i) items.push_back({0, -1, table.Capture(*collection[i])});
  return TStreamValue::MakeCollection(std::move(items));
}

// Collections are always stored, an empty one as <>. `get` takes the owner
// const or not and gives its collection likewise.
template <class T, class Item, class Get>
TDef<T> Collection(const char* path, Get get, const TStreamPropertyTable<Item>& (*table)()) {
  return {path,
          [=](T& target, const TStreamValue& value, TStreamLoadContext& context) {
            ApplyCollection(get(target), table(), value, context);
          },
          [=](const T& source) -> std::optional<TStreamValue> {
            return CaptureCollection(get(source), table());
          }};
}

// The properties every item has, then those every rule has. The name is
// always stored, even an empty one: a new item gets a default name ("Style
// 3"), so leaving an empty name out would bring that back on the next load.
template <class T>
void AddItemProperties(std::vector<TDef<T>>& defs) {
  defs.push_back({"DisplayName", [](T& i, const TStreamValue& v, TStreamLoadContext&) { i.SetDisplayName(ToString(v)); },
                  [](const T& i) -> std::optional<TStreamValue> { return TStreamValue::MakeString(i.DisplayName()); }});
  defs.push_back(Bool<T>("Enabled", [](const T& i) { return i.Enabled(); }, [](T& i, bool v) { i.SetEnabled(v); }, true));
}

template <class T>
void AddRuleProperties(std::vector<TDef<T>>& defs) {
  AddItemProperties(defs);
  defs.push_back(String<T>("StyleName", [](const T& r) { return r.StyleName(); },
                           [](T& r, const std::string& v) { r.SetStyleName(v); }));
  defs.push_back(String<T>("BlockName", [](const T& r) { return r.BlockName(); },
                           [](T& r, const std::string& v) { r.SetBlockName(v); }));
  defs.push_back(Bool<T>("StrictParent", [](const T& r) { return r.StrictParent(); }, [](T& r, bool v) { r.SetStrictParent(v); }, false));
  defs.push_back(Bool<T>("NotParent", [](const T& r) { return r.NotParent(); }, [](T& r, bool v) { r.SetNotParent(v); }, false));
  defs.push_back(Bool<T>("AlwaysEnabled", [](const T& r) { return r.AlwaysEnabled(); }, [](T& r, bool v) { r.SetAlwaysEnabled(v); }, false));
  defs.push_back(Bits<T>("StatesAdd", [](const T& r) { return r.StatesAdd(); }, [](T& r, std::uint32_t v) { r.SetStatesAdd(v); }));
  defs.push_back(Bits<T>("StatesRemove", [](const T& r) { return r.StatesRemove(); }, [](T& r, std::uint32_t v) { r.SetStatesRemove(v); }));
  defs.push_back(Bits<T>("StatesPresent", [](const T& r) { return r.StatesPresent(); }, [](T& r, std::uint32_t v) { r.SetStatesPresent(v); }));
  defs.push_back(Bits<T>("StatesAbsent", [](const T& r) { return r.StatesAbsent(); }, [](T& r, std::uint32_t v) { r.SetStatesAbsent(v); }));
}

// A font's size in points and its height in pixels (negative: character
// height) describe the same thing at 96 dots per inch; each follows the other.
// Worked out in double: a size past about 1.6e9 points has no height in an
// int, and gets the largest one there is.
int HeightForSize(int size) {
  const double height = -std::round(size * 96.0 / 72.0);
  return static_cast<int>(std::clamp(height, double{std::numeric_limits<int>::min()}, double{std::numeric_limits<int>::max()}));
}
int SizeForHeight(int height) { return static_cast<int>(std::lround(std::abs(static_cast<double>(height)) * 72.0 / 96.0)); }

using F = TSyntaxFormat;

// Style fields are plain data: each change is told to the definition.
template <class V>
auto FormatSetter(V F::*field) {
  return [field](F& f, V v) {
    f.*field = v;
    f.Changed();
  };
}

TStreamPropertyTable<F> MakeFormatTable() {
  std::vector<TDef<F>> d;
  AddItemProperties(d);
  d.push_back({"Font.Charset",
               [](F& f, const TStreamValue& v, TStreamLoadContext&) {
                 f.Font.Charset = ToCharset(v);
                 f.Changed();
               },
               [](const F& f) -> std::optional<TStreamValue> { return FromCharset(f.Font.Charset); }});
  d.push_back(Color<F>("Font.Color", [](const F& f) { return f.Font.Color; },
                       [](F& f, std::uint32_t v) {
                         f.Font.Color = v;
                         f.Changed();
                       },
                       std::nullopt));
  d.push_back(Int<F>("Font.Height", [](const F& f) { return f.Font.Height; },
                     [](F& f, int v) {
                       f.Font.Height = v;
                       f.Font.Size = SizeForHeight(v);
                       f.Changed();
                     },
                     std::nullopt));
  d.push_back({"Font.Name",
               [](F& f, const TStreamValue& v, TStreamLoadContext&) {
                 f.Font.Name = ToString(v);
                 f.Changed();
               },
               [](const F& f) -> std::optional<TStreamValue> { return TStreamValue::MakeString(f.Font.Name); }});
  d.push_back(Enum<F>("Font.Pitch", FontPitchNames(), [](const F& f) { return f.Font.Pitch; },
                      [](F& f, int v) {
                        f.Font.Pitch = v;
                        f.Changed();
                      },
                      0));
  // Read for files that give the size in points; the height is what is written.
  d.push_back({"Font.Size",
               [](F& f, const TStreamValue& v, TStreamLoadContext&) {
                 // The size is then the one the height gives, as when the
                 // height is read back: the same for sizes of 0 and more (up
                 // to the largest height), positive for negative ones.
                 f.Font.Height = HeightForSize(ToInt(v));
                 f.Font.Size = SizeForHeight(f.Font.Height);
                 f.Changed();
               },
               nullptr});
  d.push_back({"Font.Style",
               [](F& f, const TStreamValue& v, TStreamLoadContext&) {
                 f.Font.Style = ToSet(v, FontStyleNames());
                 f.Changed();
               },
               [](const F& f) -> std::optional<TStreamValue> { return FromSet(f.Font.Style, FontStyleNames()); }});
  d.push_back(Color<F>("BgColor", [](const F& f) { return f.BgColor; }, FormatSetter(&F::BgColor), clNone));
  d.push_back(Enum<F>("VertAlignment", VertAlignmentNames(), [](const F& f) { return static_cast<int>(f.VertAlignment); },
                      [](F& f, int v) {
                        f.VertAlignment = static_cast<TVertAlignment>(v);
                        f.Changed();
                      },
                      vaCenter));
  d.push_back(Enum<F>("FormatType", FormatTypeNames(), [](const F& f) { return static_cast<int>(f.FormatType); },
                      [](F& f, int v) {
                        f.FormatType = static_cast<TFormatType>(v);
                        f.Changed();
                      },
                      ftFontAttr));
  d.push_back(Bool<F>("Hidden", [](const F& f) { return f.Hidden; }, FormatSetter(&F::Hidden), false));
  struct TSide {
    const char* Type;
    const char* Color;
    TBorderLineType F::*TypeField;
    std::uint32_t F::*ColorField;
  };
  static constexpr TSide kSides[] = {
      {"BorderTypeLeft", "BorderColorLeft", &F::BorderTypeLeft, &F::BorderColorLeft},
      {"BorderTypeTop", "BorderColorTop", &F::BorderTypeTop, &F::BorderColorTop},
      {"BorderTypeRight", "BorderColorRight", &F::BorderTypeRight, &F::BorderColorRight},
      {"BorderTypeBottom", "BorderColorBottom", &F::BorderTypeBottom, &F::BorderColorBottom},
  };
  for (const TSide& side : kSides) {
    const auto typeField = side.TypeField;
    d.push_back(Enum<F>(side.Type, BorderLineNames(), [typeField](const F& f) { return static_cast<int>(f.*typeField); },
                        [typeField](F& f, int v) {
                          f.*typeField = static_cast<TBorderLineType>(v);
                          f.Changed();
                        },
                        blNone));
    const auto colorField = side.ColorField;
    d.push_back(Color<F>(side.Color, [colorField](const F& f) { return f.*colorField; }, FormatSetter(colorField), 0u));
  }
  d.push_back(Bool<F>("MultiLineBorder", [](const F& f) { return f.MultiLineBorder; }, FormatSetter(&F::MultiLineBorder), false));
  d.push_back(Bool<F>("ReadOnly", [](const F& f) { return f.ReadOnly; }, FormatSetter(&F::ReadOnly), false));
  d.push_back(Enum<F>("ChangeCase", ChangeCaseNames(), [](const F& f) { return static_cast<int>(f.ChangeCase); },
                      [](F& f, int v) {
                        f.ChangeCase = static_cast<TChangeCase>(v);
                        f.Changed();
                      },
                      ccNone));
  d.push_back(Simple<F, std::uint32_t>(
      "FormatFlags", [](const F& f) { return f.FormatFlags; }, FormatSetter(&F::FormatFlags),
      [](const TStreamValue& v) { return ToSet(v, FormatFlagNames()); },
      [](std::uint32_t v) { return FromSet(v, FormatFlagNames()); }, std::optional<std::uint32_t>(kAllFormatFlags)));
  return TStreamPropertyTable<F>("TSyntaxFormat", std::move(d));
}

using TR = TTokenRule;

TStreamPropertyTable<TR> MakeTokenRuleTable() {
  std::vector<TDef<TR>> d;
  AddRuleProperties(d);
  d.push_back(Int<TR>("TokenType", [](const TR& r) { return r.TokenType(); }, [](TR& r, int v) { r.SetTokenType(v); }, 0));
  d.push_back(String<TR>("Expression", [](const TR& r) { return r.Expression(); },
                         [](TR& r, const std::string& v) { r.SetExpression(v); }));
  d.push_back(Int<TR>("ColumnFrom", [](const TR& r) { return r.ColumnFrom(); }, [](TR& r, int v) { r.SetColumnFrom(v); }, std::nullopt));
  d.push_back(Int<TR>("ColumnTo", [](const TR& r) { return r.ColumnTo(); }, [](TR& r, int v) { r.SetColumnTo(v); }, std::nullopt));
  return TStreamPropertyTable<TR>("TTokenRule", std::move(d));
}

using B = TTagBlockCondition;

#define BLOCK_BOOL(Name, def) \
  Bool<B>(#Name, [](const B& r) { return r.Name(); }, [](B& r, bool v) { r.Set##Name(v); }, def)
#define BLOCK_INT(Name, def) \
  Int<B>(#Name, [](const B& r) { return r.Name(); }, [](B& r, int v) { r.Set##Name(v); }, def)
#define BLOCK_STRING(Name) \
  String<B>(#Name, [](const B& r) { return r.Name(); }, [](B& r, const std::string& v) { r.Set##Name(v); })
#define BLOCK_ENUM(Name, Type, names, def)                                                    \
  Enum<B>(#Name, names, [](const B& r) { return static_cast<int>(r.Name()); },                \
          [](B& r, int v) { r.Set##Name(static_cast<Type>(v)); }, def)

TStreamPropertyTable<B> MakeBlockRuleTable() {
  std::vector<TDef<B>> d;
  AddRuleProperties(d);
  d.push_back(BLOCK_ENUM(BlockType, TTagBlockType, BlockTypeNames(), btRangeStart));
  d.push_back(Collection<B, TSingleTagCondition>("ConditionList", [](auto& r) -> auto& { return r.ConditionList(); },
                                                 &ConditionProperties));
  d.push_back(BLOCK_INT(IdentIndex, 0));
  d.push_back(BLOCK_ENUM(LinePos, TLineBreakPos, LinePosNames(), lbTop));
  d.push_back(BLOCK_INT(BlockOffset, 0));
  d.push_back(BLOCK_STRING(BlockEnd));
  d.push_back(BLOCK_BOOL(EndOfTextClose, false));
  d.push_back(BLOCK_BOOL(NotCollapsed, false));
  d.push_back(BLOCK_BOOL(SameIdent, false));
  d.push_back(BLOCK_BOOL(Highlight, false));
  d.push_back(BLOCK_BOOL(InvertColors, false));
  d.push_back(BLOCK_BOOL(DisplayInTree, true));
  d.push_back(BLOCK_STRING(NameFmt));
  d.push_back(BLOCK_STRING(GroupFmt));
  d.push_back(BLOCK_BOOL(RefToCondEnd, false));
  d.push_back(BLOCK_ENUM(DynHighlight, TDynamicHighlight, DynHighlightNames(), dhNone));
  d.push_back(BLOCK_ENUM(HighlightPos, THighlightPos, HighlightPosNames(), std::nullopt));
  d.push_back(BLOCK_BOOL(DynSelectMin, false));
  d.push_back(BLOCK_BOOL(CancelNextRules, false));
  d.push_back(BLOCK_BOOL(DrawStaple, false));
  d.push_back(BLOCK_INT(GroupIndex, 0));
  d.push_back(BLOCK_STRING(CollapseFmt));
  d.push_back(BLOCK_BOOL(SelfClose, false));
  d.push_back(BLOCK_BOOL(NoEndRule, false));
  d.push_back(BLOCK_STRING(GrammaRuleName));
  d.push_back(BLOCK_INT(TokenType, -1));
  d.push_back(BLOCK_STRING(TreeItemStyle));
  d.push_back(BLOCK_STRING(TreeGroupStyle));
  d.push_back(BLOCK_INT(TreeItemImage, -1));
  d.push_back(BLOCK_INT(TreeGroupImage, -1));
  const TSyntPen pen;
  d.push_back(Color<B>("Pen.Color", [](const B& r) { return r.Pen().Color; },
                       [](B& r, std::uint32_t v) {
                         r.Pen().Color = v;
                         r.Changed();
                       },
                       pen.Color));
  d.push_back(Enum<B>("Pen.Mode", PenModeNames(), [](const B& r) { return r.Pen().Mode; },
                      [](B& r, int v) {
                        r.Pen().Mode = v;
                        r.Changed();
                      },
                      pen.Mode));
  d.push_back(Enum<B>("Pen.Style", PenStyleNames(), [](const B& r) { return r.Pen().Style; },
                      [](B& r, int v) {
                        r.Pen().Style = v;
                        r.Changed();
                      },
                      pen.Style));
  d.push_back(Int<B>("Pen.Width", [](const B& r) { return r.Pen().Width; },
                     [](B& r, int v) {
                       r.Pen().Width = v;
                       r.Changed();
                     },
                     pen.Width));
  d.push_back(BLOCK_BOOL(UseCustomPen, false));
  d.push_back(Bool<B>("IgnoreAsParent", [](const B& r) { return r.IgnoreAsParent(); },
                      [](B& r, bool v) { r.SetIgnoreAsParent(v); }, false));
  d.back().Capture = [](const B& r) -> std::optional<TStreamValue> { return TStreamValue::MakeBool(r.IgnoreAsParent()); };
  d.push_back(BLOCK_ENUM(AutoCloseMode, TAutoCloseMode, AutoCloseModeNames(), acmDisabled));
  d.push_back(BLOCK_STRING(AutoCloseText));
  return TStreamPropertyTable<B>("TTagBlockCondition", std::move(d));
}

#undef BLOCK_BOOL
#undef BLOCK_INT
#undef BLOCK_STRING
#undef BLOCK_ENUM

using C = TSingleTagCondition;

TStreamPropertyTable<C> MakeConditionTable() {
  std::vector<TDef<C>> d;
  d.push_back(Strings<C>("TagList.Strings", [](const C& c) -> const std::vector<std::string>& { return c.TagList(); },
                         [](C& c, const std::vector<std::string>& v) { c.SetTagList(v); }));
  d.push_back(Enum<C>("CondType", CondTypeNames(), [](const C& c) { return static_cast<int>(c.CondType()); },
                      [](C& c, int v) { c.SetCondType(static_cast<TTagConditionType>(v)); }, tcEqual));
  d.push_back(Bits<C>("TokenTypes", [](const C& c) { return c.TokenTypes(); }, [](C& c, std::uint32_t v) { c.SetTokenTypes(v); }));
  d.push_back(Bool<C>("IgnoreCase", [](const C& c) { return c.IgnoreCase(); }, [](C& c, bool v) { c.SetIgnoreCase(v); }, false));
  return TStreamPropertyTable<C>("TSingleTagCondition", std::move(d));
}

using CT = TCodeTemplate;

TStreamPropertyTable<CT> MakeCodeTemplateTable() {
  std::vector<TDef<CT>> d;
  d.push_back(String<CT>("Name", [](const CT& t) { return t.Name; }, [](CT& t, const std::string& v) {
    t.Name = v;
    t.Changed();
  }));
  d.push_back(String<CT>("Description", [](const CT& t) { return t.Description; }, [](CT& t, const std::string& v) {
    t.Description = v;
    t.Changed();
  }));
  d.push_back(Strings<CT>("Code.Strings", [](const CT& t) -> const std::vector<std::string>& { return t.Code; },
                          [](CT& t, const std::vector<std::string>& v) {
                            t.Code = v;
                            t.Changed();
                          }));
  d.push_back(Bool<CT>("Advanced", [](const CT& t) { return t.Advanced; }, [](CT& t, bool v) {
    t.Advanced = v;
    t.Changed();
  }, false));
  return TStreamPropertyTable<CT>("TCodeTemplate", std::move(d));
}

using A = TSyntAnalyzer;

#define ANALYZER_BOOL(Name, def) \
  Bool<A>(#Name, [](const A& a) { return a.Name(); }, [](A& a, bool v) { a.Set##Name(v); }, def)
#define ANALYZER_STRING(Name) \
  String<A>(#Name, [](const A& a) { return a.Name(); }, [](A& a, const std::string& v) { a.Set##Name(v); })

TStreamPropertyTable<A> MakeAnalyzerTable() {
  std::vector<TDef<A>> d;
  d.push_back(Int<A>("Tag", [](const A& a) { return a.Tag(); }, [](A& a, int v) { a.SetTag(v); }, 0));
  d.push_back(Collection<A, TSyntaxFormat>("Formats", [](auto& a) -> auto& { return a.Formats(); }, &FormatProperties));
  d.push_back(Collection<A, TTokenRule>("TokenRules", [](auto& a) -> auto& { return a.TokenRules(); },
                                        &TokenRuleProperties));
  d.push_back(Collection<A, TTagBlockCondition>("BlockRules", [](auto& a) -> auto& { return a.BlockRules(); },
                                                &BlockRuleProperties));
  d.push_back(Collection<A, TCodeTemplate>("CodeTemplates", [](auto& a) -> auto& { return a.CodeTemplates(); },
                                           &CodeTemplateProperties));
  // Nested lexers are not supported: only the empty collection is accepted.
  d.push_back({"SubAnalyzers",
               [](A&, const TStreamValue& v, TStreamLoadContext&) {
                 if (v.Kind != TStreamValueKind::Collection || !v.Items.empty()) throw InvalidPropertyValue();
               },
               [](const A&) -> std::optional<TStreamValue> { return TStreamValue::MakeCollection({}); }});
  d.push_back(Strings<A>("SampleText.Strings", [](const A& a) -> const std::vector<std::string>& { return a.SampleText(); },
                         [](A& a, const std::vector<std::string>& v) { a.SetSampleText(v); }));
  // A new definition names ten token types, so no names at all must be written.
  d.push_back(Strings<A>("TokenTypeNames.Strings", [](const A& a) -> const std::vector<std::string>& { return a.TokenTypeNames(); },
                         [](A& a, const std::vector<std::string>& v) { a.SetTokenTypeNames(v); }, true));
  d.push_back(String<A>("Gramma.Gramma", [](const A& a) { return a.Gramma().Gramma(); },
                        [](A& a, const std::string& v) { a.SetGrammaText(v); }));
  // A new definition looks for its marked-block style by the name "Marked
  // block", also at the end of a load that replaces the styles: the style is
  // left out when that finds it (or, with no such style, finds none), and
  // written otherwise, as '' when there is none.
  d.push_back({"MarkedBlockStyle", [](A& a, const TStreamValue& v, TStreamLoadContext&) { a.SetMarkedBlockStyle(ToString(v)); },
               [](const A& a) -> std::optional<TStreamValue> {
                 if (a.MarkedBlock() == a.Formats().Find(TSyntAnalyzer::kMarkedBlockStyleName)) return std::nullopt;
                 return TStreamValue::MakeString(a.MarkedBlockStyle());
               }});
  // The other styles are stored when they are set.
  d.push_back(ANALYZER_STRING(SearchMatchStyle));
  d.push_back(ANALYZER_STRING(CurrentLineStyle));
  d.push_back(ANALYZER_STRING(DefaultStyleName));
  d.push_back(ANALYZER_STRING(CollapseStyleName));
  d.push_back(ANALYZER_STRING(Extentions));
  d.push_back(ANALYZER_STRING(LexerName));
  d.push_back(ANALYZER_BOOL(SkipSpaces, true));
  d.push_back(Int<A>("FullRefreshSize", [](const A& a) { return a.FullRefreshSize(); },
                     [](A& a, int v) { a.SetFullRefreshSize(v); }, 0));
  d.push_back(Strings<A>("Notes.Strings", [](const A& a) -> const std::vector<std::string>& { return a.Notes(); },
                         [](A& a, const std::vector<std::string>& v) { a.SetNotes(v); }));
  d.push_back(ANALYZER_BOOL(Internal, false));
  d.push_back(ANALYZER_BOOL(RestartFromLineStart, false));
  d.push_back(ANALYZER_BOOL(ParseEndOfLine, false));
  d.push_back(ANALYZER_STRING(LineComment));
  d.push_back(ANALYZER_BOOL(AlwaysSyncBlockAnal, false));
  // A design position: kept so that it survives a round trip, of no effect.
  // Both are written when either is set.
  d.push_back({"Left", [](A& a, const TStreamValue& v, TStreamLoadContext&) { a.SetDesignLeft(ToInt(v)); },
               [](const A& a) -> std::optional<TStreamValue> {
                 if (a.DesignLeft() == 0 && a.DesignTop() == 0) return std::nullopt;
                 return TStreamValue::MakeInteger(a.DesignLeft());
               }});
  d.push_back({"Top", [](A& a, const TStreamValue& v, TStreamLoadContext&) { a.SetDesignTop(ToInt(v)); },
               [](const A& a) -> std::optional<TStreamValue> {
                 if (a.DesignLeft() == 0 && a.DesignTop() == 0) return std::nullopt;
                 return TStreamValue::MakeInteger(a.DesignTop());
               }});
  return TStreamPropertyTable<A>("TSyntAnalyzer", std::move(d));
}

#undef ANALYZER_BOOL
#undef ANALYZER_STRING

}  // namespace

const TStreamPropertyTable<TSyntAnalyzer>& AnalyzerProperties() {
  static const TStreamPropertyTable<TSyntAnalyzer> table = MakeAnalyzerTable();
  return table;
}
const TStreamPropertyTable<TSyntaxFormat>& FormatProperties() {
  static const TStreamPropertyTable<TSyntaxFormat> table = MakeFormatTable();
  return table;
}
const TStreamPropertyTable<TTokenRule>& TokenRuleProperties() {
  static const TStreamPropertyTable<TTokenRule> table = MakeTokenRuleTable();
  return table;
}
const TStreamPropertyTable<TTagBlockCondition>& BlockRuleProperties() {
  static const TStreamPropertyTable<TTagBlockCondition> table = MakeBlockRuleTable();
  return table;
}
const TStreamPropertyTable<TSingleTagCondition>& ConditionProperties() {
  static const TStreamPropertyTable<TSingleTagCondition> table = MakeConditionTable();
  return table;
}
const TStreamPropertyTable<TCodeTemplate>& CodeTemplateProperties() {
  static const TStreamPropertyTable<TCodeTemplate> table = MakeCodeTemplateTable();
  return table;
}

}  // namespace penwick
