// The writing help in the main window, typed with real keys: the command list
// that opens as a word begins, the parameter hint of declarations, weapon
// names turned into constants, and the new-script template.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "AppTestSupport.h"
#include "editor/AutoCompletePopup.h"
#include "editor/ParamCompletion.h"
#include "language/CompletionWords.h"
#include "platform/CodePage.h"

namespace penwick::test {
namespace {

class WritingHelp : public TMainWindowTest {
protected:
  TAutoCompletePopup& List() { return *Window().atcmpltp1(); }
  TParamCompletion& Hint() { return *Window().prmcmpltn1(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(&Editor(), key, mods);
    QApplication::processEvents();
  }
  // Types as a person does: what the window does between two keys (a
  // replacement after the edit, the hint's timer) gets its turn.
  void TypeSlowly(const char* text) {
    for (const char* c = text; *c; ++c) {
      QTest::keyClicks(&Editor(), QString(QChar(*c)));
      QApplication::processEvents();
    }
    SettleHint();
  }
  // Lets the hint's short timer run out, so the hint shows what it will show.
  void SettleHint() {
    QElapsedTimer clock;
    clock.start();
    while (Window().tmr1().isActive() && clock.elapsed() < 5000) QTest::qWait(5);
    QApplication::processEvents();
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < List().RowCount(); ++i) rows.push_back(List().RowText(i));
    return rows;
  }
  // The words of the list that start with `prefix`, duplicates kept.
  static size_t WordsStartingWith(const std::string& prefix) {
    const auto words = AutoCompleteWords();
    return std::count_if(words.begin(), words.end(),
                         [&](const char* w) { return std::string_view(w).starts_with(prefix); });
  }
  std::string Text() { return Editor().Lines().Text(); }
  // The hint as the user sees it: shown, its bold parameter, its declarations.
  bool HintShown() { return Hint().Showing(); }
};

TEST_F(WritingHelp, ALetterStartingAWordOpensTheListWhichNarrowsAndClosesWhenNothingMatches) {
  Start();
  // At the very start of the text.
  TypeSlowly("s");
  ASSERT_TRUE(List().Showing());
  std::vector<std::string> rows = Rows();
  EXPECT_EQ(rows.size(), WordsStartingWith("S"));
  // Sorted as a word list is, the underscore before the letters.
  EXPECT_EQ(rows.front(), "SAVE_GAME");
  EXPECT_EQ(rows.back(), "SWITCH_ROAD");
  EXPECT_LT(std::find(rows.begin(), rows.end(), "SET_ALL_CONTROLS_STATUS"),
            std::find(rows.begin(), rows.end(), "SETUP_MODELCHECK_DESTROY"));
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
    std::string ka = a, kb = b;
    std::replace(ka.begin(), ka.end(), '_', ' ');
    std::replace(kb.begin(), kb.end(), '_', ' ');
    return ka < kb;
  }));
  TypeSlowly("et_");
  ASSERT_TRUE(List().Showing());
  rows = Rows();
  EXPECT_EQ(rows.size(), WordsStartingWith("SET_"));
  EXPECT_TRUE(std::all_of(rows.begin(), rows.end(), [](const std::string& r) { return r.starts_with("SET_"); }));
  Key(Qt::Key_Escape);
  EXPECT_FALSE(List().Showing());
  EXPECT_EQ(Text(), "set_");

  // After a space, q opens the list, which closes at once: no word starts with Q.
  TypeSlowly(" q");
  EXPECT_FALSE(List().Showing());
  // A letter after a digit or another letter opens nothing; nor does a digit.
  TypeSlowly(" 9b");
  EXPECT_FALSE(List().Showing());
  TypeSlowly(" 7");
  EXPECT_FALSE(List().Showing());
  EXPECT_EQ(Text(), "set_ q 9b 7");
  // After a bracket it opens.
  TypeSlowly("(c");
  EXPECT_TRUE(List().Showing());
}

TEST_F(WritingHelp, WholeWordsCloseTheListOnlyWhenTheyStandOnce) {
  Start();
  // Two LEVELSTART rows: typing it whole leaves the list open.
  TypeSlowly("levelstart");
  ASSERT_TRUE(List().Showing());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"LEVELSTART", "LEVELSTART"}));
  Key(Qt::Key_Escape);
  // GENERATOR stands once: it closes by itself and inserts nothing.
  Key(Qt::Key_Return);
  TypeSlowly("generator");
  EXPECT_FALSE(List().Showing());
  EXPECT_EQ(Text(), "levelstart\r\ngenerator");
}

