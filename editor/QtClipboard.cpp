// The editor's clipboard over QClipboard.
#include "editor/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <stdexcept>

#include "platform/CodePage.h"

namespace penwick {

namespace {

QClipboard& SystemClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) throw std::runtime_error("Cannot open clipboard");
  return *clipboard;
}

}  // namespace

const TCodePage& TQtClipboard::CodePage() const { return m_codePage ? *m_codePage : TCodePage::Default(); }

bool TQtClipboard::HasText() const {
  const QMimeData* data = SystemClipboard().mimeData();
  // Text that is there but empty pastes nothing: Paste stays disabled for it.
  return data && data->hasText() && !data->text().isEmpty();
}

std::string TQtClipboard::GetText(bool* columnBlock) const {
  const QMimeData* data = SystemClipboard().mimeData();
  if (columnBlock)
    *columnBlock = data && data->hasText() && data->data(ColumnBlockMimeType).startsWith('1');
  if (!data || !data->hasText()) return {};
  return CodePage().FromUtf8(data->text().toStdString());
}

void TQtClipboard::SetText(const std::string& text, bool columnBlock) {
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(CodePage().ToUtf8(text)));
  if (columnBlock) data->setData(ColumnBlockMimeType, "1");
  SystemClipboard().setMimeData(data);
}

}  // namespace penwick
