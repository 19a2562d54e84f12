// Loading and saving a lexer definition as a lexer file (the members of
// TSyntAnalyzer that deal with files live here, beside the reader and writer).
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <ostream>
#include <system_error>

#include "platform/AbsolutePath.h"
#include "platform/FileErrors.h"
#include "platform/SafeFileWriter.h"
#include "platform/UserDialogs.h"
#include "syntax/LexerProperties.h"
#include "syntax/StreamTextParser.h"
#include "syntax/StreamTextWriter.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

// Lexer files are a few dozen kilobytes; anything far larger is not one.
constexpr std::size_t kMaxLexerFileSize = 16u << 20;

std::string ReasonText(int error) { return std::generic_category().message(error); }

// Reads at most kMaxLexerFileSize bytes; true when the stream held no more.
bool ReadLimited(std::istream& stream, std::string& text) {
  char buffer[65536];
  while (stream) {
    stream.read(buffer, sizeof buffer);
    text.append(buffer, static_cast<std::size_t>(stream.gcount()));
    if (text.size() > kMaxLexerFileSize) return false;
  }
  return true;
}

// The question of a load: Yes goes on, All goes on without asking again in
// this load, No (or no one to ask) stops.
TLexerErrorHandler AskingHandler(TUserDialogs* dialogs) {
  auto all = std::make_shared<bool>(false);
  return [dialogs, all](const std::string& message) {
    if (*all) return true;
    if (!dialogs) return false;
    switch (dialogs->AskIgnoreError(message)) {
      case TDialogAnswer::All:
        *all = true;
        return true;
      case TDialogAnswer::Yes:
        return true;
      default:
        return false;
    }
  };
}

}  // namespace

void TSyntAnalyzer::LoadFromText(std::string_view text, const TLexerErrorHandler& onError) {
  const TStreamObject object = ParseStreamText(text);
  // The header's name and class, and nested objects, mean nothing here.
  struct TLoadGuard {
    TSyntAnalyzer& a;
    ~TLoadGuard() { a.EndLoading(); }
  } guard{*this};
  BeginLoading();
  TStreamLoadContext context(onError);
  AnalyzerProperties().Apply(*this, m_name.empty() ? AnalyzerProperties().ClassName() : m_name, object.Properties, context);
}

void TSyntAnalyzer::LoadFromStream(std::istream& stream, TUserDialogs* dialogs) {
  std::string text;
  if (!ReadLimited(stream, text)) throw EStreamSyntaxError("The text is too large for a lexer file", 1);
  LoadFromText(text, AskingHandler(dialogs));
}

void TSyntAnalyzer::LoadFromFile(const std::string& fileName, TUserDialogs* dialogs) {
  LoadFromFile(fileName, AskingHandler(dialogs));
}

void TSyntAnalyzer::LoadFromFile(const std::string& fileName, const TLexerErrorHandler& onError) {
  const std::string shown = AbsolutePath(fileName);
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) throw EFOpenError(shown, ReasonText(EISDIR));
  errno = 0;
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw EFOpenError(shown, ReasonText(errno ? errno : ENOENT));
  std::string text;
  if (!ReadLimited(file, text)) throw EFOpenError(shown, "The file is too large for a lexer file");
  if (file.bad()) throw EFOpenError(shown, ReasonText(errno ? errno : EIO));
  LoadFromText(text, onError);
}

std::string TSyntAnalyzer::SaveToText() const {
  TStreamObject object;
  object.Name = m_name;
  object.ClassName = AnalyzerProperties().ClassName();
  object.Properties = AnalyzerProperties().Capture(*this);
  return WriteStreamText(object);
}

void TSyntAnalyzer::SaveToStream(std::ostream& stream) const {
  const std::string text = SaveToText();
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TSyntAnalyzer::SaveToFile(const std::string& fileName) {
  WriteFileSafely(fileName, SaveToText());
  m_fileName = fileName;
}

}  // namespace penwick
