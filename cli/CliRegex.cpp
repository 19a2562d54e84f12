// penwick-cli regex: one anchored match of a pattern against a file's text.
#include "cli/CliCommand.h"
#include "platform/TextEscape.h"
#include "syntax/ecRegExpr.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>

namespace penwick::cli {

namespace {

bool ParseInt(const std::string& s, int& value) {
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, value);
  return ec == std::errc() && ptr == end && !s.empty();
}

int Usage() {
  std::cerr << "usage: penwick-cli regex [--modifiers MODS] PATTERN TEXTFILE [POS]\n";
  return ExitUsage;
}

int RunRegex(const std::vector<std::string>& args) {
  uint16_t modifiers = TecRegExpr::AnalyzerModifiers;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--modifiers") {
      if (i + 1 >= args.size()) return Usage();
      const std::string& mods = args[++i];
      int mask = 0;
      if (ParseInt(mods, mask)) {
        if (mask < 0 || mask > 0xFFFF) return Usage();
        modifiers = static_cast<uint16_t>(mask);
      } else {
        try {
          // Letters not named keep the analyser set's state.
          modifiers = TecRegExpr::ParseModifierStr(mods, TecRegExpr::AnalyzerModifiers);
        } catch (const ERegExprError&) {
          std::cerr << "penwick-cli regex: bad modifiers '" << mods << "'\n";
          return ExitUsage;
        }
      }
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() < 2 || positional.size() > 3) return Usage();
  int pos = 1;
  if (positional.size() == 3 && !ParseInt(positional[2], pos)) return Usage();

  std::ifstream in(positional[1], std::ios::binary);
  if (!in) {
    std::cerr << "Cannot open file \"" << positional[1] << "\".\n";
    return ExitError;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();

  TecRegExpr re(positional[0], modifiers);
  const int start = pos < 1 ? 1 : pos;
  int end = start;
  try {
    if (!re.Match(text, end)) {
      std::cout << "no match\n";
      return ExitOk;
    }
  } catch (const ERegExprError& e) {
    std::cerr << e.what() << '\n';
    return ExitError;
  }
  std::cout << "match\t" << end - start << '\n';
  for (int k = 0; k < re.SubExprCount(); ++k)
    std::cout << "group\t" << k << '\t' << EscapeField(re.SubExprText(text, k)) << '\n';
  return ExitOk;
}

const TCliCommandRegistration kRegistration({
    "regex",
    "[--modifiers MODS] PATTERN TEXTFILE [POS]",
    "one anchored match at POS (1-based); MODS is a mask or a string like (?igmx-rs)",
    RunRegex,
});

}  // namespace

}  // namespace penwick::cli
