// libFuzzer target: reads a random text as a lexer file over a new
// definition (and, for one input in 32, over the built-in mission
// definition as well) and checks that what the definition then holds
// survives being written and read again: the saved text loads without a
// complaint, saves again to the same text, and leads its references to the
// same places. Half of the mutations change whole lines and values rather
// than bytes. Syntax errors and skipped lines are expected; any other
// exception, a crash, a sanitizer report, a load that takes over the time
// limit or a definition that does not come back the same is a finding.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "language/MissionLexer.h"
#include "syntax/StreamProperties.h"
#include "syntax/StreamTextParser.h"
#include "syntax/SyntAnalyzer.h"

using penwick::EStreamReadError;
using penwick::EStreamSyntaxError;
using penwick::TSyntAnalyzer;

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& detail) {
  std::fprintf(stderr, "lexer-file fuzz: %s\n%s\n", what.c_str(), detail.c_str());
  std::abort();
}

// The first line on which two texts differ, both versions shown.
std::string FirstDifference(const std::string& a, const std::string& b) {
  std::size_t start = 0, i = 0;
  int line = 1;
  while (i < a.size() && i < b.size() && a[i] == b[i]) {
    if (a[i] == '\n') {
      ++line;
      start = i + 1;
    }
    ++i;
  }
  auto lineOf = [start](const std::string& s) {
    const std::size_t end = s.find('\n', start);
    return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
  };
  return "line " + std::to_string(line) + ":\n  first save:  " + lineOf(a) + "\n  second save: " + lineOf(b);
}

// What a definition holds that the text of a save does not show as it is:
// where its references lead, as indexes (-1: nowhere; its five styles, then
// per rule its style and block and, for block rules, the closing rule and
// the grammar rule), and the font sizes, which follow from the heights.
std::string HiddenState(const TSyntAnalyzer& analyzer) {
  std::unordered_map<const void*, int> index{{nullptr, -1}};
  for (int i = 0; i < analyzer.Formats().Count(); ++i) index[analyzer.Formats()[i]] = i;
  for (int i = 0; i < analyzer.BlockRules().Count(); ++i) index[analyzer.BlockRules()[i]] = i;
  for (int i = 0; i < analyzer.Gramma().RuleCount(); ++i) index[analyzer.Gramma().RuleAt(i)] = i;
  std::string out;
  auto add = [&](const void* target) { out += std::to_string(index.at(target)) + ' '; };
  for (const void* style : {analyzer.MarkedBlock(), analyzer.SearchMatch(), analyzer.CurrentLine(), analyzer.DefaultStyle(),
                            analyzer.CollapseStyle()})
    add(style);
  for (int i = 0; i < analyzer.TokenRules().Count(); ++i) {
    add(analyzer.TokenRules()[i]->Style());
    add(analyzer.TokenRules()[i]->Block());
  }
  for (int i = 0; i < analyzer.BlockRules().Count(); ++i) {
    const penwick::TTagBlockCondition* rule = analyzer.BlockRules()[i];
    add(rule->Style());
    add(rule->Block());
    add(rule->BlockEndRule());
    add(rule->GrammaRule());
  }
  for (int i = 0; i < analyzer.Formats().Count(); ++i) out += "size " + std::to_string(analyzer.Formats()[i]->Font.Size) + ' ';
  return out;
}

// Loads `text` over `analyzer`, going on after every line that cannot be
// applied. Only the reader's own errors may end the load early.
void LoadTolerantly(TSyntAnalyzer& analyzer, std::string_view text) {
  try {
    analyzer.LoadFromText(text, [](const std::string&) { return true; });
  } catch (const EStreamSyntaxError&) {
  } catch (const EStreamReadError& e) {
    // Expected only from a handler that answers no; this one goes on after
    // every line, so the load must not stop with it.
    Fail("a load that ignores every error stopped", e.what());
  }
}

