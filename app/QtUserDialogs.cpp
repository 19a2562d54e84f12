// Message boxes and file, font and colour dialogs for the real program.
#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

#include "editor/QtCanvasColors.h"

namespace penwick {

namespace {

QString ToQt(const std::string& text) { return QString::fromStdString(text); }
std::string FromQt(const QString& text) { return text.toStdString(); }

std::vector<std::string> SplitPipes(const std::string& filter) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start <= filter.size()) {
    std::string::size_type bar = filter.find('|', start);
    if (bar == std::string::npos) bar = filter.size();
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  return parts;
}

QString EntryOf(const std::string& description, const std::string* mask) {
  QString entry = ToQt(description);
  if (!mask) return entry;
  // Qt separates masks with blanks, the profile form with semicolons.
  QString qtMask = ToQt(*mask).replace(';', ' ');
  if (!entry.contains("(" + qtMask + ")")) entry += " (" + qtMask + ")";
  return entry;
}

}  // namespace

QString TQtUserDialogs::QtFilter(const std::string& filter) {
  if (filter.empty()) return {};
  std::vector<std::string> parts = SplitPipes(filter);
  QStringList entries;
  for (std::size_t i = 0; i < parts.size(); i += 2)
    entries << EntryOf(parts[i], i + 1 < parts.size() ? &parts[i + 1] : nullptr);
  return entries.join(";;");
}

TDialogAnswer TQtUserDialogs::Confirm(const std::string& text) {
  QMessageBox box(QMessageBox::Question, "Confirm", ToQt(text), QMessageBox::NoButton, m_parent);
  QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
  QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == yes) return TDialogAnswer::Yes;
  if (box.clickedButton() == no) return TDialogAnswer::No;
  return TDialogAnswer::Cancel;
}

void TQtUserDialogs::ShowError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "Error", ToQt(text), QMessageBox::Ok, m_parent);
  box.exec();
}

TDialogAnswer TQtUserDialogs::AskIgnoreError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "Error", ToQt(text + "\nIgnore this error?"), QMessageBox::NoButton, m_parent);
  QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
  QPushButton* all = box.addButton("&All", QMessageBox::YesRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  if (box.clickedButton() == yes) return TDialogAnswer::Yes;
  if (box.clickedButton() == all) return TDialogAnswer::All;
  return TDialogAnswer::No;
}

void TQtUserDialogs::ShowMessage(const std::string& text) {
  QString caption = m_parent ? m_parent->window()->windowTitle() : QApplication::applicationName();
  QMessageBox box(QMessageBox::NoIcon, caption, ToQt(text), QMessageBox::Ok, m_parent);
  box.exec();
}

bool TQtUserDialogs::RunFileDialog(TFileDialog& dialog, bool save) {
  QFileDialog fileDialog(m_parent, ToQt(dialog.Title));
  fileDialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  fileDialog.setFileMode(dialog.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  fileDialog.setOption(QFileDialog::DontConfirmOverwrite, !dialog.OverwritePrompt);
  fileDialog.setOption(QFileDialog::ReadOnly, false);
  QString filter = QtFilter(dialog.Filter);
  if (!filter.isEmpty()) fileDialog.setNameFilters(filter.split(";;"));
  if (!dialog.DefaultExt.empty()) fileDialog.setDefaultSuffix(ToQt(dialog.DefaultExt));
  if (!dialog.FileName.empty()) {
    QFileInfo offered(ToQt(dialog.FileName));
    if (offered.dir().exists()) fileDialog.setDirectory(offered.absolutePath());
    fileDialog.selectFile(offered.fileName());
  }
  for (;;) {
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) return false;
    QString chosen = fileDialog.selectedFiles().first();
    if (dialog.PathMustExist && !QFileInfo(chosen).dir().exists()) {
      QMessageBox::warning(&fileDialog, fileDialog.windowTitle(), "The path does not exist:\n" + chosen);
      continue;
    }
    dialog.FileName = FromQt(chosen);
    return true;
  }
}

bool TQtUserDialogs::ExecuteOpen(TFileDialog& dialog) { return RunFileDialog(dialog, false); }

bool TQtUserDialogs::ExecuteSave(TFileDialog& dialog) { return RunFileDialog(dialog, true); }

bool TQtUserDialogs::ExecuteFont(TFontChoice& font) {
  QFont initial(ToQt(font.Name), font.Size);
  initial.setBold(font.Style & 1);
  initial.setItalic(font.Style & 2);
  initial.setUnderline(font.Style & 4);
  initial.setStrikeOut(font.Style & 8);
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, initial, m_parent);
  if (!ok) return false;
  font.Name = FromQt(chosen.family());
  font.Size = chosen.pointSize() > 0 ? chosen.pointSize() : font.Size;
  font.Style = (chosen.bold() ? 1 : 0) | (chosen.italic() ? 2 : 0) | (chosen.underline() ? 4 : 0) |
               (chosen.strikeOut() ? 8 : 0);
  return true;
}

bool TQtUserDialogs::ExecuteColor(std::uint32_t& color) {
  // A system colour (top byte 0xFF) starts the dialog from what the palette
  // shows for it, as the editor and the gutter show it; a colour the
  // palette has nothing for (clNone) starts from black.
  const QColor initial = CanvasColor(color, QApplication::palette(), Qt::black);
  QColor chosen = QColorDialog::getColor(initial, m_parent);
  if (!chosen.isValid()) return false;
  color = ColorValue(chosen);
  return true;
}

}  // namespace penwick
