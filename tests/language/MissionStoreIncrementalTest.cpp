// Random edits in the editor's gap-buffer store: the analysis reading it through windows must equal a fresh analysis of the same text, wherever the gap lies.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "MissionAnalysisSupport.h"
#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"

namespace penwick::test {
namespace {

const std::vector<std::string> kPieces = {
    "LEVELSTART", "LEVELEND", "IF", "ENDIF", "WHILE_EXEC", "ENDWHILE", "SET", "CAR_DATA", "COUNTER", "ON",
    "rocket1", "x", "_a9", "1", "5", "1.", ".5", "128.5", "3e5", "$ff", "#13", "#ifdef A", "#endif",
    "#endif // c", "// comment", "/*", "*/", "/* block */", "'str'", "'open", "=", "(", ")", ",", ";", "+",
    "-", "/", "\r\n", "\r\n", "\r\n", "\n", "\r", " ", "  ", "\t", "e"};

std::string RandomScript(std::mt19937& rng, int pieces) {
  std::string s;
  for (int i = 0; i < pieces; ++i) {
    s += kPieces[rng() % kPieces.size()];
    if (rng() % 3) s += ' ';
  }
  return s;
}

std::string FreshDump(const std::string& text) {
  TMissionAnalysis fresh(text);
  fresh.Client->AnalyzeAll();
  return fresh.Client->DebugDump();
}

// The store, its text source and an analysis bound to it: every change
// reaches the analysis through the store's listeners.
struct TStoreAnalysis {
  explicit TStoreAnalysis(const std::string& text) : Source(Lines) {
    Lines.SetText(text);
    BuildMissionLexer(Analyzer);
    Client = Analyzer.CreateClient(&Source, nullptr);
  }
  void Insert(int at, const std::string& s) {
    Lines.InsertText(at, s);
  }
  void Delete(int at, int count) {
    count = std::min(count, Lines.TextLength() - at);
    if (count <= 0) return;
    Lines.DeleteText(at, count);
  }

  TSyntMemoStrings Lines;
  TMemoTextSource Source;
  TSyntAnalyzer Analyzer;
  std::unique_ptr<TClientSyntAnalyzer> Client;
};

void Edit(std::mt19937& rng, TStoreAnalysis& a) {
  const int size = a.Lines.TextLength();
  const int at = size ? static_cast<int>(rng() % static_cast<unsigned>(size + 1)) : 0;
  if (rng() % 3 == 0 && a.Client->TokenCount() > 0) {
    // Typing right after a token can change how it reads ("1." + "5").
    const TSyntToken& t = a.Client->Token(static_cast<int>(rng() % static_cast<unsigned>(a.Client->TokenCount())));
    a.Insert(static_cast<int>(t.EndPos), std::string(1, "0123456789.e-+/*'a_# \r\n"[rng() % 23]));
    return;
  }
  switch (rng() % 3) {
    case 0: {
      std::string piece = kPieces[rng() % kPieces.size()];
      if (rng() % 2 && piece.size() > 1) piece = piece.substr(rng() % piece.size(), 1);
      a.Insert(at, piece);
      break;
    }
    case 1:
      a.Delete(at, 1 + static_cast<int>(rng() % 6));
      break;
    default:
      a.Delete(at, 1 + static_cast<int>(rng() % 4));
      a.Insert(at, kPieces[rng() % kPieces.size()]);
      break;
  }
}

// Other readers of the store move its gap too (search closes it, a window
// asked for earlier in the text moves it back), so it may come to lie
// inside a token that block rules and the dump read later.
void MoveGap(std::mt19937& rng, TStoreAnalysis& a) {
  const int size = a.Lines.TextLength();
  switch (rng() % 3) {
    case 0:
      (void)a.Lines.ContiguousText();
      break;
    case 1: {
      int start = 0;
      (void)a.Lines.WindowFrom(static_cast<int>(rng() % static_cast<unsigned>(size + 1)), start);
      break;
    }
    default:
      break;
  }
}

TEST(MissionStoreIncremental, RandomEditsThroughTheStoreEqualFreshAnalysis) {
  std::mt19937 rng(91173u);
  for (int s = 0; s < 40; ++s) {
    TStoreAnalysis a(RandomScript(rng, 40 + static_cast<int>(rng() % 120)));
    MoveGap(rng, a);
    a.Client->AnalyzeAll();
    for (int e = 0; e < 60; ++e) {
      Edit(rng, a);
      MoveGap(rng, a);
      if (rng() % 3 == 0) {
        a.Client->AnalyzeTo(rng() % static_cast<unsigned>(a.Lines.TextLength() + 1));
        MoveGap(rng, a);
        if (rng() % 2) Edit(rng, a);
      }
      a.Client->AnalyzeAll();
      MoveGap(rng, a);
      ASSERT_TRUE(a.Client->Finished());
      const std::string problems = a.Client->CheckInvariants();
      ASSERT_TRUE(problems.empty()) << problems;
      const std::string text = a.Lines.TextRange(0, a.Lines.TextLength());
      ASSERT_EQ(FreshDump(text), a.Client->DebugDump()) << "script " << s << ", edit " << e << ", text:\n" << text;
      // With the gap moved into the middle of a token, token texts still
      // read the text, including those of tokens the gap splits.
      const int count = a.Client->TokenCount();
      if (count == 0) continue;
      const TSyntToken& inside = a.Client->Token(static_cast<int>(rng() % static_cast<unsigned>(count)));
      int start = 0;
      (void)a.Lines.WindowFrom(static_cast<int>(inside.StartPos + (inside.EndPos - inside.StartPos) / 2), start);
      for (int i = 0; i < count; ++i) {
        const TSyntToken& t = a.Client->Token(i);
        ASSERT_EQ(text.substr(t.StartPos, t.EndPos - t.StartPos), a.Client->TokenText(i)) << "token " << i;
      }
    }
  }
}

}  // namespace
}  // namespace penwick::test
