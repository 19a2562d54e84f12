// Looking up and loading mis2.lcf at start-up, with the built-in palette to fall back on.
#include "app/LexerFileLoader.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "app/Application.h"
#include "language/MissionPalette.h"
#include "platform/AbsolutePath.h"
#include "platform/FileErrors.h"
#include "platform/UserDialogs.h"
#include "syntax/StreamTextParser.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

constexpr const char* kBuiltInUsed = "The built-in language definition is used.";

}  // namespace

TLexerFileLoader::TLexerFileLoader(TUserDialogs& dialogs, std::string programFolder)
    : m_dialogs(dialogs), m_programFolder(std::move(programFolder)) {}

std::vector<std::string> TLexerFileLoader::Places(const std::string& programFolder) {
  return {kFileName, (std::filesystem::path(programFolder) / kFileName).string()};
}

void TLexerFileLoader::Load(TSyntAnalyzer& analyzer) {
  std::string notOpened;
  for (const std::string& place : Places(m_programFolder)) {
    try {
      analyzer.LoadFromFile(place, &m_dialogs);
      return;
    } catch (const EFOpenError& e) {
      notOpened += std::string(e.what()) + "\n";
    } catch (const EStreamSyntaxError& e) {
      m_dialogs.ShowError("Error in file \"" + AbsolutePath(place) + "\": " + e.what() + "\n" + kBuiltInUsed);
      LoadBuiltIn(analyzer);
      return;
    } catch (...) {
      // A property error answered No: the load stopped there, and what it
      // applied is what the user chose to keep.
      TApplication::ReportException(&m_dialogs, std::current_exception());
      return;
    }
  }
  m_dialogs.ShowError(notOpened + kBuiltInUsed);
  LoadBuiltIn(analyzer);
}

void TLexerFileLoader::LoadBuiltIn(TSyntAnalyzer& analyzer) {
  try {
    BuildDefaultMissionLexer(analyzer);
  } catch (...) {
    TApplication::ReportException(&m_dialogs, std::current_exception());
  }
}

}  // namespace penwick
