// The find component over a plain editing core: the form's filling and
// reading, the search ranges, Search All, Search Again, the current-word
// searches, backward runs that end, and the binding to the editor.
#include <gtest/gtest.h>

#include <memory>

#include "editor/EditorCommandIds.h"
#include "editor/SearchCommands.h"
#include "editor/SyntReplaceDialog.h"
#include "syntax/ecRegExpr.h"
#include "tests/editor/SearchTestSupport.h"

namespace penwick {
namespace {

using TMarks = std::vector<TSearchMark>;

struct TFindFixture {
  TTestSearchControl Control;
  TSyntFindDialog Find;
  TSyntReplaceDialog Replace;

  explicit TFindFixture(const std::string& text) : Control(text) {
    Find.SetControl(&Control);
    Replace.SetControl(&Control);
    RegisterSearchCommands(Control);
  }
  TScriptedSearchForms& Forms() { return Control.ScriptedForms; }
  bool Run(int command) { return Control.Dispatcher.Execute(command); }
};

TEST(FindDialog, CtrlFOnAWordFindsThatWordAndSearchAgainTheNext) {
  TFindFixture f("GENERATOR a\r\nx GENERATOR b\r\n");
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK));
  ASSERT_TRUE(f.Run(cmFindDialog));
  ASSERT_EQ(1u, f.Forms().FindShown.size());
  const TFindFormData& shown = f.Forms().FindShown[0];
  EXPECT_FALSE(shown.Replace);
  EXPECT_EQ("GENERATOR", shown.Text);
  EXPECT_EQ(0, shown.Scope);
  EXPECT_EQ(0, shown.Origin);
  EXPECT_EQ(9, f.Control.Caret());
  EXPECT_EQ((TMarks{{0, 9}}), f.Control.MarkList());
  EXPECT_TRUE(f.Control.HasFocus);
  EXPECT_EQ((std::vector<std::string>{"GENERATOR"}), f.Find.History());
  // F3: from the caret, forward.
  ASSERT_TRUE(f.Control.Dispatcher.IsAvailable(cmSearchAgain));
  f.Run(cmSearchAgain);
  EXPECT_EQ(24, f.Control.Caret());
  EXPECT_EQ((TMarks{{15, 24}}), f.Control.MarkList());
  EXPECT_TRUE(f.Forms().Informations.empty());
  f.Run(cmSearchAgain);
  EXPECT_EQ((std::vector<std::string>{"Search string 'GENERATOR' not found."}), f.Forms().Informations);
  EXPECT_EQ(24, f.Control.Caret());
}

TEST(FindDialog, ASelectionFillsTheFormAndIsFoundItself) {
  TFindFixture f("COUNTER x COUNTER y");
  f.Control.Editor.SetCaretStrPos(17);
  f.Control.Editor.SetSelection(10, 7);  // the second COUNTER, caret at its end
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK));
  ASSERT_TRUE(f.Find.Execute());
  const TFindFormData& shown = f.Forms().FindShown[0];
  EXPECT_EQ("COUNTER", shown.Text);
  EXPECT_EQ(1, shown.Scope);
  EXPECT_EQ(1, shown.Origin);
  EXPECT_EQ(ftSelectedText | ftEntireScope, f.Find.Flags());
  EXPECT_EQ((TMarks{{10, 17}}), f.Control.MarkList());
  EXPECT_EQ(17, f.Control.Caret());
  EXPECT_FALSE(f.Control.Editor.HaveSelection());  // shown by the mark, not selected
}

TEST(FindDialog, AOneLineColumnBlockFillsTheFormWithItsTextAndIsFoundItself) {
  TFindFixture f("x COUNTER y\r\nCOUNTER");
  f.Control.Editor.SetBlockRect(TBlockRect{2, 0, 9, 0});
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK));
  ASSERT_TRUE(f.Find.Execute());
  EXPECT_EQ("COUNTER", f.Forms().FindShown[0].Text);
  EXPECT_EQ((TMarks{{2, 9}}), f.Control.MarkList());
  // A taller block gives its lines joined by line breaks, without one after the last.
  f.Control.Editor.SetBlockRect(TBlockRect{0, 0, 3, 1});
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::Cancel));
  f.Find.Execute();
  EXPECT_EQ("x C\r\nCOU", f.Forms().FindShown[1].Text);
}

