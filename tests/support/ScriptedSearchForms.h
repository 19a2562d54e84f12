// Search forms that answer from a script and record what they were shown,
// for the tests of searching in the editor and in the main window.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "editor/SearchForms.h"

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

}  // namespace penwick
