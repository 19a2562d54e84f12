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
// maps to the root of the file system.
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
  std::string Request(const std::string& verb, const std::string& argument = {});
  void EnsureBridge();

  std::string m_bridge;
  std::string m_wine;
  std::unique_ptr<TPipeProcess> m_process;
  std::chrono::milliseconds m_answerLimit{60000};
  std::chrono::milliseconds m_firstAnswerLimit{180000};
};

}  // namespace penwick