TEST(FindDialog, TheFormShowsAndReadsOptionsAndHistoryWithoutAutoFill) {
  TFindFixture f("abc");
  f.Find.SetAutoFill(false);
  f.Find.SetFindText("old");
  f.Find.SetFlags(ftCaseSensitive | ftBackward | ftEntireScope);
  f.Find.AddToHistory("old");
  f.Find.AddToHistory("zzz");
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK, [](TFindFormData& d) {
    d.Text = "OLD";
    d.CaseSensitive = false;
    d.WholeWords = true;
    d.RegularExpressions = true;
    d.Direction = 0;
    d.Scope = 1;
    d.Origin = 0;
  }));
  f.Find.Execute();
  const TFindFormData& shown = f.Forms().FindShown[0];
  EXPECT_EQ("old", shown.Text);
  EXPECT_EQ((std::vector<std::string>{"zzz", "old"}), shown.History);
  EXPECT_TRUE(shown.CaseSensitive);
  EXPECT_EQ(1, shown.Direction);
  EXPECT_EQ(0, shown.Scope);
  EXPECT_EQ(1, shown.Origin);
  EXPECT_EQ("OLD", f.Find.FindText());
  // The entry equal without regard to case moved to the front as typed.
  EXPECT_EQ((std::vector<std::string>{"OLD", "zzz"}), f.Find.History());
  EXPECT_EQ(ftWholeWordOnly | ftRegularExpr | ftSelectedText, f.Find.Flags());
  EXPECT_EQ((std::vector<std::string>{"Search string 'OLD' not found."}), f.Forms().Informations);
}

TEST(FindDialog, CancelSearchesNothingAndOnlyFocuses) {
  TFindFixture f("abc abc");
  f.Find.SetFindText("abc");
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::Cancel, [](TFindFormData& d) { d.Text = "zzz"; }));
  EXPECT_FALSE(f.Find.Execute());
  EXPECT_EQ("abc", f.Find.FindText());
  EXPECT_TRUE(f.Control.MarkList().empty());
  EXPECT_TRUE(f.Forms().Informations.empty());
  EXPECT_TRUE(f.Control.HasFocus);
}

TEST(FindDialog, BackwardSingleCharacterWalkVisitsEarlierOccurrences) {
  TFindFixture f("a.a.a");
  f.Find.SetFindText("a");
  f.Find.SetFlags(ftBackward);
  f.Control.Editor.SetCaretStrPos(5);
  std::vector<int> carets;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(f.Find.FindCommand(false, true, true));
    carets.push_back(f.Control.Caret());
  }
  EXPECT_EQ((std::vector<int>{4, 2, 0}), carets);
  // From the very start a backward search finds nothing; it does not wrap.
  EXPECT_FALSE(f.Find.FindCommand(false, true, true));
  EXPECT_EQ(0, f.Control.Caret());
  EXPECT_EQ(1u, f.Forms().Informations.size());
}

TEST(FindDialog, SearchAllMarksEveryMatchAndLeavesTheCaretAfterTheFirst) {
  TFindFixture f("COUNTER = COUNTER + counter;\r\nCOUNTERS");
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::All, [](TFindFormData& d) {
    d.Text = "COUNTER";
    d.WholeWords = true;
  }));
  ASSERT_TRUE(f.Find.Execute());
  EXPECT_EQ((TMarks{{0, 7}, {10, 17}, {20, 27}}), f.Control.MarkList());
  EXPECT_EQ(7, f.Control.Caret());
  EXPECT_GE(f.Control.Repaints, 1);
}

