// An editor popup holding a list of rows that the keys of the editor and the
// mouse move through while the editor keeps the keyboard.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <string>
#include <vector>

#include "editor/SyntMemoPopup.h"

class QListWidget;

namespace penwick {

// The inner control is a QListWidget without a border and without focus,
// owned by the container; each row is as high as the list font's text plus
// 2 pixels, the selected row drawn in the system's highlight colours.
//
// While shown:
//  - Up, Down, PgUp, PgDn, Home and End pressed in the editor move the
//    selected row instead of the caret (whatever the modifiers), and count as
//    the user's choice;
//  - the wheel over the editor scrolls the list one row per step of 120
//    instead of closing it;
//  - the mouse over a row selects it and raises OnChange (a choice); a press
//    in the list raises OnChange; releasing the left button inside the list
//    accepts the row under it (CloseUp(true)).
// The other closing rules are the popup's.
//
// The selection: setting rows selects the first one (none when empty) and
// forgets the choice.
class TSyntMemoPopupList : public TSyntMemoPopup {
  Q_OBJECT
public:
  TSyntMemoPopupList(TSyntaxMemo* memo, int commandId, QObject* parent = nullptr);
  ~TSyntMemoPopupList() override;

  // The inner control; owned by the popup's container.
  QListWidget* ListBox() const { return m_list; }
  int RowCount() const;
  // Display text of a row in the code page of the editor; out of range gives "".
  std::string RowText(int row) const;
  // -1 when no row is selected.
  int SelectedRow() const;
  // Whether the user picked the selected row (keys or mouse) since the rows
  // were last set.
  bool RowChosen() const { return m_chosen; }

  // The list's size in pixels without the frame (AutoSize off): the size the
  // popup asks for. Default 200 x 80.
  int ListWidth() const { return m_listWidth; }
  int ListHeight() const { return m_listHeight; }
  void SetListSize(int width, int height);
  // The row height before the font is measured; rows are laid out at the
  // list font's text height plus 2, or this when the font gives no height.
  int ItemHeight() const { return m_itemHeight; }
  void SetItemHeight(int height);
  QFont ListFont() const { return m_font; }
  void SetListFont(const QFont& font);
  QColor BgColor() const { return m_bgColor; }
  void SetBgColor(const QColor& color);

protected:
  // Replaces the rows (texts in the editor's code page), selects the first
  // and forgets the choice. Does not raise OnChange.
  void SetRows(const std::vector<std::string>& texts);
  // Selects `row` (clamped to the rows; -1 for none) and shows it.
  void SelectRow(int row, bool chosen);
  int RowHeight() const;

  QSize SizeQuery(int width) override;
  void AfterShow() override;
  bool OwnerEvent(QEvent* event) override;
  bool InnerEvent(QEvent* event) override;

private:
  // The rows a page key moves: the whole rows the list shows, less one.
  int PageRows() const;
  bool ListKey(int key);
  void ApplyLook();

  QListWidget* m_list;  // owned by the container
  int m_listWidth = 200;
  int m_listHeight = 80;
  int m_itemHeight = 15;
  QFont m_font;
  QColor m_bgColor;
  bool m_chosen = false;
  int m_wheelRest = 0;  // wheel steps under 120 not yet turned into a row
  // Where the pointer was last seen: a list that appears under a resting
  // pointer gets a move without motion, which must not pick a row.
  QPoint m_lastPointer;
};

}  // namespace penwick
