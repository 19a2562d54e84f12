// The parameter hint: a small window above the caret line naming the
// parameters of a declaration, the current one in bold.
#pragma once

#include <QColor>
#include <QFont>
#include <string>
#include <vector>

#include "editor/ParamHintLayout.h"
#include "editor/SyntMemoPopup.h"

class QPainter;

namespace penwick {

// Shows the declarations the program puts in Declarations(), each split at
// DeclSeparator into parameter pieces, the piece at CurrentParam in bold.
// With FilterItems only declarations that have the current parameter are
// shown; when none is, the hint has nothing to show and stays closed (or
// closes). It never takes the keyboard: typing goes on into the editor, and
// the common closing rules apply (Esc, mouse presses, loss of focus).
//
// This program does its own detection of what is typed, so Automatic is off
// and Execute (the editor command 702, Ctrl+Shift+Space) does nothing; the
// program calls ShowAt, SetCurrentParam and CloseUp(false).
class TParamCompletion : public TSyntMemoPopup {
  Q_OBJECT
public:
  static constexpr int kDefaultCommandID = 702;

  // Bound to `memo` (which may go first), placed above the caret line.
  explicit TParamCompletion(TSyntaxMemo* memo, QObject* parent = nullptr);
  ~TParamCompletion() override;

  // The declarations to show, one parameter list each (for example
  // "Float X, Float Y, Float Z"); filled by the program. A change shows the
  // next time the hint is shown or its parameter changes.
  std::vector<std::string>& Declarations() { return m_declarations; }
  const std::vector<std::string>& Declarations() const { return m_declarations; }

  int CurrentParam() const { return m_currentParam; }
  // A negative index, or the current one, is ignored. Otherwise the index is
  // stored, the hint is laid out and redrawn if shown (closing when it now
  // has nothing to show), and OnChange is raised.
  void SetCurrentParam(int index);

  // Anchors the hint at the character cell of the 0-based text `offset`
  // (an offset beyond the text is clamped by the editor) and shows it, or
  // moves and redraws it when it is shown already. With nothing to show it
  // closes, or stays closed.
  void ShowAt(int offset);
  // The offset of the latest ShowAt.
  int AnchorOffset() const { return m_anchorOffset; }

  // Detection of a call at the caret is not part of this popup: while
  // Automatic is off (as here) this does nothing and returns false; with
  // Automatic on it shows the current declarations at the caret and returns
  // whether they are shown.
  bool Execute() override;

  // Stored, otherwise inert in this program.
  bool Automatic() const { return m_automatic; }
  void SetAutomatic(bool automatic) { m_automatic = automatic; }
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled) { m_enabled = enabled; }

  char DeclSeparator() const { return m_declSeparator; }
  void SetDeclSeparator(char separator) { m_declSeparator = separator; }
  bool FilterItems() const { return m_filterItems; }
  void SetFilterItems(bool filter) { m_filterItems = filter; }
  // The background (pale yellow by default).
  QColor Color() const { return m_color; }
  void SetColor(const QColor& color);
  // The hint's font (Tahoma, 11 pixels, bold by default); whether a piece is
  // bold is decided per piece, not by the font.
  QFont HintFont() const { return m_font; }
  void SetHintFont(const QFont& font);

  // The layout as last computed by a showing or a parameter change.
  const TParamHintLayout& Layout() const { return m_layout; }

  // Draws the hint window (frame, background, separators, pieces) onto
  // `painter`, whose origin is the window's top-left.
  void Draw(QPainter& painter) const;

protected:
  QSize SizeQuery(int width) override;

private:
  QFont PieceFont(bool bold) const;
  // Lays out again and shows at the latest anchor; closes with nothing to show.
  void Refresh();

  std::vector<std::string> m_declarations;
  int m_currentParam = 0;
  int m_anchorOffset = 0;
  bool m_automatic = false;
  bool m_enabled = false;
  char m_declSeparator = ',';
  bool m_filterItems = true;
  QColor m_color{255, 255, 215};
  QFont m_font;
  TParamHintLayout m_layout;
};

}  // namespace penwick
