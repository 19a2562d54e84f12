// The one door through which the program asks the user something: message
// boxes and the file, font and colour dialogs.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace penwick {

// Thrown to end a command without any message, for instance when the user
// answers Cancel to "Save changes to %s?". The event-loop boundary swallows it.
class TSilentAbort : public std::exception {
public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// All: yes to this question and to every later one of the same run.
enum class TDialogAnswer { Yes, No, Cancel, All };

// One file dialog with the settings it keeps between showings. `Filter` is
// in the "description|mask|description|mask" form; `FileName` is offered the
// next time the dialog is shown and receives the chosen name.
struct TFileDialog {
  std::string Title;          // empty: the toolkit's own caption
  std::string Filter;
  std::string DefaultExt;     // without the dot; appended when the name has none
  std::string FileName;
  bool OverwritePrompt = false;  // the dialog itself asks before returning an existing file
  bool PathMustExist = false;
  bool FileMustExist = false;
};

// An editor font as the settings file stores it.
struct TFontChoice {
  std::string Name;
  int Size = 10;              // points
  std::uint32_t Color = 0;    // 32-bit colour, red in the low byte
  int Charset = 1;
  int Style = 0;              // 1 bold, 2 italic, 4 underline, 8 strike-out
};

// Every question and message box of the program. Texts and file names are
// UTF-8, the file system's own form on our platforms: a caller that puts
// document text (8-bit, display code page) into a message converts it first
// with TCodePage::ToUtf8. Implementations: real dialogs (app/) and a scripted one
// for tests (tests/support/).
class TUserDialogs {
public:
  virtual ~TUserDialogs() = default;

  // Caption "Confirm", question icon, buttons "&Yes", "&No", "Cancel".
  // Closing the box without a button counts as Cancel.
  virtual TDialogAnswer Confirm(const std::string& text) = 0;
  // Caption "Error", error icon, one OK button.
  virtual void ShowError(const std::string& text) = 0;
  // Caption: the application title; one OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // Caption "Error", error icon, the text, a line break and "Ignore this
  // error?", buttons "&Yes", "&No", "&All". Answers Yes, No or All; closing
  // the box without a button counts as No.
  virtual TDialogAnswer AskIgnoreError(const std::string& text) = 0;

  // Both return false when the user cancels; on true `dialog.FileName` holds
  // the chosen name, with the default extension added when it had none.
  virtual bool ExecuteOpen(TFileDialog& dialog) = 0;
  virtual bool ExecuteSave(TFileDialog& dialog) = 0;

  // Font and colour choosers; false when cancelled, the argument unchanged.
  virtual bool ExecuteFont(TFontChoice& font) = 0;
  virtual bool ExecuteColor(std::uint32_t& color) = 0;
};

}  // namespace penwick
