// How the view measures text: fixed-width character cells and rows of one
// line height, behind an interface so the layout can be tested with plain numbers.
#pragma once

#include <algorithm>

namespace penwick {

// The view draws text in character cells of one width: a character takes one
// cell, a tab the cells up to the next tab stop. Every visual row is one line
// height tall. Both values are in pixels and at least 1 (a measure that
// reports less is read as 1 by the layout).
class TTextMeasure {
public:
  virtual ~TTextMeasure() = default;
  // Pixel width of one character cell.
  virtual int CellWidth() const = 0;
  // Pixel height of one visual row.
  virtual int LineHeight() const = 0;
};

// A measure holding its two numbers: for tests, and for a widget that copies
// them from its font metrics.
class TFixedTextMeasure : public TTextMeasure {
public:
  TFixedTextMeasure(int cellWidth = 8, int lineHeight = 16) { Set(cellWidth, lineHeight); }
  void Set(int cellWidth, int lineHeight) {
    m_cellWidth = std::max(1, cellWidth);
    m_lineHeight = std::max(1, lineHeight);
  }
  int CellWidth() const override { return m_cellWidth; }
  int LineHeight() const override { return m_lineHeight; }

private:
  int m_cellWidth = 8;
  int m_lineHeight = 16;
};

}  // namespace penwick
