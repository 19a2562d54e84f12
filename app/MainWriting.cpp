// The main window's writing help: the command list that opens as a word
// begins, the parameter hint of object declarations with its weapon names,
// and inserting the template.
#include <QFont>
#include <utility>

#include "app/Main.h"
#include "editor/AutoCompletePopup.h"
#include "editor/ParamCompletion.h"
#include "editor/SyntaxMemo.h"
#include "language/CompletionWords.h"
#include "language/DeclarationAnalysis.h"
#include "language/TemplateScript.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {
constexpr int kHintDelayMs = 15;
}

void TfrmMain::CreateWritingHelp() {
  m_atcmpltp1 = new TAutoCompletePopup(m_editor, this);
  m_atcmpltp1->setObjectName("atcmpltp1");
  const std::span<const char* const> words = AutoCompleteWords();
  m_atcmpltp1->SetItems({words.begin(), words.end()});
  m_atcmpltp1->SetDisplayItems({words.begin(), words.end()});
  m_atcmpltp1->SetSortType(asItems);
  m_atcmpltp1->SetOptions(aoExactClose);
  m_atcmpltp1->SetLayoutSide(lsLeft);
  m_atcmpltp1->SetListSize(200, 80);
  m_atcmpltp1->SetItemHeight(15);
  QFont listFont("Tahoma");
  listFont.setPixelSize(9);
  m_atcmpltp1->SetListFont(listFont);
  // A word the language knows as it stands is finished: Enter breaks the
  // line instead of turning END into ENDEXEC.
  m_atcmpltp1->IsCompleteWord = [](std::string_view word) { return IsMissionKeyword(word); };
  m_atcmpltp1->OnChange = [this] { atcmpltp1Change(); };

  m_prmcmpltn1 = new TParamCompletion(m_editor, this);
  m_prmcmpltn1->setObjectName("prmcmpltn1");
  m_prmcmpltn1->SetEnabled(false);
  m_prmcmpltn1->SetColor(QColor(255, 255, 215));
  QFont hintFont("Tahoma");
  hintFont.setPixelSize(11);
  hintFont.setBold(true);
  m_prmcmpltn1->SetHintFont(hintFont);
  m_prmcmpltn1->SetLayoutSide(lsTop);
  // The window shows the hint itself, after its own analysis of declarations.
  m_prmcmpltn1->SetAutomatic(false);

  m_tmr1.setObjectName("tmr1");
  m_tmr1.setInterval(kHintDelayMs);
  m_tmr1.setSingleShot(true);
  connect(&m_tmr1, &QTimer::timeout, this, [this] { RunCommand([this] { tmr1Timer(); }); });

  TMemoEditor& core = m_editor->Core();
  core.OnTextChanged = [this](int pos, int count, int lineChange) { syntxm1TextChanged(pos, count, lineChange); };
  core.OnChange = [this] { syntxm1Change(); };
  connect(m_editor, &TSyntaxMemo::CaretPosChanged, this, &TfrmMain::syntxm1CaretPosChanged);
}

bool TfrmMain::AutoCompletion() const { return m_atcmpltp1->Enabled(); }

void TfrmMain::SetAutoCompletion(bool enabled) { m_atcmpltp1->SetEnabled(enabled); }

void TfrmMain::syntxm1TextChanged(int pos, int count, int) {
  if (pos < 0) {
    // A new text (New, Open, Close): the hint named a value of the old one.
    m_tmr1.stop();
    m_prmcmpltn1->CloseUp(false);
    // Nor does its last line keep the list shut in the new one.
    m_declarationFlag = false;
    m_textReplaced = true;
  }
  const TSyntMemoStrings& lines = m_editor->Lines();
  // Undo and Redo put text back; they do not start a word (Enter would then
  // take a command instead of breaking the line).
  if (count == 1 && pos >= 0 && pos < lines.TextLength() && !m_editor->Core().UndoingOrRedoing()) {
    const char inserted = lines.Chars(pos + 1);
    const std::optional<char> before = pos > 0 ? std::optional<char>(lines.Chars(pos)) : std::nullopt;
    if (CompletionTriggerOpens(m_atcmpltp1->Enabled(), m_declarationFlagCopy, pos, count, inserted, before,
                               m_editor->CodePage()))
      m_atcmpltp1->Execute();
  }
  m_lastEditedLine = m_editor->CaretPos().Y;
  if (m_editor->Core().UndoingOrRedoing() && pos >= 0) m_undoneLine = m_editor->StrPosToCaretPos(pos).Y;
}

void TfrmMain::atcmpltp1Change() {
  if (m_atcmpltp1->RowCount() == 0) m_atcmpltp1->CloseUp(false);
}

void TfrmMain::syntxm1Change() {
  // Undo and Redo report their change before the caret goes to it: the line
  // to read is the changed one, where the caret is about to stand.
  const bool undoing = m_editor->Core().UndoingOrRedoing();
  const int lineIndex = undoing ? m_undoneLine : m_editor->CaretPos().Y;
  m_lastEditedLine = lineIndex;
  m_declarationFlagCopy = m_declarationFlag;
  // A script opened (or a text emptied) was not typed: nothing to hint at,
  // and its weapon names stay as the file has them.
  if (std::exchange(m_textReplaced, false)) return;
  const TSyntMemoStrings& lines = m_editor->Lines();
  const std::string line =
      lineIndex < lines.Count() ? m_editor->CodePage().ToLower(lines.Line(lineIndex)) : std::string();
  // Taking an edit back must not bring the constant straight back.
  const TDeclarationAnalysis analysis = AnalyzeDeclaration(line, !undoing);
  m_declarationFlag = analysis.DeclarationFlag;
  ApplyDeclarationEffects(analysis);
}

