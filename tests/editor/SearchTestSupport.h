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

namespace penwick {

// Forms that record what they were shown and answer from queues. An
// unexpected question fails the test and answers Cancel.
class TScriptedSearchForms : public TSearchForms {
public:
  // Edits the shown form (like a user) and returns how it was closed.
  std::deque<std::function<TFindFormResult(TFindFormData&)>> FindAnswers;
  std::vector<TFindFormData> FindShown;
  // Texts typed into the go-to-line box, one per OK press; Cancel after the last.
  std::deque<std::string> GotoTexts;
  std::vector<TGotoLineFormData> GotoShown;
  bool GotoAccepted = false;
  std::deque<TDialogAnswer> ReplaceAnswers;
  std::vector<std::string> Questions;
  std::vector<TPromptAnchor> Anchors;
  std::vector<std::string> Informations;
  std::vector<std::string> Errors;
  // Called while the replace question is on the screen.
  std::function<void()> WhileAsking;

  TFindFormResult RunFindForm(TFindFormData& data) override {
    FindShown.push_back(data);
    if (FindAnswers.empty()) {
      ADD_FAILURE() << "unexpected find form";
      return TFindFormResult::Cancel;
    }
    auto answer = std::move(FindAnswers.front());
    FindAnswers.pop_front();
    const TFindFormResult result = answer(data);
    if (result != TFindFormResult::Cancel && data.Text.empty()) throw ESearchBlank();
    return result;
  }

  bool RunGotoLineForm(TGotoLineFormData& data, const std::function<bool(const std::string&)>& accept) override {
    GotoShown.push_back(data);
    while (!GotoTexts.empty()) {
      const std::string text = GotoTexts.front();
      GotoTexts.pop_front();
      if (accept(text)) return GotoAccepted = true;
    }
    return GotoAccepted = false;
  }

  void ShowInformation(const std::string& text) override { Informations.push_back(text); }
  void ShowError(const std::string& text) override { Errors.push_back(text); }

  TDialogAnswer AskReplace(const std::string& text, const TPromptAnchor& anchor) override {
    Questions.push_back(text);
    Anchors.push_back(anchor);
    if (WhileAsking) WhileAsking();
    if (ReplaceAnswers.empty()) {
      ADD_FAILURE() << "unexpected replace question";
      return TDialogAnswer::Cancel;
    }
    const TDialogAnswer answer = ReplaceAnswers.front();
    ReplaceAnswers.pop_front();
    return answer;
  }
};

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
