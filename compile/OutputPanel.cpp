// The output panel and its jump from a compiler message to the script.
#include "compile/OutputPanel.h"

#include <QFile>
#include <QHBoxLayout>
#include <QStyle>
#include <QVBoxLayout>

#include "compile/QtPanelSplitter.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

// Removes blanks and control characters from both ends.
std::string Trim(const std::string& text) {
  std::size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

QPushButton* FlatButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setFlat(true);
  button->setFont(QFont("Tahoma", 8));
  button->setLayoutDirection(Qt::RightToLeft);  // the glyph stands right of the caption
  return button;
}

}  // namespace

TOutputPanel::TOutputPanel(TSyntaxMemo& editor, QWidget* parent) : QFrame(parent), m_editor(editor) {
  setObjectName("pnlOutPut");
  setFrameShape(QFrame::NoFrame);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  setFixedHeight(70);

  m_splitter = new TQtPanelSplitter(this, parent);
  m_splitter->setObjectName("splMain");
  m_splitter->SetMinSize(30);
  m_splitter->hide();

  m_list = new QListWidget(this);
  m_list->setObjectName("OutPut");
  m_list->setFrameShape(QFrame::NoFrame);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setUniformItemSizes(true);
  m_list->hide();

  m_options = new QFrame(this);
  m_options->setObjectName("pnlOpts");
  m_options->setFixedWidth(70);
  m_options->setFrameShape(QFrame::Box);
  QPalette border = m_options->palette();
  border.setColor(QPalette::WindowText, border.color(QPalette::Button));
  m_options->setPalette(border);
  m_options->hide();
  m_close = FlatButton("Close", m_options);
  m_close->setObjectName("btn_closemessages");
  m_close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  m_save = FlatButton("Save", m_options);
  m_save->setObjectName("btn_save");
  m_save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  m_save->setEnabled(false);  // placeholder: no action
  m_goTo = FlatButton("Go To", m_options);
  m_goTo->setObjectName("btn_gotomessage");
  m_goTo->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
  m_goTo->setEnabled(false);  // placeholder: no action
  auto* buttons = new QVBoxLayout(m_options);
  buttons->setContentsMargins(1, 1, 1, 1);
  buttons->setSpacing(0);
  for (QPushButton* button : {m_close, m_save, m_goTo}) buttons->addWidget(button);
  buttons->addStretch();

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(m_list, 1);
  row->addWidget(m_options);

  connect(m_close, &QPushButton::clicked, this, &TOutputPanel::btn_closemessagesClick);
  connect(m_list, &QListWidget::itemDoubleClicked, this, [this] {
    try {
      OutPutDblClick();
    } catch (...) {
      if (!OnError) throw;
      OnError(std::current_exception());
    }
  });
}

void TOutputPanel::SetLines(const std::vector<std::string>& lines, int selected, int fileNameLines) {
  m_list->clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const QByteArray bytes = QByteArray::fromStdString(line);
    const QString shown = static_cast<int>(i) < fileNameLines
                              ? QFile::decodeName(bytes)
                              : QString::fromStdString(TCodePage::Default().ToUtf8(line));
    auto* item = new QListWidgetItem(shown, m_list);
    item->setData(Qt::UserRole, bytes);
  }
  if (selected >= 0 && selected < m_list->count()) m_list->setCurrentRow(selected);
}

std::vector<std::string> TOutputPanel::Lines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < m_list->count(); ++i)
    lines.push_back(m_list->item(i)->data(Qt::UserRole).toByteArray().toStdString());
  return lines;
}

void TOutputPanel::ShowPanel() {
  show();
  m_list->setVisible(true);
  m_options->setVisible(true);
  m_splitter->show();
}

void TOutputPanel::btn_closemessagesClick() {
  hide();
  m_list->setVisible(false);
  m_splitter->hide();
}

TMessagePlace TOutputPanel::ParseMessagePlace(const std::string& message) {
  TMessagePlace place;
  const std::size_t open = message.find('\'');
  if (open != std::string::npos) {
    const std::size_t close = message.find('\'', open + 1);
    if (close != std::string::npos) place.Word = Trim(message.substr(open + 1, close - open - 1));
  }
  static const std::string marker = "on line ";
  const std::size_t at = message.find(marker);
  if (at != std::string::npos) {
    const std::string read = Trim(message.substr(at + marker.size(), 4));
    // A number followed at once by other text ("12: ...") is the line 12.
    std::size_t digits = 0;
    while (digits < read.size() && read[digits] >= '0' && read[digits] <= '9') ++digits;
    if (digits == 0) throw EConvertError(read);
    place.Line = std::stoi(read.substr(0, digits));
  }
  return place;
}

void TOutputPanel::OutPutDblClick() {
  QListWidgetItem* item = m_list->currentItem();
  if (!item || !item->isSelected()) return;
  const std::string message = item->data(Qt::UserRole).toByteArray().toStdString();
  m_editor.SetSelStart(0);
  m_editor.SetSelLength(0);
  const TMessagePlace place = ParseMessagePlace(message);
  const std::string text = place.Line >= 1 ? m_editor.Lines().Line(place.Line - 1) : std::string();
  const std::size_t found = place.Word.empty() ? std::string::npos : text.find(place.Word);
  m_editor.setFocus();
  m_editor.SetCaretPos(found == std::string::npos ? 0 : static_cast<int>(found), place.Line - 1);
  m_editor.SetSelLength(static_cast<int>(place.Word.size()));
}

}  // namespace penwick