void TfrmMain::ApplyDeclarationEffects(const TDeclarationAnalysis& analysis) {
  for (const TDeclarationEffect& effect : analysis.Effects) {
    switch (effect.Kind) {
      case TDeclarationEffect::ekHint:
        m_prmcmpltn1->Declarations() = effect.Declarations;
        m_prmcmpltn1->SetCurrentParam(effect.Param);
        if (!m_tmr1.isActive()) m_tmr1.start();
        break;
      case TDeclarationEffect::ekParam:
        m_prmcmpltn1->SetCurrentParam(effect.Param);
        if (!m_tmr1.isActive()) m_tmr1.start();
        break;
      case TDeclarationEffect::ekClearList:
        m_prmcmpltn1->Declarations().clear();
        break;
      case TDeclarationEffect::ekClearAndHide:
        m_prmcmpltn1->Declarations().clear();
        [[fallthrough]];
      case TDeclarationEffect::ekHide:
        m_tmr1.stop();
        m_prmcmpltn1->CloseUp(false);
        break;
      case TDeclarationEffect::ekReplace: {
        // The edit that found the name is still going on; the replacement
        // is an edit (and an Undo step) of its own right after it. The
        // analysis of the changed line then decides the hint.
        if (m_weaponReplacePending) return;
        m_weaponReplacePending = true;
        const int line = m_editor->CaretPos().Y;
        QMetaObject::invokeMethod(
            this, [this, line] { RunCommand([this, line] { ReplaceWeaponName(line); }); }, Qt::QueuedConnection);
        return;
      }
    }
  }
}

void TfrmMain::ReplaceWeaponName(int line) {
  m_weaponReplacePending = false;
  if (!m_editor || !m_editor->isEnabled() || m_editor->ReadOnly()) return;
  // Typing may have gone on meanwhile, even onto the next line: the line's
  // own analysis decides whether the name still stands there whole.
  if (line >= m_editor->Lines().Count()) return;
  const std::string lower = m_editor->CodePage().ToLower(m_editor->Lines().Line(line));
  const TDeclarationAnalysis analysis = AnalyzeDeclaration(lower, true);
  if (analysis.Effects.empty() || analysis.Effects.back().Kind != TDeclarationEffect::ekReplace) return;
  const TDeclarationEffect& replace = analysis.Effects.back();
  const int lineStart = m_editor->Lines().LineStart(line);
  const TPoint caret = m_editor->CaretPos();
  if (!m_editor->ReplaceText(lineStart + replace.ReplaceStart, replace.ReplaceLength, replace.Constant)) return;
  // The caret keeps its place in the text: what was typed after the name
  // (its blank, or keys that came before this edit) stays left of it, and a
  // name typed last at the line's end leaves it right after the constant.
  const int nameEnd = replace.ReplaceStart + replace.ReplaceLength;
  const int constantEnd = replace.ReplaceStart + static_cast<int>(replace.Constant.size());
  if (caret.Y != line) return;
  if (caret.X >= nameEnd) m_editor->SetCaretPos(caret.X + constantEnd - nameEnd, line);
  else if (caret.X > replace.ReplaceStart) m_editor->SetCaretPos(constantEnd, line);
}

void TfrmMain::tmr1Timer() {
  m_tmr1.stop();
  // The document may have been closed in the meantime.
  if (!m_editor->isEnabled() || !m_editor->isVisible()) return;
  m_prmcmpltn1->ShowAt(m_editor->CaretStrPos());
}

void TfrmMain::syntxm1CaretPosChanged() {
  if (m_lastEditedLine < m_editor->CaretPos().Y) {
    m_tmr1.stop();
    m_prmcmpltn1->CloseUp(false);
    m_declarationFlagCopy = false;
  }
}

void TfrmMain::mniBasicMinimalLevelClick() {
  // The template's level, put in at the caret as one step that Undo takes
  // back, on lines of its own: text left or right of the caret (or of the
  // selection it replaces) goes onto the line before or after it.
  const TSyntMemoStrings& lines = m_editor->Lines();
  const int start = m_editor->HaveSelection() ? m_editor->SelStart() : m_editor->CaretStrPos();
  const int end = m_editor->HaveSelection() ? start + m_editor->SelLength() : start;
  const int startLine = m_editor->StrPosToCaretPos(start).Y;
  const int endLine = m_editor->StrPosToCaretPos(end).Y;
  std::string text = TemplateScriptText();
  if (startLine < lines.Count() && start > lines.LineStart(startLine)) text = "\r\n" + text;
  if (endLine < lines.Count() && end < lines.LineStart(endLine) + lines.LineLength(endLine)) text += "\r\n";
  m_editor->InsertText(text);
  m_editor->setFocus();
}

}  // namespace penwick
