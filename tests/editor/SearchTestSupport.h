// A plain editing core dressed as a search control, and forms that answer
// from a script, for the tests of the find, replace and go-to-line pieces.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "editor/CommandDispatcher.h"
#include "editor/MemoEditor.h"
#include "editor/SearchControl.h"
#include "editor/SearchForms.h"
#include "editor/SearchMarks.h"
#include "platform/CodePage.h"
#include "support/ScriptedSearchForms.h"

namespace penwick {

// A search control over a real editing core and search marks. Characters
// stand 8 pixels apart on lines 16 pixels high, the text's origin at (100, 200).
class TTestSearchControl : public TSearchControl {
public:
  TMemoEditor Editor;
  TSearchMarks Marks{Editor.Lines()};
  TCommandDispatcher Dispatcher;
  TScriptedSearchForms ScriptedForms;
  // The analysis searching may steer; none unless a test sets one.
  TClientSyntAnalyzer* Client = nullptr;
  int Repaints = 0;
  int FocusCalls = 0;
  bool HasFocus = false;

  explicit TTestSearchControl(const std::string& text = std::string()) {
    Editor.Lines().SetText(text);
    SetForms(&ScriptedForms);
  }

  TMemoEditor& Core() override { return Editor; }
  TSearchMarks& SearchMarks() override { return Marks; }
  TClientSyntAnalyzer* SyntClient() override { return Client; }
  const TCodePage& CodePage() const override { return TCodePage::Default(); }
  TCommandDispatcher& Commands() override { return Dispatcher; }
  void EnsureCaretVisible() override {}
  void Repaint() override { ++Repaints; }
  bool Focused() const override { return HasFocus; }
  bool CanFocus() const override { return true; }
  void SetFocus() override {
    ++FocusCalls;
    HasFocus = true;
  }
  TPopupRect CharRectOnScreen(int offset) override {
    const TPoint at = Editor.StrPosToCaretPos(offset);
    return TPopupRect{100 + 8 * at.X, 200 + 16 * at.Y, 8, 16};
  }

  std::string Text() const { return Editor.Lines().Text(); }
  int Caret() const { return Editor.CaretStrPos(); }
  std::vector<TSearchMark> MarkList() const { return Marks.Marks(); }
};

// A form answer that types `text` and sets the given options.
inline std::function<TFindFormResult(TFindFormData&)> Answer(TFindFormResult result,
                                                            std::function<void(TFindFormData&)> edit = {}) {
  return [result, edit](TFindFormData& data) {
    if (edit) edit(data);
    return result;
  };
}

}  // namespace penwick
