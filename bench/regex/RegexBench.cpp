// Tokenises a generated 10 MB mission script with the lexer's ten token rules,
// once through TecRegExpr and once through PCRE2 without JIT, and prints both
// speeds and their ratio.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "language/MissionLexerData.h"
#include "syntax/ecRegExpr.h"

#include <benchmark/benchmark.h>
#include <pcre2.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using penwick::TecRegExpr;

// The mission lexer's token rules, in order, as the built-in definition holds them.
std::vector<std::string> RuleExpressions() {
  std::vector<std::string> rules;
  for (const auto& rule : penwick::MissionLexerData().TokenRules) rules.push_back(rule.Expression);
  return rules;
}
const std::vector<std::string> kRules = RuleExpressions();
const int kRuleCount = static_cast<int>(kRules.size());

// The same rules for PCRE2: \Z there allows a final newline, \z is the very end.
std::string ToPcre(std::string pattern) {
  for (size_t at = pattern.find("\\Z"); at != std::string::npos; at = pattern.find("\\Z", at)) pattern[at + 1] = 'z';
  return pattern;
}

std::string MakeScript(size_t bytes) {
  static const char* const keywords[] = {"LEVELSTART", "IF", "THEN", "ENDIF", "WHILE_EXEC", "CREATE_CAR", "PLAYER_PED",
                                         "SET", "DISPLAY_BRIEF", "IS_CHARACTER_IN_CAR", "COLLECT_02", "ON", "OFF",
                                         "GENERATOR", "THREAD_TRIGGER", "LEVELEND", "AND", "NOT", "DO_NOWT"};
  std::mt19937 random(4242);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto ident = [&] {
    std::string s = "v";
    for (int i = 0, n = 2 + pick(8); i < n; ++i) s += "abcdefghijklmnopqrstuvwxyz_0123456789"[pick(37)];
    return s;
  };
  std::string text;
  text.reserve(bytes + 256);
  while (text.size() < bytes) {
    switch (pick(10)) {
      case 0:
        text += "// " + ident() + " use smaller first value when you add lights\r\n";
        break;
      case 1:
        text += "/* block comment " + ident() + "\r\n   over two lines */\r\n";
        break;
      case 2:
        text += pick(2) ? "#ifdef PSX\r\n" : "#endif\r\n";
        break;
      case 3:
        text += "DISPLAY_BRIEF (" + std::to_string(pick(5000)) + ") 'text of " + ident() + "'\r\n";
        break;
      default: {
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string.
        std::string line = "  ";
        for (const std::string& part :
             {std::string(keywords[pick(19)]), std::string(" "), ident(), std::string(" = ("),
              std::to_string(pick(256)), std::string("."), std::to_string(pick(10)), std::string(","),
              std::to_string(pick(256)), std::string(".5) "), std::to_string(pick(100)), std::string(" "),
              std::string(keywords[pick(19)]), std::string(" $"), std::string(1, "1fA"[pick(3)]), std::string("0 "),
              std::to_string(pick(9)), std::string("e"), std::to_string(pick(9)), std::string(" 15e-3;\r\n")})
          line += part;
        text += line;
        break;
      }
    }
  }
  return text;
}

const std::string& Script() {
  static const std::string script = MakeScript(10u << 20);
  return script;
}

struct TTally {
  size_t tokens = 0;
  uint64_t hash = 1469598103934665603ull;
  void Add(int rule, size_t start, size_t length) {
    ++tokens;
    for (uint64_t v : {static_cast<uint64_t>(rule), static_cast<uint64_t>(start), static_cast<uint64_t>(length)})
      hash = (hash ^ v) * 1099511628211ull;
  }
};

