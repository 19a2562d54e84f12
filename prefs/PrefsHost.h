// The live objects the preferences dialog reads when it is shown and writes
// back on Apply: the editor, the command list, the main window's fields, the
// recent-files list and the lexer definition. The main window implements it;
// tests use a plain fake.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UserDialogs.h"

namespace penwick {

class TSyntAnalyzer;

class TPrefsHost {
public:
  virtual ~TPrefsHost() = default;

  // The editor font, with its colour and character set.
  virtual TFontChoice EditorFont() const = 0;
  virtual void SetEditorFont(const TFontChoice& font) = 0;
  // Colours as 32-bit colour values; system colours keep their names.
  virtual std::uint32_t EditorBgColor() const = 0;
  virtual void SetEditorBgColor(std::uint32_t color) = 0;
  virtual std::uint32_t GutterColor() const = 0;
  virtual void SetGutterColor(std::uint32_t color) = 0;
  virtual int GutterWidth() const = 0;
  virtual void SetGutterWidth(int pixels) = 0;
  // The tab list as text ("4"). The setter is given a whole number's text.
  virtual std::string TabListText() const = 0;
  virtual void SetTabListText(const std::string& text) = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool on) = 0;
  virtual bool LineNumbers() const = 0;
  virtual void SetLineNumbers(bool visible) = 0;
  // The editor option soUndoAfterSave.
  virtual bool UndoAfterSave() const = 0;
  virtual void SetUndoAfterSave(bool on) = 0;
  // Whether the command list opens by itself while a word is typed.
  virtual bool AutoCompletion() const = 0;
  virtual void SetAutoCompletion(bool enabled) = 0;
  virtual void RepaintEditor() = 0;

  // The main window's fields.
  virtual bool OpenLastUsed() const = 0;
  virtual void SetOpenLastUsed(bool value) = 0;
  virtual bool CreateNewStart() const = 0;
  virtual void SetCreateNewStart(bool value) = 0;
  virtual bool EmptyScr() const = 0;
  virtual void SetEmptyScr(bool value) = 0;
  // The page read from the settings file at start-up.
  virtual int PrefsTab() const = 0;

  // The recent-files list's capacity (0..255).
  virtual int MruCapacity() const = 0;
  virtual void SetMruCapacity(int capacity) = 0;

  // The live lexer definition (the editor's highlighting) and the folder
  // the theme files lie in ("Themes/" below it).
  virtual TSyntAnalyzer& Analyzer() = 0;
  virtual std::string ProgramFolder() const = 0;

  // Opens the program's help at its table of contents; raises with a
  // message the user can read when no help can be shown.
  virtual void ShowHelp() = 0;
};

}  // namespace penwick
