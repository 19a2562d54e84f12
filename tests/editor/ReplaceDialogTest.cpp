// The replace component: Replace All as one undo step, the question per
// match with its answers and placement, group templates, and a column
// block that keeps every replacement inside it.
#include <gtest/gtest.h>

#include <random>

#include "editor/MemoTextSource.h"
#include "editor/SyntReplaceDialog.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/ManualScheduler.h"
#include "syntax/SyntAnalyzer.h"
#include "tests/editor/SearchTestSupport.h"

namespace penwick {
namespace {

struct TReplaceFixture {
  TTestSearchControl Control;
  TSyntReplaceDialog Replace;

  explicit TReplaceFixture(const std::string& text) : Control(text) { Replace.SetControl(&Control); }
  TScriptedSearchForms& Forms() { return Control.ScriptedForms; }
  // Runs the form once, typing `find` and `with`, with the given extra options.
  bool Run(TFindFormResult result, const std::string& find, const std::string& with,
           std::function<void(TFindFormData&)> edit = {}) {
    Forms().FindAnswers.push_back(Answer(result, [=](TFindFormData& d) {
      d.Text = find;
      d.ReplaceText = with;
      if (edit) edit(d);
    }));
    return Replace.Execute();
  }
};

TEST(ReplaceDialog, ReplaceAllByNothingEmptiesTheTextAndOneUndoRestoresIt) {
  TReplaceFixture f("aaa");
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", ""));
  EXPECT_EQ("", f.Control.Text());
  EXPECT_TRUE(f.Forms().Questions.empty());
  EXPECT_TRUE(f.Forms().FindShown[0].Replace);
  f.Control.Editor.Undo();
  EXPECT_EQ("aaa", f.Control.Text());
  EXPECT_FALSE(f.Control.Editor.CanUndo());
}

TEST(ReplaceDialog, ReplaceAllWithLongerTextMovesTheRangeEndAndTheCaret) {
  TReplaceFixture f("a-a-a tail a");
  f.Control.Editor.SetCaretStrPos(0);
  f.Control.Editor.SetSelection(0, 5);  // "a-a-a"
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", "xyz"));
  EXPECT_EQ("xyz-xyz-xyz tail a", f.Control.Text());
  EXPECT_EQ(11, f.Control.Caret());  // right after the last replacement
  // OK replaces only the first match after the caret.
  f.Control.Editor.SetSelection(12, 0);
  f.Control.Editor.SetCaretStrPos(12);
  ASSERT_TRUE(f.Run(TFindFormResult::OK, "a", "b"));
  EXPECT_EQ("xyz-xyz-xyz tbil a", f.Control.Text());
  EXPECT_EQ(14, f.Control.Caret());
}

TEST(ReplaceDialog, AnsweringNoToEveryQuestionChangesNothingAndReportsNothing) {
  TReplaceFixture f("one a two a three a");
  f.Forms().ReplaceAnswers = {TDialogAnswer::No, TDialogAnswer::No, TDialogAnswer::No};
  ASSERT_TRUE(f.Run(TFindFormResult::All, "A", "X", [](TFindFormData& d) { d.PromptOnReplace = true; }));
  EXPECT_EQ("one a two a three a", f.Control.Text());
  EXPECT_EQ(3u, f.Forms().Questions.size());
  EXPECT_TRUE(f.Forms().Informations.empty());
  EXPECT_FALSE(f.Control.Editor.CanUndo());
}

TEST(ReplaceDialog, AllAnswersTheCurrentAndEveryLaterMatchAndCancelStops) {
  TReplaceFixture f("a1 a2 a3 a4");
  f.Forms().ReplaceAnswers = {TDialogAnswer::No, TDialogAnswer::Yes, TDialogAnswer::All};
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", "b", [](TFindFormData& d) { d.PromptOnReplace = true; }));
  EXPECT_EQ("a1 b2 b3 b4", f.Control.Text());
  EXPECT_EQ(3u, f.Forms().Questions.size());
  EXPECT_EQ("Replace this occurence of 'a'?", f.Forms().Questions[0]);
  // The question stands by the match: x of its first character, its line's top and bottom.
  EXPECT_EQ(100 + 8 * 3, f.Forms().Anchors[1].X);
  EXPECT_EQ(200, f.Forms().Anchors[1].LineTop);
  EXPECT_EQ(216, f.Forms().Anchors[1].LineBottom);
  EXPECT_TRUE(f.Forms().Anchors[1].AutoPlace);
  f.Control.Editor.Undo();
  EXPECT_EQ("a1 a2 a3 a4", f.Control.Text());
  // Cancel ends the run with what was replaced so far.
  f.Replace.SetAutoPosPrompt(false);
  f.Control.Editor.SetCaretStrPos(0);
  f.Forms().ReplaceAnswers = {TDialogAnswer::Yes, TDialogAnswer::Cancel};
  f.Run(TFindFormResult::All, "a", "b", [](TFindFormData& d) { d.PromptOnReplace = true; });
  EXPECT_EQ("b1 a2 a3 a4", f.Control.Text());
  EXPECT_FALSE(f.Forms().Anchors.back().AutoPlace);
  EXPECT_TRUE(f.Forms().ReplaceAnswers.empty());
}

TEST(ReplaceDialog, TheQuestionShowsTheMatchFirst) {
  TReplaceFixture f("xx a yy a");
  std::vector<TSearchMark> marksWhileAsking;
  int caretWhileAsking = -1;
  f.Forms().WhileAsking = [&] {
    marksWhileAsking = f.Control.MarkList();
    caretWhileAsking = f.Control.Caret();
  };
  f.Forms().ReplaceAnswers = {TDialogAnswer::Cancel};
  f.Run(TFindFormResult::OK, "a", "b", [](TFindFormData& d) {
    d.PromptOnReplace = true;
    d.Direction = 1;
    d.Origin = 1;
  });
  EXPECT_EQ((std::vector<TSearchMark>{{8, 9}}), marksWhileAsking);
  EXPECT_EQ(8, caretWhileAsking);
}

TEST(ReplaceDialog, GroupTemplatesApplyOnlyWithTheirOption) {
  TReplaceFixture f("CAR_DATA PED_DATA");
  ASSERT_TRUE(f.Run(TFindFormResult::All, "([A-Z]+)_DATA", "\\1", [](TFindFormData& d) {
    d.RegularExpressions = true;
    d.ReplaceWithTemplate = true;
  }));
  EXPECT_EQ("CAR PED", f.Control.Text());
  // \w takes the underscore too: the group must give back "_DATA" for the
  // rest of the pattern to match.
  TReplaceFixture w("CAR_DATA x PLAYER_PED_DATA");
  ASSERT_TRUE(w.Run(TFindFormResult::All, "(\\w+)_DATA", "\\1", [](TFindFormData& d) {
    d.RegularExpressions = true;
    d.ReplaceWithTemplate = true;
  }));
  EXPECT_EQ("CAR x PLAYER_PED", w.Control.Text());
  // Without the template option the template is inserted as it stands.
  TReplaceFixture g("CAR_DATA");
  g.Run(TFindFormResult::All, "([A-Z]+)_DATA", "\\1", [](TFindFormData& d) { d.RegularExpressions = true; });
  EXPECT_EQ("\\1", g.Control.Text());
}

TEST(ReplaceDialog, EmptyMatchesAndLineStartsAcrossReplacements) {
  TReplaceFixture f("ab\r\ncd");
  ASSERT_TRUE(f.Run(TFindFormResult::All, "^", "> ", [](TFindFormData& d) {
    d.RegularExpressions = true;
    d.Origin = 1;
  }));
  EXPECT_EQ("> ab\r\n> cd", f.Control.Text());
  TReplaceFixture g("ab");
  ASSERT_TRUE(g.Run(TFindFormResult::All, "x*", "-", [](TFindFormData& d) { d.RegularExpressions = true; }));
  EXPECT_EQ("-a-b", g.Control.Text());
  // A match right after a replacement sees the replaced text before it: no line start there.
  TReplaceFixture h("ba\r\nab");
  ASSERT_TRUE(h.Run(TFindFormResult::All, "b|^a", "x", [](TFindFormData& d) { d.RegularExpressions = true; }));
  EXPECT_EQ("xa\r\nxx", h.Control.Text());
}

TEST(ReplaceDialog, AColumnBlockReplaceChangesOnlyCharactersInsideTheBlock) {
  TReplaceFixture f("aaaa\r\naaaa\r\naaaa");
  f.Control.Editor.SetBlockRect(TBlockRect{1, 0, 3, 2});
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", "xyz"));
  EXPECT_EQ("axyzxyza\r\naxyzxyza\r\naxyzxyza", f.Control.Text());
  // A pattern match may not run past its line's part of the block.
  TReplaceFixture g("aaaa\r\nbaab");
  g.Control.Editor.SetBlockRect(TBlockRect{1, 0, 3, 1});
  ASSERT_TRUE(g.Run(TFindFormResult::All, "a+", "-", [](TFindFormData& d) { d.RegularExpressions = true; }));
  EXPECT_EQ("aaaa\r\nb-b", g.Control.Text());
  // Shrinking replacements move the later lines' parts back.
  TReplaceFixture h("abcd\r\nabcd");
  h.Control.Editor.SetBlockRect(TBlockRect{0, 0, 2, 1});
  ASSERT_TRUE(h.Run(TFindFormResult::All, "ab", ""));
  EXPECT_EQ("cd\r\ncd", h.Control.Text());
}

TEST(ReplaceDialog, AReplaceAllOverManyRangesIsOneEditBracket) {
  // One bracket for the whole run: the view updates once, not once per line
  // of the block (each close also brings the analysis to the end of the text).
  TReplaceFixture f("aaaa\r\naaaa\r\naaaa\r\naaaa");
  int updates = 0;
  TMemoEditorHooks hooks;
  hooks.UpdateView = [&] { ++updates; };
  f.Control.Editor.SetHooks(hooks);
  f.Control.Editor.SetBlockRect(TBlockRect{1, 0, 3, 3});
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", "b"));
  EXPECT_EQ("abba\r\nabba\r\nabba\r\nabba", f.Control.Text());
  EXPECT_EQ(1, updates);
  EXPECT_EQ(0, f.Control.Editor.UpdateDepth());
  // Answering All opens the bracket for the rest of the run, over the later lines too.
  updates = 0;
  f.Control.Editor.SetBlockRect(TBlockRect{1, 0, 3, 3});
  f.Forms().ReplaceAnswers = {TDialogAnswer::All};
  ASSERT_TRUE(f.Run(TFindFormResult::All, "b", "c", [](TFindFormData& d) { d.PromptOnReplace = true; }));
  EXPECT_EQ("acca\r\nacca\r\nacca\r\nacca", f.Control.Text());
  EXPECT_EQ(1, updates);
  EXPECT_EQ(0, f.Control.Editor.UpdateDepth());
}

TEST(ReplaceDialog, AReplaceRunClearsTheMarksOfAnEarlierSearch) {
  // Marks of an earlier Search All would otherwise follow every replacement
  // (each move costs all the marks: a Replace All after a Search All over a
  // big text turns quadratic) and go on marking text the run changed around.
  TReplaceFixture f("a b a b a b");
  f.Control.Marks.Add(2, 3);
  f.Control.Marks.Add(6, 7);
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", "xy"));
  EXPECT_EQ("xy b xy b xy b", f.Control.Text());
  EXPECT_TRUE(f.Control.MarkList().empty());
  // A run that finds nothing leaves them, and so does one that may not write.
  f.Control.Marks.Add(3, 4);
  EXPECT_FALSE(f.Run(TFindFormResult::All, "q", "z"));
  EXPECT_EQ((std::vector<TSearchMark>{{3, 4}}), f.Control.MarkList());
  f.Control.Editor.SetReadOnly(true);
  EXPECT_TRUE(f.Run(TFindFormResult::All, "xy", "z", [](TFindFormData& d) { d.Origin = 1; }));
  EXPECT_EQ("xy b xy b xy b", f.Control.Text());
  EXPECT_EQ((std::vector<TSearchMark>{{3, 4}}), f.Control.MarkList());
}

TEST(ReplaceDialog, TheFormCarriesTheReplaceFieldsAndHistory) {
  TReplaceFixture f("abc");
  f.Replace.SetFlags(ftRegularExpr | ftReplaceTemplate | ftPromtOnReplace);
  f.Replace.SetReplaceText("old");
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::Cancel));
  f.Replace.Execute();
  const TFindFormData& shown = f.Forms().FindShown[0];
  EXPECT_EQ("old", shown.ReplaceText);
  EXPECT_TRUE(shown.PromptOnReplace);
  EXPECT_TRUE(shown.ReplaceWithTemplate);
  f.Run(TFindFormResult::OK, "q", "new", [](TFindFormData& d) {
    d.PromptOnReplace = false;
    d.ReplaceWithTemplate = false;
    d.CaseSensitive = true;
  });
  EXPECT_EQ("new", f.Replace.ReplaceText());
  EXPECT_EQ((std::vector<std::string>{"new"}), f.Replace.ReplaceHistory());
  EXPECT_EQ(ftRegularExpr | ftCaseSensitive, f.Replace.Flags());
  EXPECT_EQ((std::vector<std::string>{"Search string 'q' not found."}), f.Forms().Informations);
}

