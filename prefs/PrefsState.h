// What the preferences dialog's controls hold, as plain values: the form
// shows these and writes the user's changes back into them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/UserDialogs.h"

namespace penwick {

// The "At Startup" radio group.
enum class TStartupChoice { OpenLastUsed, CreateNewScript, WelcomeScreen };

// The preferences' pages, in their order in the page control.
enum TPrefsPage { ppGeneral = 0, ppEditor = 1, ppColors = 2 };

// The themes, in their order in the theme list.
enum TThemeIndex { tiTallowby = 0, tiDark = 1 };

// The controls' states. Spin edits hold their text as typed (it may be no
// number at all while the user edits it); colours are 32-bit colour values
// (red in the low byte; system colours have 0xFF in the top byte). The
// initial values are the ones the form is designed with.
struct TPrefsState {
  // Page "General".
  TStartupChoice Startup = TStartupChoice::OpenLastUsed;  // "Open Last Used Script" / "Create New Script" / "Show Welcome Screen"
  std::string MruCount = "0";           // "Maximum:" (group "Recent Files")
  bool EmptyScript = true;              // "...Creates Empty Script" selected, else "...Uses Template Script"
  // Page "Editor".
  TFontChoice SampleFont;               // the font the sample panel "1234...PLAYER_PED" is drawn in
  TFontChoice CodeFont;                 // the font dialog's font (dlgCodeFont)
  std::string TabSize = "0";            // "Tab Size:"
  std::uint32_t BgSwatch = 0xFFFFFFu;   // the swatch next to "Background Color:"
  std::uint32_t BgDialogColor = 0;      // the background colour dialog's colour (dlgBgClr)
  std::uint32_t GutterSwatch = 0xFF00000Fu;        // the gutter swatch
  std::uint32_t GutterDialogColor = 0xFF00000Fu;   // the gutter colour dialog's colour (designed clBtnFace)
  std::string GutterWidth = "0";        // "Width:" (group "Gutter")
  bool LineNumbers = false;             // "Show Line Numbers"
  bool WordWrap = false;                // "Word Wrap"
  bool UndoAfterSave = false;           // "Undo After Save"
  bool AutoCompletion = false;          // "Enable Autocompletion"
  // Page "Colors".
  int Theme = tiDark;                   // the theme list's selection; -1: none
  // The page control's selected page (TPrefsPage).
  int Page = ppColors;
};

}  // namespace penwick