// What a definition holds must come back the same from its own file (the
// same text when saved again, the same hidden state), and that file must
// load without a single complaint. `start` names, for the report, the
// definition the input was loaded over.
void CheckRoundTrip(const TSyntAnalyzer& analyzer, const char* start) {
  const std::string t1 = analyzer.SaveToText();
  TSyntAnalyzer reloaded;
  try {
    reloaded.LoadFromText(t1, [&](const std::string& message) -> bool {
      Fail(std::string("the saved text (input loaded over ") + start + ") does not load cleanly",
           message + "\n--- saved text ---\n" + t1);
    });
  } catch (const EStreamSyntaxError& e) {
    Fail(std::string("the saved text (input loaded over ") + start + ") has a syntax error",
         std::string(e.what()) + "\n--- saved text ---\n" + t1);
  }
  const std::string t2 = reloaded.SaveToText();
  if (t1 != t2)
    Fail(std::string("saving, loading and saving again changed the text (input loaded over ") + start + ")",
         FirstDifference(t1, t2));
  const std::string before = HiddenState(analyzer), after = HiddenState(reloaded);
  if (before != after)
    Fail(std::string("a reference or a font size changed by saving and loading (input loaded over ") + start + ")",
         "before: " + before + "\nafter:  " + after + "\n--- saved text ---\n" + t1);
}

// Building the mission definition and writing it back and reading it again
// cost some ten times what a small input does, so only the inputs whose hash
// ends in five zero bits start from it too; which ones is fixed by the
// bytes, so a finding reproduces.
bool StartsFromMission(std::string_view text) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return (hash & 31u) == 0;
}

// Values that a property line may be given by the line mutations below:
// empty ones, the ends of the number ranges, and one of each other kind.
constexpr const char* kValues[] = {
    "''", "'a'", "'a'#13#10'b'", "#0", "()", "('a')", "('')", "[]", "[fsBold]", "<>", "<item end>",
    "<item DisplayName = '' end>", "0", "1", "-1", "2147483647", "-2147483648", "4294967295",
    "9223372036854775807", "$FFFFFFFF", "1.5", "True", "False", "nil", "clNone", "{00}",
};

// The lines of a text, each with its line break.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

// Half of the mutations work on whole lines, so that a file stays a file
// while its values, lines and blocks change: byte mutations alone seldom
// turn a valid file into another valid one with an unusual value in it.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
  std::minstd_rand random(seed);
  std::vector<std::string> lines = Lines(std::string_view(reinterpret_cast<const char*>(data), size));
  if (random() % 2 == 0 || lines.empty()) return LLVMFuzzerMutate(data, size, maxSize);
  auto any = [&random](std::size_t count) { return static_cast<std::size_t>(random() % count); };
  const std::size_t at = any(lines.size());
  switch (random() % 4) {
    case 0: {  // a new value for a property line
      std::string& line = lines[at];
      const std::size_t equals = line.find(" = ");
      if (equals == std::string::npos) return LLVMFuzzerMutate(data, size, maxSize);
      const bool cr = line.size() >= 2 && line[line.size() - 2] == '\r';
      const bool lf = !line.empty() && line.back() == '\n';
      line = line.substr(0, equals + 3) + kValues[any(std::size(kValues))] + (cr ? "\r" : "") + (lf ? "\n" : "");
      break;
    }
    case 1:  // a line twice
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(any(lines.size() + 1)), lines[at]);
      break;
    case 2:  // a line less
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
      break;
    default: {  // a run of lines copied elsewhere
      const std::size_t count = 1 + any(std::min<std::size_t>(12, lines.size() - at));
      const std::vector<std::string> run(lines.begin() + static_cast<std::ptrdiff_t>(at),
                                         lines.begin() + static_cast<std::ptrdiff_t>(at + count));
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(any(lines.size() + 1)), run.begin(), run.end());
      break;
    }
  }
  std::string text;
  for (const std::string& line : lines) text += line;
  if (text.size() > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
  std::memcpy(data, text.data(), text.size());
  return text.size();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  {
    TSyntAnalyzer analyzer;
    LoadTolerantly(analyzer, text);
    CheckRoundTrip(analyzer, "a new definition");
  }
  if (StartsFromMission(text)) {
    TSyntAnalyzer analyzer;
    penwick::BuildMissionLexer(analyzer);
    LoadTolerantly(analyzer, text);
    CheckRoundTrip(analyzer, "the mission definition");
  }
  return 0;
}
