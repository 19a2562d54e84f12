// Start-up's lexer file: mis2.lcf from the working directory or from beside
// the program, and the built-in palette when neither can be used.
#pragma once

#include <string>
#include <vector>

namespace penwick {

class TSyntAnalyzer;
class TUserDialogs;

class TLexerFileLoader {
public:
  static constexpr const char* kFileName = "mis2.lcf";

  // `programFolder` is the executable's folder (tests put another in).
  // `dialogs` is not owned and must outlive the loader.
  TLexerFileLoader(TUserDialogs& dialogs, std::string programFolder);

  // Loads over `analyzer`, which holds the built-in definition, the first
  // copy of kFileName that can be opened: the working directory's (the
  // relative name), then the program folder's. Property errors are asked
  // about through the dialogs (Yes, No, All). Never throws: start-up goes on
  // whatever happens, and the user is told once:
  // - no copy opens: one error naming both places, then the built-in
  //   palette (BuildDefaultMissionLexer) is loaded;
  // - the copy has a syntax error (which changed nothing): that error with
  //   the file's name, then the built-in palette;
  // - a property error is answered No, or anything else fails: that error;
  //   what was applied before it stays as it is.
  void Load(TSyntAnalyzer& analyzer);

  // The places Load tries, in its order: the working directory's copy (the
  // relative name), then the one in `programFolder`.
  static std::vector<std::string> Places(const std::string& programFolder);

private:
  // Loads the built-in palette; an error there is shown as well.
  void LoadBuiltIn(TSyntAnalyzer& analyzer);

  TUserDialogs& m_dialogs;
  std::string m_programFolder;
};

}  // namespace penwick