TEST(FindDialog, BackwardSearchAllEndsOnATextStartingWithTheSearchText) {
  TFindFixture f("// one\r\nx // two\r\n");
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::All, [](TFindFormData& d) {
    d.Text = "//";
    d.Direction = 1;
    d.Origin = 1;
  }));
  ASSERT_TRUE(f.Find.Execute());
  EXPECT_EQ((TMarks{{0, 2}, {10, 12}}), f.Control.MarkList());
  EXPECT_EQ(10, f.Control.Caret());  // at the start of the first match found
  // From the cursor at the very start, backward: nothing.
  f.Control.Editor.SetCaretStrPos(0);
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK, [](TFindFormData& d) {
    d.Text = "//";
    d.Direction = 1;
    d.Origin = 0;
  }));
  EXPECT_FALSE(f.Find.Execute());
  EXPECT_EQ((std::vector<std::string>{"Search string '//' not found."}), f.Forms().Informations);
}

TEST(FindDialog, AColumnBlockIsSearchedLineByLineInsideItsColumns) {
  TFindFixture f("bab\r\nab\r\nx\r\nbbbb");
  f.Control.Editor.SetBlockRect(TBlockRect{1, 0, 3, 3});
  f.Find.SetFindText("b");
  f.Find.SetFlags(ftSelectedText | ftEntireScope);
  EXPECT_EQ((std::vector<TSearchRange>{{2, 3}, {7, 7}, {14, 15}}), f.Find.SearchRanges());
  f.Find.SetAutoFill(false);
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::All));
  ASSERT_TRUE(f.Find.Execute());
  EXPECT_EQ((TMarks{{2, 3}, {6, 7}, {13, 14}, {14, 15}}), f.Control.MarkList());
  // Backward: the last line's block first; the caret at the last match's start.
  f.Control.Editor.SetBlockRect(TBlockRect{1, 0, 3, 3});
  f.Find.SetFlags(ftSelectedText | ftEntireScope | ftBackward);
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK));
  ASSERT_TRUE(f.Find.Execute());
  EXPECT_EQ((TMarks{{14, 15}}), f.Control.MarkList());
  EXPECT_EQ(14, f.Control.Caret());
}

TEST(FindDialog, RangesAreCutAtTheCaretUnlessEntireScope) {
  TFindFixture f("abcdefgh");
  f.Control.Editor.SetCaretStrPos(5);
  f.Control.Editor.SetSelection(2, 5);
  f.Find.SetFlags(ftSelectedText);
  EXPECT_EQ((std::vector<TSearchRange>{{6, 7}}), f.Find.SearchRanges());
  f.Find.SetFlags(ftSelectedText | ftBackward);
  EXPECT_EQ((std::vector<TSearchRange>{{3, 5}}), f.Find.SearchRanges());
  f.Find.SetFlags(ftSelectedText | ftEntireScope);
  EXPECT_EQ((std::vector<TSearchRange>{{3, 7}}), f.Find.SearchRanges());
  f.Find.SetFlags(0);
  EXPECT_EQ((std::vector<TSearchRange>{{6, 8}}), f.Find.SearchRanges());
}

TEST(FindDialog, CurrentWordSearchesNeedAWordOrASelection) {
  TFindFixture f("alpha beta alpha\r\nbeta");
  f.Control.Editor.SetCaretStrPos(5);  // right after "alpha"
  ASSERT_TRUE(f.Control.Dispatcher.IsAvailable(cmFindCurrentWordNext));
  f.Run(cmFindCurrentWordNext);
  EXPECT_EQ("alpha", f.Find.FindText());
  EXPECT_EQ(16, f.Control.Caret());
  EXPECT_EQ((TMarks{{11, 16}}), f.Control.MarkList());
  f.Run(cmFindCurrentWordPrior);
  EXPECT_EQ(0, f.Control.Caret());
  EXPECT_EQ((TMarks{{0, 5}}), f.Control.MarkList());
  // A selection wins over the word; other options are kept.
  f.Find.SetFlags(ftCaseSensitive);
  f.Control.Editor.SetCaretStrPos(10);
  f.Control.Editor.SetSelection(6, 4);
  f.Run(cmFindCurrentWordNext);
  EXPECT_EQ("beta", f.Find.FindText());
  EXPECT_EQ(ftCaseSensitive, f.Find.Flags());
  EXPECT_EQ(22, f.Control.Caret());
}