TEST(ReplaceDialog, BackwardReplaceAllWalksToTheStartAndEnds) {
  TReplaceFixture f("// a\r\n// b");
  f.Control.Editor.SetCaretStrPos(10);
  ASSERT_TRUE(f.Run(TFindFormResult::All, "//", "#", [](TFindFormData& d) { d.Direction = 1; }));
  EXPECT_EQ("# a\r\n# b", f.Control.Text());
  EXPECT_EQ(0, f.Control.Caret());  // at the start of the last replacement
}

// Left-to-right replacement of non-overlapping occurrences in the original
// text; with `wholeWords` only occurrences not continuing a letter run.
std::string NaiveReplaceAll(const std::string& text, const std::string& pattern, const std::string& with,
                            bool wholeWords) {
  auto letter = [&](size_t at) { return at < text.size() && (text[at] == 'a' || text[at] == 'b'); };
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    const bool here = text.compare(at, pattern.size(), pattern) == 0 &&
                      (!wholeWords || ((at == 0 || !letter(at - 1)) && !letter(at + pattern.size())));
    if (here) {
      out += with;
      at += pattern.size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

TEST(ReplaceDialog, ReplaceAllAgreesWithANaiveReplacementAndUndoesInOneStep) {
  std::mt19937 random(1414);
  auto pick = [&](const char* alphabet, int low, int high) {
    std::string s(std::uniform_int_distribution<int>(low, high)(random), ' ');
    const int size = static_cast<int>(std::char_traits<char>::length(alphabet));
    for (char& c : s) c = alphabet[std::uniform_int_distribution<int>(0, size - 1)(random)];
    return s;
  };
  for (int round = 0; round < 300; ++round) {
    const std::string text = pick("aab \n", 0, 60);
    const std::string pattern = pick("ab", 1, 3);
    const bool wholeWords = round % 3 == 0;
    const std::string with = wholeWords ? pick("ab", 1, 3) : pick("abx", 0, 4);
    const bool regular = round % 2 == 0;
    TReplaceFixture f(text);
    f.Run(TFindFormResult::All, pattern, with, [&](TFindFormData& d) {
      d.CaseSensitive = true;
      d.WholeWords = wholeWords;
      d.RegularExpressions = regular;
      d.Origin = 1;
    });
    ASSERT_EQ(NaiveReplaceAll(text, pattern, with, wholeWords), f.Control.Text())
        << "text '" << text << "' pattern '" << pattern << "' with '" << with << "'" << (regular ? " regex" : "")
        << (wholeWords ? " whole words" : "");
    if (f.Control.Editor.CanUndo()) f.Control.Editor.Undo();
    ASSERT_EQ(text, f.Control.Text());
    ASSERT_FALSE(f.Control.Editor.CanUndo());
  }
}

TEST(ReplaceDialog, BackwardRunsOverLongTextsAgreeWithAScanOfAPlainString) {
  // Long texts with sparse matches, so that the editor's text is read in
  // several pieces; patterns that look at the characters around a match.
  const std::vector<std::pair<std::string, bool>> patterns = {
      {"ab", false}, {"a", false}, {"a+b", true}, {"\\bab", true}, {"b$", true}, {"^a", true}, {"b\\r\\na", true}};
  std::mt19937 random(1415);
  for (int round = 0; round < 120; ++round) {
    std::string text(std::uniform_int_distribution<int>(0, 3000)(random), ' ');
    for (char& c : text) {
      const int roll = std::uniform_int_distribution<int>(0, 99)(random);
      c = roll < 3 ? 'a' : roll < 6 ? 'b' : roll < 9 ? '\n' : 'c';
    }
    const auto& [pattern, regular] = patterns[round % patterns.size()];
    const bool wholeWords = round % 3 == 1;
    const std::string with = round % 2 ? "" : "XY";
    TTextFinder reference;
    reference.SetFindText(pattern);
    reference.SetFlags(ftCaseSensitive | ftBackward | (regular ? ftRegularExpr : 0u) | (wholeWords ? ftWholeWordOnly : 0u));
    std::string expected = text;
    std::vector<TSearchMark> expectedMarks;
    TSearchRange range{1, static_cast<int>(expected.size())};
    int ms = 0, me = 0;
    while (reference.FindInRange(expected, range, true, ms, me)) {
      expectedMarks.insert(expectedMarks.begin(), TSearchMark{ms - 1, me - 1});
      expected.replace(ms - 1, me - ms, with);
      range.EndPos = ms - 1;
    }
    auto options = [&](TFindFormData& d) {
      d.CaseSensitive = true;
      d.RegularExpressions = regular;
      d.WholeWords = wholeWords;
      d.Direction = 1;
      d.Origin = 1;
    };
    TReplaceFixture f(text);
    f.Control.Editor.SetCaretStrPos(static_cast<int>(text.size()) / 2);  // the store's gap in the middle
    f.Control.Editor.InsertText("c");
    f.Control.Editor.Undo();
    f.Forms().FindAnswers.push_back(Answer(TFindFormResult::All, [&](TFindFormData& d) {
      d.Text = pattern;
      options(d);
    }));
    TSyntFindDialog find;
    find.SetControl(&f.Control);
    find.SetAutoFill(false);
    find.Execute();
    std::vector<TSearchMark> marks = f.Control.MarkList();
    ASSERT_EQ(expectedMarks, marks) << "pattern '" << pattern << "' round " << round;
    f.Run(TFindFormResult::All, pattern, with, options);
    ASSERT_EQ(expected, f.Control.Text()) << "pattern '" << pattern << "' round " << round;
  }
}

TEST(ReplaceDialog, IdleAnalysisRestsWhileAskingAndABracketedRunIsAnalysedToTheEnd) {
  TReplaceFixture f("a b a b a b a b");
  TMemoTextSource source(f.Control.Editor.Lines());
  TSyntAnalyzer analyzer;
  TManualScheduler scheduler;
  std::unique_ptr<TClientSyntAnalyzer> client = analyzer.CreateClient(&source, &scheduler);
  f.Control.Client = client.get();
  std::vector<int> parsedWhileAsking;
  f.Forms().WhileAsking = [&] {
    client->ResetAnalysis();
    scheduler.Advance(10'000);
    parsedWhileAsking.push_back(client->ParsePosition());
  };
  f.Forms().ReplaceAnswers = {TDialogAnswer::Yes, TDialogAnswer::All};
  ASSERT_TRUE(f.Run(TFindFormResult::All, "a", "c", [](TFindFormData& d) { d.PromptOnReplace = true; }));
  EXPECT_EQ((std::vector<int>{0, 0}), parsedWhileAsking);
  EXPECT_EQ("c b c b c b c b", f.Control.Text());
  // "All" opened the edit bracket; closing it brought the analysis to the end.
  EXPECT_GT(client->ParsePosition(), f.Control.Editor.Lines().TextLength());
  f.Control.Client = nullptr;
}

}  // namespace
}  // namespace penwick