TEST_F(WritingHelp, EnterAcceptsWithoutBreakingTheLineUnlessTheWordIsComplete) {
  Start();
  TypeSlowly("lev");
  ASSERT_TRUE(List().Showing());
  const std::string first = List().RowText(List().SelectedRow());
  Key(Qt::Key_Return);
  EXPECT_FALSE(List().Showing());
  EXPECT_EQ(Text(), first);
  EXPECT_EQ(Editor().Lines().Count(), 1);
  // END is a word of the language as it stands: Enter breaks the line.
  TypeSlowly(" END");
  ASSERT_TRUE(List().Showing());
  Key(Qt::Key_Return);
  EXPECT_FALSE(List().Showing());
  EXPECT_EQ(Text(), first + " END\r\n");
}

TEST_F(WritingHelp, ControlWordsTypedWithTheirBlanksStayAsTyped) {
  Start();
  TypeSlowly("SET x = 1");
  Key(Qt::Key_Return);
  TypeSlowly("IF ( x OR ( y AND NOT z ) )");
  Key(Qt::Key_Return);
  TypeSlowly("DO_NOWT");
  EXPECT_EQ(Text(), "SET x = 1\r\nIF ( x OR ( y AND NOT z ) )\r\nDO_NOWT");
  // A prefix only one word matches is taken by the blank after it.
  Key(Qt::Key_Return);
  TypeSlowly("warp_fr ");
  EXPECT_EQ(Editor().Lines().Line(3), "WARP_FROM_CAR_TO_POINT ");
  // So is a row chosen with the arrows.
  Key(Qt::Key_Return);
  TypeSlowly("set");
  ASSERT_TRUE(List().Showing());
  Key(Qt::Key_Down);
  const std::string chosen = List().RowText(List().SelectedRow());
  TypeSlowly("(");
  EXPECT_EQ(Editor().Lines().Line(4), chosen + "(");
}

TEST_F(WritingHelp, APastedLetterOpensTheListAndTwoLettersDoNot) {
  Start();
  TypeSlowly("x ");
  Editor().Clipboard().SetText("s");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(List().Showing());
  Key(Qt::Key_Escape);
  TypeSlowly(" ");
  Editor().Clipboard().SetText("se");
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_FALSE(List().Showing());
  EXPECT_EQ(Text(), "x s se");
}

TEST_F(WritingHelp, ALetterPutBackByUndoOrRedoOpensNothing) {
  Start();
  TypeSlowly("x s");
  ASSERT_TRUE(List().Showing());
  Key(Qt::Key_Escape);
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(Text(), "x s");
  EXPECT_FALSE(List().Showing());
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(), "x s\r\n");
}

TEST_F(WritingHelp, WithAutoCompletionOffOnlyCtrlSpaceOpensTheList) {
  Start();
  Window().SetAutoCompletion(false);
  TypeSlowly("lev");
  EXPECT_FALSE(List().Showing());
  Key(Qt::Key_Space, Qt::ControlModifier);
  ASSERT_TRUE(List().Showing());
  EXPECT_EQ(Rows().size(), WordsStartingWith("LEV"));
  EXPECT_FALSE(Window().AutoCompletion());
}

TEST_F(WritingHelp, APlayerDeclarationShowsEachValueAsItIsTyped) {
  Start();
  struct TStep {
    const char* Typed;
    bool Shown;
    std::vector<std::string> Declarations;  // when shown
    int Param;
  };
  const TStep steps[] = {
      {"player_ped", false, {}, 0},
      {" ", true, {"Player Name"}, 0},
      // On a declaration line no letter opens the list: "pl" would be taken for PLAYER_PED.
      {"pl ", false, {}, 0},
      {"= (", true, {"Float X, Float Y, Float Z"}, 0},
      {"12.5,", true, {"Float X, Float Y, Float Z"}, 1},
      {" 30,", true, {"Float X, Float Y, Float Z"}, 2},
      {"2)", false, {}, 0},
      {" ", true, {"Remap"}, 0},
      {"25 ", true, {"Rotation"}, 0},
      {"180 ", false, {}, 0},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Typed);
    TypeSlowly(step.Typed);
    EXPECT_FALSE(List().Showing());
    ASSERT_EQ(HintShown(), step.Shown);
    if (!step.Shown) continue;
    EXPECT_EQ(Hint().Declarations(), step.Declarations);
    EXPECT_EQ(Hint().CurrentParam(), step.Param);
  }
  EXPECT_EQ(Text(), "player_ped pl = (12.5, 30,2) 25 180 ");
}

TEST_F(WritingHelp, ACarPositionOffersTwoDeclarationsUntilTheThirdCoordinate) {
  Start();
  TypeSlowly("car_data c = (1");
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Hint().Declarations(), (std::vector<std::string>{"Float X, Float Y", "Float X, Float Y, Float Z"}));
  const int twoLines = Hint().Container()->height();
  TypeSlowly(",2,");
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Hint().CurrentParam(), 2);
  // Only the declaration with a third parameter is left to show.
  EXPECT_LT(Hint().Container()->height(), twoLines);
}

