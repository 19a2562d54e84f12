// The parameter hint popup: measuring with the hint font, placing above the
// caret line and painting the laid-out pieces.
#include "editor/ParamCompletion.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

const QColor kFrameColor(128, 128, 128);
const QColor kSeparatorColor(192, 192, 192);  // silver
// What the container adds around the hint: its frame and its shadow.
constexpr int kContainerExtra = 4;

QString FromText(std::string_view text) { return QString::fromStdString(TCodePage::Default().ToUtf8(text)); }

// The inner control: paints what the popup laid out; never takes the focus.
class THintView : public QWidget {
public:
  explicit THintView(const TParamCompletion& popup) : m_popup(popup) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName("ParamHintView");
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    m_popup.Draw(painter);
  }

private:
  const TParamCompletion& m_popup;
};

}  // namespace

TParamCompletion::TParamCompletion(TSyntaxMemo* memo, QObject* parent)
    : TSyntMemoPopup(memo, kDefaultCommandID, parent) {
  SetLayoutSide(lsTop);
  m_font.setFamily("Tahoma");
  m_font.setPixelSize(11);
  m_font.setBold(true);
  SetInnerControl(new THintView(*this));
}

TParamCompletion::~TParamCompletion() = default;

void TParamCompletion::SetColor(const QColor& color) {
  m_color = color;
  InnerControl()->update();
}

void TParamCompletion::SetHintFont(const QFont& font) {
  m_font = font;
  if (Showing()) Refresh();
}

QFont TParamCompletion::PieceFont(bool bold) const {
  QFont font = m_font;
  font.setBold(bold);
  return font;
}

QSize TParamCompletion::SizeQuery(int width) {
  // The hint may use the room from the anchor to the monitor's right edge;
  // the placement pushes it left when it would cross that edge anyway.
  int available = width;
  const QRect anchor = Anchor();
  if (QScreen* screen = QGuiApplication::screenAt(anchor.center()))
    available = std::max(available, screen->geometry().right() + 1 - anchor.left() - kContainerExtra);
  const QFontMetrics regular(PieceFont(false));
  const QFontMetrics bold(PieceFont(true));
  const int lineHeight = QFontMetrics(m_font).height();
  m_layout = LayoutParamHint(m_declarations, m_currentParam, m_filterItems, m_declSeparator, available, lineHeight,
                             [&](std::string_view text, bool isBold) {
                               return (isBold ? bold : regular).horizontalAdvance(FromText(text));
                             });
  return {m_layout.Width, m_layout.Height};
}

void TParamCompletion::Draw(QPainter& painter) const {
  const int width = m_layout.Width;
  const int height = m_layout.Height;
  if (width <= 0 || height <= 0) return;
  painter.fillRect(0, 0, width, height, m_color);
  painter.setPen(kFrameColor);
  painter.drawRect(0, 0, width - 1, height - 1);
  painter.setPen(QPen(kSeparatorColor, 1, Qt::DotLine));
  for (int y : m_layout.SeparatorY) painter.drawLine(1, y, width - 2, y);
  // The font's colour is the system's window text colour.
  painter.setPen(InnerControl()->palette().color(QPalette::WindowText));
  const int ascent = QFontMetrics(m_font).ascent();
  const QFont regular = PieceFont(false);
  const QFont bold = PieceFont(true);
  for (const TParamHintPiece& piece : m_layout.Pieces) {
    painter.setFont(piece.Bold ? bold : regular);
    painter.drawText(piece.X, piece.Y + ascent, FromText(piece.Text));
  }
}

void TParamCompletion::Refresh() {
  if (Showing()) ShowPopup(Anchor());
  InnerControl()->update();
}

void TParamCompletion::SetCurrentParam(int index) {
  if (index < 0 || index == m_currentParam) return;
  m_currentParam = index;
  Refresh();
  Changed();
}

void TParamCompletion::ShowAt(int offset) {
  TSyntaxMemo* memo = SyntMemo();
  if (!memo) return;
  m_anchorOffset = offset;
  ShowPopup(AnchorAt(memo->StrPosToCaretPos(offset)));
  InnerControl()->update();
}

bool TParamCompletion::Execute() {
  if (!m_automatic || !SyntMemo()) return false;
  ShowAt(SyntMemo()->CaretStrPos());
  return Showing();
}

}  // namespace penwick
