// The built-in mission-script lexer definition `syntnlyzr1`, held as plain data for a builder to turn into a live analyser.
#pragma once

// Nothing here depends on the syntax engine: every value is a plain field
// named after the analyser property it feeds, so a builder can copy it
// field by field and a test can check it without an engine. Fields that the
// mission definition does not set carry the engine's default value; those
// are marked "default" in the comments. Text fields are 8-bit strings; every
// line break inside a text is CR LF.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace penwick {

// ---------------------------------------------------------------------------
// Colours: 32-bit values, red in the lowest byte, then green, then blue.

constexpr std::uint32_t MissionRgb(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
// "No colour": leaves the underlying colour unchanged.
constexpr std::uint32_t kMissionClNone = 0x1FFFFFFFu;

// ---------------------------------------------------------------------------
// Enumerations. Scoped so that they can sit beside the engine's own
// enumerations of the same value names; the enumerator order is the
// declaration order of the engine's types (and so their stream order).

// Which part of a style is applied.
enum class TMissionFormatType { ftCustomFont, ftFontAttr, ftColor, ftBackGround };
enum class TMissionVertAlignment { vaTop, vaCenter, vaBottom };
enum class TMissionBorderType {
  blNone, blSolid, blDash, blDot, blDashDot, blDashDotDot, blSolid2, blSolid3, blWavyLine, blDouble
};
enum class TMissionChangeCase { ccNone, ccUpper, ccLower, ccToggle, ccTitle };

// Font style bits (a set).
enum class TMissionFontStyle : std::uint32_t {
  fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3
};
// Format flags (a set): which attributes a style takes part in. Bit n is the
// n-th member in the engine's declaration order.
enum class TMissionFormatFlag : std::uint32_t {
  ffBold = 1u << 0, ffItalic = 1u << 1, ffUnderline = 1u << 2, ffStrikeOut = 1u << 3,
  ffReadOnly = 1u << 4, ffHidden = 1u << 5, ffFontName = 1u << 6, ffFontSize = 1u << 7,
  ffFontCharset = 1u << 8, ffVertAlign = 1u << 9
};

constexpr std::uint32_t MissionBit(TMissionFontStyle s) { return static_cast<std::uint32_t>(s); }
constexpr std::uint32_t MissionBit(TMissionFormatFlag f) { return static_cast<std::uint32_t>(f); }

// The flag set "six": the four font styles plus read-only and hidden.
constexpr std::uint32_t kMissionFlagsSix =
    MissionBit(TMissionFormatFlag::ffBold) | MissionBit(TMissionFormatFlag::ffItalic) |
    MissionBit(TMissionFormatFlag::ffUnderline) | MissionBit(TMissionFormatFlag::ffStrikeOut) |
    MissionBit(TMissionFormatFlag::ffReadOnly) | MissionBit(TMissionFormatFlag::ffHidden);
// The flag set "all": every one of the ten flags (also the engine's default).
constexpr std::uint32_t kMissionFlagsAll =
    kMissionFlagsSix | MissionBit(TMissionFormatFlag::ffFontName) |
    MissionBit(TMissionFormatFlag::ffFontSize) | MissionBit(TMissionFormatFlag::ffFontCharset) |
    MissionBit(TMissionFormatFlag::ffVertAlign);

enum class TMissionBlockType { btTagDetect, btLineBreak, btRangeStart, btRangeEnd };
enum class TMissionLinePos { lbTop, lbBottom };
enum class TMissionDynHighlight { dhNone, dhBound, dhRangeNoBound, dhRange };
enum class TMissionHighlightPos { cpAny, cpBound, cpBoundTag, cpRange, cpBoundTagBegin, cpOutOfRange };
enum class TMissionAutoCloseMode { acmDisabled, acmCloseNearest, acmCloseOpened };
enum class TMissionCondType { tcEqual, tcNotEqual, tcMask, tcSkip };

// Token type numbers of the mission lexer (indexes into TokenTypeNames).
enum TMissionTokenType : int {
  mttUnknown = 0, mttComment = 1, mttIdentifier = 2, mttSymbol = 3, mttString = 4,
  mttInteger = 5, mttFloat = 6, mttHex = 7, mttChar = 8, mttPreprocessor = 9
};
// Bit of a token type in a condition's TokenTypes set.
constexpr std::uint32_t MissionTypeBit(int tokenType) { return 1u << (tokenType % 32); }

// ---------------------------------------------------------------------------
// Styles.

struct TMissionFontData {
  std::string Name = "Courier New";
  int Size = 10;        // points (10 pt at 96 dpi is 13 pixels)
  int HeightPx = 13;    // character height in pixels, the same size in device units
  std::uint32_t Color = 0;   // text colour
  std::uint32_t Style = 0;   // set of TMissionFontStyle bits
  int Charset = 1;      // 1: the system's default character set
};

// One `TSyntaxFormat`.
struct TMissionFormatData {
  std::string DisplayName;
  bool Enabled = true;                                                // default
  TMissionFontData Font;
  std::uint32_t BgColor = kMissionClNone;                             // default: no background
  TMissionVertAlignment VertAlignment = TMissionVertAlignment::vaCenter;  // default
  TMissionFormatType FormatType = TMissionFormatType::ftFontAttr;     // default
  bool Hidden = false;                                                // default
  TMissionBorderType BorderTypeLeft = TMissionBorderType::blNone;     // defaults: no borders
  TMissionBorderType BorderTypeTop = TMissionBorderType::blNone;
  TMissionBorderType BorderTypeRight = TMissionBorderType::blNone;
  TMissionBorderType BorderTypeBottom = TMissionBorderType::blNone;
  std::uint32_t BorderColorLeft = 0;                                  // defaults
  std::uint32_t BorderColorTop = 0;
  std::uint32_t BorderColorRight = 0;
  std::uint32_t BorderColorBottom = 0;
  bool MultiLineBorder = false;                                       // default
  bool ReadOnly = false;                                              // default
  TMissionChangeCase ChangeCase = TMissionChangeCase::ccNone;         // default
  std::uint32_t FormatFlags = kMissionFlagsAll;                       // set of TMissionFormatFlag bits
};

// ---------------------------------------------------------------------------
// Rules. Rules and styles refer to one another by DisplayName (exact,
// case-sensitive); an empty name refers to nothing.

// Fields shared by token rules and block rules.
struct TMissionRuleData {
  std::string DisplayName;
  bool Enabled = true;          // default
  std::string StyleName;        // style of what the rule produces; empty: none of its own
  std::string BlockName;        // block rule whose range must (NotParent: must not) enclose
  bool StrictParent = false;    // default; the named block must be the innermost range
  bool NotParent = false;       // inverts the BlockName test
  bool AlwaysEnabled = false;   // also applies while a nested lexer is active
  std::uint32_t StatesAdd = 0;      // defaults: no state bits
  std::uint32_t StatesRemove = 0;
  std::uint32_t StatesPresent = 0;
  std::uint32_t StatesAbsent = 0;
};

// One `TTokenRule`. The expression is read with the analyser's modifiers
// (case-insensitive, extended syntax: blanks and line breaks ignored, '#'
// starts a comment to the end of the line).
struct TMissionTokenRuleData : TMissionRuleData {
  int TokenType = 0;
  std::string Expression;
  int ColumnFrom = 0;   // above 0: first 1-based column where the rule applies
  int ColumnTo = 0;     // above 0: last 1-based column where the rule applies
};

// A tag list: C strings in their stored order (the engine sorts its copy).
using TMissionTagList = std::span<const char* const>;

// One `TSingleTagCondition`.
struct TMissionConditionData {
  TMissionTagList TagList;                                // empty: any text
  TMissionCondType CondType = TMissionCondType::tcEqual;  // default
  std::uint32_t TokenTypes = 0;   // bit n accepts token type n; 0 accepts every type
  bool IgnoreCase = false;        // compare tags without regard to case
};

// One `TTagBlockCondition`.
struct TMissionBlockRuleData : TMissionRuleData {
  TMissionBlockType BlockType = TMissionBlockType::btRangeStart;    // default
  std::vector<TMissionConditionData> ConditionList;  // condition 0 tests the newest token
  int IdentIndex = 0;           // default; tokens back from the anchor to the identifying token
  TMissionLinePos LinePos = TMissionLinePos::lbTop;                 // default
  int BlockOffset = 0;          // tokens before the anchor where a range starts / ends
  std::string BlockEnd;         // block rule that closes this rule's ranges
  bool EndOfTextClose = false;  // default
  bool NotCollapsed = false;    // default
  bool SameIdent = false;       // default
  bool Highlight = false;       // default
  bool InvertColors = false;    // default
  bool DisplayInTree = true;    // listed in a structure view (unused by the editor)
  std::string NameFmt;          // default
  std::string GroupFmt;         // default
  bool RefToCondEnd = false;    // default
  TMissionDynHighlight DynHighlight = TMissionDynHighlight::dhNone;  // default
  TMissionHighlightPos HighlightPos = TMissionHighlightPos::cpAny;   // always cpAny here
  bool DynSelectMin = false;    // default
  bool CancelNextRules = false; // default
  bool DrawStaple = false;      // default
  int GroupIndex = 0;           // default
  std::string CollapseFmt;      // text shown for a collapsed range ("%s0": its first token)
  bool SelfClose = false;       // default
  bool NoEndRule = false;       // default
  std::string GrammaRuleName;   // default
  int TokenType = -1;           // default; btTagDetect: new type of the claimed token if >= 0
  std::string TreeItemStyle;    // default
  std::string TreeGroupStyle;   // default
  int TreeItemImage = -1;       // default
  int TreeGroupImage = -1;      // default
  bool UseCustomPen = false;    // default (and the default pen)
  bool IgnoreAsParent = false;  // always false here
  TMissionAutoCloseMode AutoCloseMode = TMissionAutoCloseMode::acmDisabled;  // default
  std::string AutoCloseText;    // default
};

// One `TCodeTemplate`. No command inserts these; they travel with the definition.
struct TMissionCodeTemplateData {
  std::string Name;
  std::string Description;
  std::vector<std::string> Code;  // the body, one string per line
  bool Advanced = false;          // default
};

// ---------------------------------------------------------------------------
// The whole definition.

struct TMissionLexerData {
  // Collections, in their order (order is precedence for rules).
  std::vector<TMissionFormatData> Formats;
  std::vector<TMissionTokenRuleData> TokenRules;
  std::vector<TMissionBlockRuleData> BlockRules;
  std::vector<TMissionCodeTemplateData> CodeTemplates;
  // SubAnalyzers: none.

  std::vector<std::string> SampleText;
  std::vector<std::string> TokenTypeNames;
  std::vector<std::string> Gramma;   // grammar text, one string per line

  // Style names used by the editor for its own marks; none is named by the
  // mission definition (and it has no "Marked block" style), so all are empty.
  std::string MarkedBlockStyle;
  std::string SearchMatchStyle;
  std::string CurrentLineStyle;
  std::string DefaultStyleName;
  std::string CollapseStyleName;

  std::string Extentions;            // file extensions, without dots
  std::string LexerName;
  bool SkipSpaces = true;            // default
  int FullRefreshSize = 0;           // default
  std::vector<std::string> Notes;    // default: none
  bool Internal = false;             // default
  bool RestartFromLineStart = false; // default
  bool ParseEndOfLine = false;       // default
  std::string LineComment;
  bool AlwaysSyncBlockAnal = false;  // set true by the mission definition

  // The grammar as one text: its lines joined by CR LF, no trailing break.
  std::string GrammaText() const;
  // A style, token rule or block rule by exact DisplayName; nullptr if none.
  const TMissionFormatData* FindFormat(const std::string& name) const;
  const TMissionTokenRuleData* FindTokenRule(const std::string& name) const;
  const TMissionBlockRuleData* FindBlockRule(const std::string& name) const;
};

// The mission definition, built once on first use (thread-safe) and never changed.
const TMissionLexerData& MissionLexerData();

// The keyword lists, in their stored order. Each list holds a keyword once
// and no keyword stands in two lists.
TMissionTagList MissionCompilerTargets();    // rule "CompilerEnums"
TMissionTagList MissionControlWords();       // rule "Control Structs"
TMissionTagList MissionLevelBrackets();      // rule "Game Loops"
TMissionTagList MissionDeclarationTypes();   // rule "Data Types"
TMissionTagList MissionConditionCommands();  // rule "Boolean Functions"
TMissionTagList MissionCommands();           // rule "Functions"
TMissionTagList MissionConstants();          // rule "Enums"

}  // namespace penwick