TEST_F(WritingHelp, EnterHidesTheHintAndGoingBackUpDoesNotShowItAgain) {
  Start();
  TypeSlowly("player_ped ");
  ASSERT_TRUE(HintShown());
  Key(Qt::Key_Return);
  SettleHint();
  EXPECT_FALSE(HintShown());
  // A new line lets the list open again at once.
  TypeSlowly("s");
  EXPECT_TRUE(List().Showing());
  Key(Qt::Key_Escape);
  Key(Qt::Key_Up);
  Key(Qt::Key_End);
  SettleHint();
  EXPECT_FALSE(HintShown());
}

// Opening a script is no typing: a declaration on its first line shows no
// hint, and a weapon name there stays as the file has it.
TEST_F(WritingHelp, AnOpenedScriptIsNeitherHintedNorChanged) {
  const std::string path = PathOf("old.mis");
  WriteFile(path, "GENERATOR g = (1,2) 0 pistol 1\r\nPLAYER_PED p = (1,2,3) 25 180\r\n");
  Start();
  Window().mrflsClick(path);
  SettleHint();
  EXPECT_EQ(Editor().Lines().Line(0), "GENERATOR g = (1,2) 0 pistol 1");
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(HintShown());
}

// Undo goes to the line it changes; the hint must not follow it there with
// the declaration of the line the caret came from.
TEST_F(WritingHelp, UndoOnAnotherLineDoesNotCarryTheHintThere) {
  Start();
  TypeSlowly("x = 1");
  Key(Qt::Key_Return);
  TypeSlowly("player_ped p = (1");
  Editor().SetCaretPos(5, 0);
  TypeSlowly("2");
  Editor().SetCaretPos(17, 1);
  Key(Qt::Key_Escape);
  ASSERT_FALSE(HintShown());
  Key(Qt::Key_Z, Qt::ControlModifier);
  SettleHint();
  ASSERT_EQ(Editor().Lines().Line(0), "x = 1");
  ASSERT_EQ(Editor().CaretPos().Y, 0);
  EXPECT_FALSE(HintShown());
  // Undo on the declaration line itself shows its hint at the caret.
  Editor().SetCaretPos(17, 1);
  Key(Qt::Key_Backspace);
  Editor().SetCaretPos(0, 0);
  Key(Qt::Key_Z, Qt::ControlModifier);
  SettleHint();
  ASSERT_EQ(Editor().Lines().Line(1), "player_ped p = (1");
  ASSERT_EQ(Editor().CaretPos().Y, 1);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Hint().CurrentParam(), 0);
  EXPECT_EQ(Hint().AnchorOffset(), Editor().CaretStrPos());
}

// Saved, then New at once: no question comes between, and the hint of the
// old text must not stay over the new one.
TEST_F(WritingHelp, ANewDocumentTakesTheHintOfTheOldTextAway) {
  Start();
  TypeSlowly("player_ped ");
  ASSERT_TRUE(HintShown());
  m_dialogs.AnswerSave(PathOf("p.mis"));
  Trigger("mniSaveAs");
  ASSERT_TRUE(HintShown());
  Trigger("mniNew");
  SettleHint();
  EXPECT_FALSE(HintShown());
  // A showing still pending is cancelled as well.
  TypeSlowly("car_data c = (1");
  QTest::keyClicks(&Editor(), ",");
  ASSERT_TRUE(Window().tmr1().isActive());
  m_dialogs.AnswerSave(PathOf("c.mis"));
  Trigger("mniSaveAs");
  Trigger("mniNew");
  SettleHint();
  EXPECT_FALSE(HintShown());
}

// The last line typed in the old text was a declaration: that must not keep
// the list shut for the first word of the script opened next.
TEST_F(WritingHelp, AnOpenedScriptForgetsTheDeclarationLineOfTheOldText) {
  const std::string other = PathOf("other.mis");
  WriteFile(other, "\r\n// other\r\n");
  Start();
  TypeSlowly("player_ped");
  m_dialogs.AnswerSave(PathOf("p.mis"));
  Trigger("mniSaveAs");
  Window().mrflsClick(other);
  ASSERT_EQ(Editor().CaretPos(), (TPoint{0, 0}));
  TypeSlowly("s");
  EXPECT_TRUE(List().Showing());
}

