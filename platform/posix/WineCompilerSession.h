// The compiler session on systems without Win32: the Win32 session runs in
// penwick-compile-bridge.exe inside Wine and is spoken to over its pipes.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/CompilerSession.h"

namespace penwick {

class TPipeProcess;

// Starts the bridge at the first call and ends it when destroyed (or when it
// stops answering). Host paths cross into Wine as Z:\ paths, the drive Wine
// maps to the root of the file system, their bytes unchanged: Wine reads file
// names as UTF-8 under a UTF-8 locale, and so does the bridge, which turns
// them into UTF-16 for the wide Windows calls. A name that is not valid UTF-8
// cannot be handed over (EHandOverImpossible).
class TWineCompilerSession : public TCompilerSession {
public:
  // `bridge`: the full name of penwick-compile-bridge.exe. `wine`: the Wine
  // program, looked up in PATH unless it holds a slash.
  explicit TWineCompilerSession(std::string bridge, std::string wine = "wine");
  ~TWineCompilerSession() override;

  // Each call throws ECompilerUnavailable when Wine or the bridge is
  // missing, or the bridge does not answer within AnswerLimit().
  bool CompilerWindowExists() override;
  void CloseCompilerWindow() override;
  // The script's folder with the file name Wine gives the compiler: the
  // script's own, or its short form when the ANSI code page lacks a
  // character of it. Throws EHandOverImpossible (naming `scriptName`) when
  // the bridge finds no form the compiler can read.
  std::string CompilerScriptName(const std::string& scriptName) override;
  void WriteHandOverValue(const std::string& companionFileName) override;
  // Also throws ECompilerUnavailable when `compilerFolder`compiler.exe is missing.
  void StartCompiler(const std::string& compilerFolder) override;
  void SendPrepare() override;
  void SendCompile() override;
  std::string ReadMessages() override;
  // Wine's short form of the file's name in the file's own folder.
  std::string CompilerShortPath(const std::string& path) override;

  // How long one answer may take; the first includes starting Wine, which
  // for a new Wine prefix means setting it up.
  void SetAnswerLimit(std::chrono::milliseconds limit) { m_answerLimit = limit; }
  std::chrono::milliseconds AnswerLimit() const { return m_answerLimit; }
  void SetFirstAnswerLimit(std::chrono::milliseconds limit) { m_firstAnswerLimit = limit; }

  // "/a/b c" -> "Z:\a\b c"; a relative path is made absolute first.
  static std::string ToWinePath(const std::string& path);

private:
  // `hostPath`, when given, is the host form of the path in `argument`, for
  // the message of a refusal.
  std::string Request(const std::string& verb, const std::string& argument = {}, const std::string& hostPath = {});
  // `hostPath` with its file name replaced by the last component of `windowsPath`.
  static std::string WithFileName(const std::string& hostPath, const std::string& windowsPath);
  void EnsureBridge();

  std::string m_bridge;
  std::string m_wine;
  std::unique_ptr<TPipeProcess> m_process;
  std::chrono::milliseconds m_answerLimit{60000};
  std::chrono::milliseconds m_firstAnswerLimit{180000};
};

}  // namespace penwick
