// The main window's search, help and export commands: the find and replace
// components bound to the editor, the incremental search's coupling to the
// find component, F1 on the word at the caret, and "Export to HTML...".
#include <QApplication>
#include <QPalette>

#include "app/Main.h"
#include "editor/KeyMap.h"
#include "editor/QtCanvasColors.h"
#include "editor/SyntExport.h"
#include "editor/SyntFindDialog.h"
#include "editor/SyntReplaceDialog.h"
#include "editor/SyntaxMemo.h"
#include "editor/WordAt.h"
#include "platform/CodePage.h"
#include "platform/HelpSystem.h"

namespace penwick {

namespace {

constexpr const char* kHelpFileName = "Varnok Penwick.chm";
constexpr const char* kNotFound = "Search string '%s' not found.";
constexpr const char* kReplacePrompt = "Replace this occurence of '%s'?";

// The words with a help topic of their own, in lower case.
bool HasHelpTopic(const std::string& word) {
  return word == "car_data" || word == "player_ped" || word == "levelstart" || word == "levelend";
}

}  // namespace

void TfrmMain::CreateSearchComponents() {
  m_syntfndlg1 = std::make_unique<TSyntFindDialog>();
  m_syntfndlg1->SetNoSearchMsg(kNotFound);
  m_syntrplcdlg1 = std::make_unique<TSyntReplaceDialog>();
  m_syntrplcdlg1->SetNoSearchMsg(kNotFound);
  m_syntrplcdlg1->SetReplacePrompt(kReplacePrompt);
  // Bound in this order: the editor's search keys take the find component
  // first where either would do.
  m_syntfndlg1->SetControl(&m_editor->SearchControl());
  m_syntrplcdlg1->SetControl(&m_editor->SearchControl());
  m_htmlsyntxprt1 = std::make_unique<THTMLSyntExport>();
  m_editor->OnKeyDown = [this](TKeyStroke& key) {
    if (key.Key == vkF1) RunCommand([&] { syntxm1KeyDown(key.Key); });
  };
}

std::string TfrmMain::HelpFile() const { return m_programFolder + "/" + kHelpFileName; }

void TfrmMain::ShowHelpContents() { m_help->ShowContents(HelpFile()); }

void TfrmMain::syntxm1KeyDown(int key) {
  if (key != vkF1) return;
  const std::string word =
      m_editor->CodePage().ToLower(WordTextAt(m_editor->Lines(), m_editor->CaretPos(), m_editor->CodePage()));
  if (HasHelpTopic(word))
    m_help->ShowTopic(HelpFile(), word + ".html");
  else
    m_help->ShowContents(HelpFile());
}

void TfrmMain::ConnectIncrementalSearch() {
  m_editor->OnIncSearchChange = [this](int state) { syntxm1IncSearchChange(state); };
}

void TfrmMain::syntxm1IncSearchChange(int state) {
  if (state == 1) {
    // Set while the start is being told: the values apply to the search
    // that is starting instead of ending it.
    const TSearchOptions flags = m_syntfndlg1->Flags();
    m_editor->SetIncSearchBack((flags & ftBackward) != 0);
    m_editor->SetIncSearchIgnoreCase((flags & ftCaseSensitive) == 0);
  }
  // F3 then looks for what was typed.
  m_syntfndlg1->SetFindText(m_editor->IncSearchString());
}

void TfrmMain::mniFindClick() {
  if (m_documentOpen) m_syntfndlg1->Execute();
}

void TfrmMain::mniReplaceClick() {
  if (m_documentOpen) m_syntrplcdlg1->Execute();
}

void TfrmMain::mniExporttoHTML1Click() {
  if (!m_documentOpen) return;
  if (!m_dialogs.ExecuteSave(m_dlgSaveHtml)) return;
  const QPalette palette = QApplication::palette();
  TExportSource source;
  source.Lines = &m_editor->Lines();
  source.Client = m_editor->SyntClient();
  source.Font = m_editor->BaseCanvasState();
  source.Background = ColorValue(m_editor->Color());
  m_htmlsyntxprt1->SetSyntMemo(source);
  m_htmlsyntxprt1->SetColorResolver(
      [palette](std::uint32_t color) { return ColorValue(CanvasColor(color, palette, Qt::black)); });
  // The page goes to the file piece by piece as it is made (the same bytes
  // as ExportAll and SaveToFile), so a big script is not held twice more.
  m_htmlsyntxprt1->ExportAllToFile(m_dlgSaveHtml.FileName);
}

}  // namespace penwick