// At every token start the rules are tried in order: the first match longer
// than zero wins; with none, one character is skipped.
TTally TokeniseEc(const std::string& text) {
  std::vector<TecRegExpr> rules;
  for (const std::string& rule : kRules) rules.emplace_back(rule, TecRegExpr::AnalyzerModifiers);
  TTally tally;
  const int size = static_cast<int>(text.size());
  int pos = 1;
  while (pos <= size) {
    int length = 0;
    int rule = 0;
    for (; rule < kRuleCount; ++rule) {
      length = rules[rule].MatchLength(text, pos);
      if (length > 0) break;
    }
    if (length > 0) {
      tally.Add(rule, pos - 1, length);
      pos += length;
    } else {
      ++pos;
    }
  }
  return tally;
}

struct TPcreRule {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
};

TTally TokenisePcre(const std::string& text) {
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
  std::vector<TPcreRule> rules;
  for (const std::string& rule : kRules) {
    const std::string pattern = ToPcre(rule);
    int error = 0;
    PCRE2_SIZE offset = 0;
    TPcreRule r;
    r.code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                           PCRE2_ANCHORED | PCRE2_CASELESS | PCRE2_MULTILINE | PCRE2_EXTENDED, &error, &offset,
                           context);
    if (!r.code) throw std::runtime_error("PCRE2 refused " + pattern);
    r.data = pcre2_match_data_create_from_pattern(r.code, nullptr);
    rules.push_back(r);
  }
  pcre2_compile_context_free(context);
  TTally tally;
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  size_t offset = 0;
  while (offset < text.size()) {
    size_t length = 0;
    int rule = 0;
    for (; rule < kRuleCount; ++rule) {
      if (pcre2_match(rules[rule].code, subject, text.size(), offset, 0, rules[rule].data, nullptr) >= 0) {
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(rules[rule].data);
        length = ovector[1] - ovector[0];
        if (length > 0) break;
      }
    }
    if (length > 0) {
      tally.Add(rule, offset, length);
      offset += length;
    } else {
      ++offset;
    }
  }
  for (auto& r : rules) {
    pcre2_match_data_free(r.data);
    pcre2_code_free(r.code);
  }
  return tally;
}

double g_bestEc = 0, g_bestPcre = 0;  // seconds per pass

template <TTally (*Tokenise)(const std::string&)>
void BenchTokenise(benchmark::State& state, double* best) {
  const std::string& text = Script();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    TTally tally = Tokenise(text);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (*best == 0 || seconds < *best) *best = seconds;
    benchmark::DoNotOptimize(tally);
    state.counters["tokens"] = static_cast<double>(tally.tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_TokeniseTecRegExpr(benchmark::State& state) { BenchTokenise<TokeniseEc>(state, &g_bestEc); }
void BM_TokenisePcre2NoJit(benchmark::State& state) { BenchTokenise<TokenisePcre>(state, &g_bestPcre); }

BENCHMARK(BM_TokeniseTecRegExpr)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TokenisePcre2NoJit)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  const std::string& text = Script();
  // Both engines must see the same tokens, or the comparison means nothing.
  const TTally ec = TokeniseEc(text);
  const TTally pcre = TokenisePcre(text);
  std::printf("script: %.1f MB, %zu tokens (TecRegExpr) / %zu tokens (PCRE2)%s\n", text.size() / 1048576.0, ec.tokens,
              pcre.tokens, ec.hash == pcre.hash ? ", identical" : ", DIFFERENT TOKENS");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_bestEc > 0 && g_bestPcre > 0) {
    const double mb = text.size() / 1048576.0;
    std::printf("TecRegExpr:     %8.1f MB/s\nPCRE2 (no JIT): %8.1f MB/s\nratio TecRegExpr/PCRE2: %.2f\n",
                mb / g_bestEc, mb / g_bestPcre, g_bestPcre / g_bestEc);
    std::printf("figure regex_tokenise_speed %.1f MB/s\nfigure regex_pcre2_speed %.1f MB/s\nfigure regex_speed_ratio %.2f x\n",
                mb / g_bestEc, mb / g_bestPcre, g_bestPcre / g_bestEc);
  }
  return 0;
}
