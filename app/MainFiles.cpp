// The main window's ways to a script besides Open: the recent-files list,
// files dropped on the window and the start-up choice "Open Last Used
// Script"; and the association of ".mis" files with the program.
#include <QAction>
#include <QGuiApplication>
#include <functional>

#include "app/Application.h"
#include "app/DNK_dragdrop.h"
#include "app/MRUfiles.h"
#include "app/Main.h"
#include "app/QtMRUMenu.h"
#include "editor/SyntaxMemo.h"
#include "platform/FileAssociation.h"
#include "platform/FileOperations.h"

namespace penwick {

void TfrmMain::CreateFileComponents() {
  m_mrfls = std::make_unique<TMRUFiles>();
  m_mruMenu = std::make_unique<TQtMRUMenu>(Action("mniRecentAnchor"), *m_mrfls);
  m_mrfls->SetMenuItem(m_mruMenu.get());
  m_mrfls->OnClick = [this](const std::string& fileName) { RunCommand([&] { mrflsClick(fileName); }); };
  m_mrfls->OnChange = [this] { ShowClearRecent(); };
  m_dragDrop = std::make_unique<TDNK_dragdrop>(this);
  m_dragDrop->OnFilesDropped = [this](int numItems, const std::vector<std::string>& list) {
    RunCommand([&] { DragDropFilesDropped(numItems, list); });
  };
}

void TfrmMain::ShowClearRecent() {
  const bool any = m_mrfls->Count() > 0;
  Action("mniClearRecent")->setVisible(any);
  Action("mniClearRecent")->setEnabled(any);
}

void TfrmMain::mrflsClick(const std::string& fileName) {
  AskSaveChanges();
  if (!FileExists(fileName)) {
    m_mrfls->RemoveFile(fileName);
    return;
  }
  m_dlgOpen.FileName = fileName;
  // OpenScript names the document once the file was read: a file that
  // cannot be read leaves the current document under its own name.
  OpenScript(fileName);
  SetEnabled({"mniClose", "tbtClose", "mniExportHtml", "mnuInsertTemplate", "mniCompile", "tbtCompile"}, true);
  ShowWelcome(false);
  EnableEditor(true);
  m_editor->setFocus();
}

void TfrmMain::actClearRecentExecute() {
  m_mrfls->Clear();
  Action("mniClearRecent")->setEnabled(false);
  Action("mniClearRecent")->setVisible(false);
}

void TfrmMain::OpenLastUsedScript() {
  // The most recent script is the first entry. Without one that can be
  // opened, the welcome screen stays.
  bool opened = false;
  if (m_mrfls->Count() > 0) {
    const std::string fileName = m_mrfls->Files().front();
    if (!FileExists(fileName)) {
      m_mrfls->RemoveFile(fileName);
    } else {
      RunCommand([&] {
        OpenScript(fileName);
        opened = true;
      });
    }
  }
  if (opened) {
    SetEnabled({"mnuInsertTemplate", "tbtCompile"}, true);
  } else {
    ShowWelcome(true);
    EnableEditor(false);
  }
}

void TfrmMain::ActivateDragDrop(bool active) { m_dragDrop->SetActive(active); }

void TfrmMain::DragDropFilesDropped(int, const std::vector<std::string>& list) {
  const std::optional<std::string> script = DroppedScript(list);
  if (!script) return;
  // A drop replaces the document as Open does: unsaved work is asked about.
  AskSaveChanges();
  OpenScript(*script);
}

bool TfrmMain::Associated() { return IsAssociated(*m_association, ".mis", m_executablePath); }

void TfrmMain::ShowAssociation(bool associated) {
  Action("mniAssociate")->setChecked(associated);
  Action("mniUnassociate")->setChecked(!associated);
}

void TfrmMain::CheckAssociation() {
  bool associated = false;
  RunCommand([&] { associated = Associated(); });
  ShowAssociation(associated);
}

namespace {

// Sets the radio pair from what the desktop holds when it goes out of
// scope, also after a failed write. The desktop's tools may take a moment
// meanwhile: the pointer says so.
class TAssociationTicks {
public:
  explicit TAssociationTicks(std::function<void()> check) : m_check(std::move(check)) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~TAssociationTicks() {
    QGuiApplication::restoreOverrideCursor();
    m_check();
  }

private:
  std::function<void()> m_check;
};

}  // namespace

void TfrmMain::actAssociateExecute() {
  const TAssociationTicks ticks([this] { CheckAssociation(); });
  if (!Associated()) m_association->WriteAssociation("mis", m_executablePath);
}

void TfrmMain::actUnassociateExecute() {
  const TAssociationTicks ticks([this] { CheckAssociation(); });
  // An empty program path names no program.
  if (Associated()) m_association->WriteAssociation("mis", "");
}

}  // namespace penwick
