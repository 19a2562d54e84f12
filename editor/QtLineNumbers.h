// The line-number settings of the editor's gutter.
#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>
#include <functional>

namespace penwick {

// The system colour of inactive window captions, the default UnderColor.
constexpr std::uint32_t kInactiveCaption = 0xFF000003u;

// One number per line (a wrapped line gets one, lines hidden in a folded
// range none): the line index plus FirstLineNumber, written in Font at
// Margin pixels from the gutter's edge named by Alignment, vertically centred
// in the line's drawn height. On a line that carries a folding button the
// number is written in UnderColor (an invalid colour: not written at all).
// Every setter tells OnChanged (the widget re-lays out and repaints).
class TQtLineNumbers {
public:
  TQtLineNumbers();

  bool Visible() const { return m_visible; }
  void SetVisible(bool visible) { Set(m_visible, visible); }
  const QFont& Font() const { return m_font; }
  void SetFont(const QFont& font) { Set(m_font, font); }
  const QColor& FontColor() const { return m_fontColor; }
  void SetFontColor(const QColor& color) { Set(m_fontColor, color); }
  const QColor& UnderColor() const { return m_underColor; }
  void SetUnderColor(const QColor& color) { Set(m_underColor, color); }
  // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
  Qt::Alignment Alignment() const { return m_alignment; }
  void SetAlignment(Qt::Alignment alignment) { Set(m_alignment, alignment); }
  int Margin() const { return m_margin; }
  void SetMargin(int margin) { Set(m_margin, margin); }
  int FirstLineNumber() const { return m_firstLineNumber; }
  void SetFirstLineNumber(int first) { Set(m_firstLineNumber, first); }

  std::function<void()> OnChanged;

private:
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (OnChanged) OnChanged();
  }

  bool m_visible = true;
  QFont m_font;
  QColor m_fontColor;
  QColor m_underColor;
  Qt::Alignment m_alignment = Qt::AlignLeft;
  int m_margin = 2;
  int m_firstLineNumber = 1;
};

}  // namespace penwick