TEST_F(WritingHelp, AWeaponNameTypedAsTheObjectTypeBecomesItsConstantInOneUndoableStep) {
  Start();
  TypeSlowly("generator g = (1.5,2.5) 0 pistol ");
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1.5,2.5) 0 COLLECT_00 ");
  EXPECT_EQ(Editor().CaretPos(), (TPoint{37, 0}));
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Hint().Declarations(), (std::vector<std::string>{"MinDelay"}));
  Key(Qt::Key_Z, Qt::ControlModifier);
  SettleHint();
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1.5,2.5) 0 pistol ");

  // Two words, and a longer name holding a shorter one.
  Editor().Lines().Clear();
  TypeSlowly("generator g = (1,2) 0 dual pistol");
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1,2) 0 COLLECT_10");
  Editor().Lines().Clear();
  TypeSlowly("generator g = (1,2) 0 silencedmachinegun ");
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1,2) 0 COLLECT_09 ");
  // A name elsewhere on the line stays: the generator's own, a comment.
  Editor().Lines().Clear();
  TypeSlowly("generator shotgun_gen = (1,2) 0 ");
  TypeSlowly("grenade 10 20 30 // pistol");
  EXPECT_EQ(Editor().Lines().Line(0), "generator shotgun_gen = (1,2) 0 COLLECT_05 10 20 30 // pistol");
}

// The replacement comes after the keystroke that completed the name; keys
// that arrive together with it are handled first, and what they typed must
// stay where it was typed.
TEST_F(WritingHelp, KeysTypedBeforeTheReplacementRunsKeepTheirPlace) {
  Start();
  QTest::keyClicks(&Editor(), "generator g = (1,2) 0 pistol 5");
  SettleHint();
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1,2) 0 COLLECT_00 5");
  EXPECT_EQ(Editor().CaretPos(), (TPoint{34, 0}));
  TypeSlowly("6");
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1,2) 0 COLLECT_00 56");
}

TEST_F(WritingHelp, ANameCompletedJustBeforeEnterIsStillReplaced) {
  Start();
  QTest::keyClicks(&Editor(), "generator g = (1,2) 0 pistol ");
  QTest::keyClick(&Editor(), Qt::Key_Return);
  QTest::keyClicks(&Editor(), "x");
  SettleHint();
  EXPECT_EQ(Text(), "generator g = (1,2) 0 COLLECT_00 \r\nx");
  EXPECT_EQ(Editor().CaretPos(), (TPoint{1, 1}));
  EXPECT_FALSE(HintShown());
}

TEST_F(WritingHelp, ANameWithABlankTypedLastLeavesTheCaretRightAfterItsConstant) {
  Start();
  TypeSlowly("generator g = (1,2) 0 rocket launcher");
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1,2) 0 COLLECT_02");
  EXPECT_EQ(Editor().CaretPos(), (TPoint{32, 0}));
  TypeSlowly(" 10");
  EXPECT_EQ(Editor().Lines().Line(0), "generator g = (1,2) 0 COLLECT_02 10");
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Hint().Declarations(), (std::vector<std::string>{"MinDelay"}));
}

TEST_F(WritingHelp, TheTemplateScriptIsExactlyTheShippedTextAndSavesAsIs) {
  const char* source = std::getenv("PENWICK_SOURCE_DIR");
  const std::string golden =
      ReadFile((std::filesystem::path(source ? source : ".") / "tests/data/app/template.mis").string());
  ASSERT_EQ(golden.size(), 840u);
  Start(TStartup::Template());
  EXPECT_EQ(Text(), golden);
  EXPECT_EQ(Editor().CaretPos(), (TPoint{0, 0}));
  EXPECT_FALSE(Editor().HaveSelection());
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(HintShown());
  const std::string path = PathOf("level.mis");
  m_dialogs.AnswerSave(path);
  Trigger("mniSaveAs");
  EXPECT_EQ(ReadFile(path), golden);
}

TEST_F(WritingHelp, BasicMinimalLevelPutsTheTemplateAtTheCaret) {
  const std::string path = PathOf("mine.mis");
  WriteFile(path, "// mine\r\n");
  Start();
  Window().mrflsClick(path);
  ASSERT_TRUE(Enabled("mnuInsertTemplate"));
  Editor().SetCaretPos(0, 1);
  Trigger("mniBasicMinimalLevel");
  const char* source = std::getenv("PENWICK_SOURCE_DIR");
  const std::string golden =
      ReadFile((std::filesystem::path(source ? source : ".") / "tests/data/app/template.mis").string());
  EXPECT_EQ(Text(), "// mine\r\n" + golden);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "// mine\r\n");
  // Within a line of text the template stands on lines of its own: neither
  // its first nor its last line runs into the author's text.
  Editor().SetCaretPos(0, 0);
  Trigger("mniBasicMinimalLevel");
  EXPECT_EQ(Text(), golden + "\r\n// mine\r\n");
  Key(Qt::Key_Z, Qt::ControlModifier);
  Editor().SetCaretPos(3, 0);
  Trigger("mniBasicMinimalLevel");
  EXPECT_EQ(Text(), "// \r\n" + golden + "\r\nmine\r\n");
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "// mine\r\n");
}

}  // namespace
}  // namespace penwick::test
