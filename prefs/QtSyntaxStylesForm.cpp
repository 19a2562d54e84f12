// The "Syntax Highlighting" dialog as a Qt form.
#include "prefs/QtSyntaxStylesForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "editor/QtCanvasColors.h"
#include "editor/QtGutter.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"
#include "prefs/QtSyntStyleFrame.h"
#include "prefs/SyntaxStylesDialog.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {

namespace {
constexpr int kMargin = (TQtSyntaxStylesForm::kClientWidth - TQtSyntaxStylesForm::kPreviewWidth) / 2;
constexpr int kListWidth = 128;
}  // namespace

TQtSyntaxStylesForm::TQtSyntaxStylesForm(TSyntaxStylesDialog& dialog, TUserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialog(dialog) {
  setWindowTitle("Syntax Highlighting");
  setFixedSize(kClientWidth, kClientHeight);

  m_elements = new QListWidget(this);
  m_elements->setFixedWidth(kListWidth);
  auto* elementLabel = new QLabel("&Element", this);
  elementLabel->setBuddy(m_elements);
  m_frame = new TQtSyntStyleFrame(dialog.Frame(), dialogs, this);
  m_ok = new QPushButton("&OK", this);
  m_ok->setDefault(true);
  m_cancel = new QPushButton("&Cancel", this);

  m_preview = new TSyntaxMemo(this);
  m_preview->setFixedSize(kPreviewWidth, kPreviewHeight);
  m_preview->SetReadOnly(true);
  m_preview->Gutter().SetWidth(0);
  QFont font("Courier New", 10);
  font.setStyleHint(QFont::TypeWriter);
  m_preview->SetEditorFont(font);
  m_preview->viewport()->installEventFilter(this);
  m_preview->installEventFilter(this);

  // Left: the list with the buttons under it; right: the frame; the preview
  // across the bottom.
  auto* list = new QVBoxLayout;
  list->setSpacing(2);
  list->addWidget(elementLabel);
  list->addWidget(m_elements, 1);
  list->addSpacing(4);
  for (QPushButton* button : {m_ok, m_cancel}) {
    button->setFixedWidth(kListWidth);
    list->addWidget(button);
  }
  auto* top = new QHBoxLayout;
  top->setSpacing(2);
  top->addLayout(list);
  top->addWidget(m_frame, 1);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  outer->setSpacing(kMargin);
  outer->addLayout(top, 1);
  outer->addWidget(m_preview);

  connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_elements, &QListWidget::currentRowChanged, this, [this](int row) { m_dialog.Select(row); });
  // A click below the items or a control-click on the selected one would
  // leave the list showing nothing while the frame still edits a style.
  connect(m_elements, &QListWidget::itemSelectionChanged, this, [this] {
    if (m_elements->selectedItems().isEmpty() && m_dialog.Selected() >= 0) ShowSelected();
  });
}

TQtSyntaxStylesForm::~TQtSyntaxStylesForm() {
  // The preview's analysis goes before the copy it reads from.
  if (m_preview) m_preview->SetSyntaxAnalyzer(nullptr);
}

void TQtSyntaxStylesForm::showEvent(QShowEvent* event) {
  if (!m_shown) {
    m_shown = true;
    FormShow();
    const QScreen* screen = QGuiApplication::primaryScreen();
    // The window with its frame is centred (the frame is known once the
    // window exists, which it does by now).
    const QRect frame = frameGeometry();
    if (screen) move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
  QDialog::showEvent(event);
}

void TQtSyntaxStylesForm::SetPreviewColors(const QColor& background, const QColor& text) {
  m_previewBackground = background;
  m_previewText = text;
}

void TQtSyntaxStylesForm::FormShow() {
  m_dialog.FormShow();

  TSyntAnalyzer& copy = m_dialog.Copy();
  const TSyntaxFormat* defaultStyle = copy.DefaultStyle();
  const bool hasBackground = defaultStyle && defaultStyle->BgColor != clNone;
  if (m_previewBackground)
    m_preview->SetColor(*m_previewBackground);
  else
    m_preview->SetColor(hasBackground ? CanvasColor(defaultStyle->BgColor, palette(), Qt::white) : QColor(Qt::white));
  if (m_previewText) m_preview->SetFontColor(*m_previewText);
  m_preview->SetSyntaxAnalyzer(&copy);
  std::string text;
  const std::vector<std::string>& lines = m_dialog.PreviewLines();
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  m_preview->Lines().SetText(text);
  m_preview->SetCaretStrPos(0);

  const QSignalBlocker blocker(m_elements);
  m_elements->clear();
  for (int i = 0; i < m_dialog.ElementCount(); ++i)
    m_elements->addItem(QString::fromStdString(m_preview->CodePage().ToUtf8(m_dialog.ElementCaption(i))));
  ShowSelected();
}

void TQtSyntaxStylesForm::ShowSelected() {
  const QSignalBlocker blocker(m_elements);
  m_elements->setCurrentRow(m_dialog.Selected());
}

bool TQtSyntaxStylesForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_preview && event->type() == QEvent::KeyPress) {
    // The read-only preview has no use for Esc and Enter, which the editor
    // would swallow: they stay the dialog's Cancel and OK.
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    // Nor for Tab: the editor would keep the focus for good.
    if (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && (modifiers & Qt::ShiftModifier))) {
      focusNextPrevChild(false);
      return true;
    }
    if (key->key() == Qt::Key_Tab && modifiers == Qt::NoModifier) {
      focusNextPrevChild(true);
      return true;
    }
    if (modifiers == Qt::NoModifier) {
      if (key->key() == Qt::Key_Escape) {
        reject();
        return true;
      }
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        m_ok->click();
        return true;
      }
    }
  }
  if (watched == m_preview->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        PreviewPress(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
      // The rest of the press goes nowhere either: no selection by dragging,
      // no word selected by a double click.
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove:
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TQtSyntaxStylesForm::PreviewPress(QPoint point) {
  TClientSyntAnalyzer* client = m_preview->SyntClient();
  if (!client) return;
  // The caret position nearest a point is that after a character for the
  // right half of its cell; half a cell to the left, the nearest position is
  // the one before the character the pointer is on.
  const QPoint cell = point - QPoint(m_preview->CharWidth() / 2, 0);
  const TPoint caret = m_preview->PointToCaretPos(cell);
  // Rows below the text map to the last row: there the pointer is on no text.
  const int rowTop = m_preview->CaretPosToPoint(caret).y();
  if (point.y() < rowTop || point.y() >= rowTop + m_preview->LineHeight()) return;
  const int offset = m_preview->CaretPosToStrPos(caret);
  client->AnalyzeTo(static_cast<std::size_t>(offset) + 1);
  if (m_dialog.PreviewClick(*client, offset)) ShowSelected();
}

}  // namespace penwick