TEST(FindDialog, CommandsAreAvailableOnlyWithTheirComponentAndTheirInput) {
  TTestSearchControl control("one  two");
  RegisterSearchCommands(control);
  TCommandDispatcher& d = control.Dispatcher;
  for (int command : {cmFindDialog, cmReplaceDialog, cmSearchAgain, cmFindCurrentWordNext, cmFindCurrentWordPrior})
    EXPECT_FALSE(d.IsAvailable(command)) << command;
  EXPECT_TRUE(d.IsAvailable(cmGotoLine));
  // A replace component counts as a find component too.
  TSyntReplaceDialog replace;
  replace.SetControl(&control);
  EXPECT_TRUE(d.IsAvailable(cmFindDialog));
  EXPECT_TRUE(d.IsAvailable(cmReplaceDialog));
  EXPECT_FALSE(d.IsAvailable(cmSearchAgain));
  replace.SetFindText("two");
  EXPECT_TRUE(d.IsAvailable(cmSearchAgain));
  control.Editor.SetCaretStrPos(4);  // between the two blanks
  EXPECT_FALSE(d.IsAvailable(cmFindCurrentWordNext));
  control.Editor.SetSelection(3, 2);
  EXPECT_TRUE(d.IsAvailable(cmFindCurrentWordPrior));
  control.Editor.SetCaretStrPos(2);
  control.Editor.SetSelection(2, 0);
  EXPECT_TRUE(d.IsAvailable(cmFindCurrentWordNext));
  // Ctrl+F reaches the first bound find component, here the replace one.
  control.ScriptedForms.FindAnswers.push_back(Answer(TFindFormResult::Cancel));
  d.Execute(cmFindDialog);
  ASSERT_EQ(1u, control.ScriptedForms.FindShown.size());
  EXPECT_TRUE(control.ScriptedForms.FindShown[0].Replace);
}

TEST(FindDialog, BindingFollowsControlAndLifetimes) {
  TSyntFindDialog find;
  auto control = std::make_unique<TTestSearchControl>("abc");
  {
    TSyntReplaceDialog replace;
    find.SetControl(control.get());
    replace.SetControl(control.get());
    find.SetControl(control.get());  // again: kept once, in its place
    ASSERT_EQ(2u, control->Bound().size());
    EXPECT_EQ(&find, control->Bound()[0]);
  }
  ASSERT_EQ(1u, control->Bound().size());  // the replace component unbound itself
  find.SetControl(nullptr);
  EXPECT_TRUE(control->Bound().empty());
  find.SetControl(control.get());
  control.reset();
  EXPECT_EQ(nullptr, find.Control());
  EXPECT_FALSE(find.Execute());
  EXPECT_FALSE(find.FindCommand(false, false, true));
}

TEST(FindDialog, ABadPatternRaisesAndLeavesNoBracketOrGroupOpen) {
  TFindFixture f("abc");
  for (TSyntFindDialog* component : {static_cast<TSyntFindDialog*>(&f.Find), static_cast<TSyntFindDialog*>(&f.Replace)}) {
    f.Forms().FindAnswers.push_back(Answer(TFindFormResult::All, [](TFindFormData& d) {
      d.Text = "[b-a]";
      d.RegularExpressions = true;
    }));
    EXPECT_THROW(component->Execute(), ERegExprError);
    EXPECT_EQ(0, f.Control.Editor.UpdateDepth());
    EXPECT_EQ(0, f.Control.Editor.Lines().UndoHistory().GroupDepth());
  }
  // A blank search box is the form's error and searches nothing.
  f.Forms().FindAnswers.push_back(Answer(TFindFormResult::OK, [](TFindFormData& d) { d.Text.clear(); }));
  EXPECT_THROW(f.Find.Execute(), ESearchBlank);
  EXPECT_EQ(0, f.Control.Editor.Lines().UndoHistory().GroupDepth());
  EXPECT_EQ("abc", f.Control.Text());
}

}  // namespace
}  // namespace penwick
