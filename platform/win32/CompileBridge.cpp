// penwick-compile-bridge.exe: runs the Win32 compiler session for an editor
// that cannot make Win32 calls itself, answering its requests on stdin/stdout.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

#include "platform/win32/BridgeProtocol.h"
#include "platform/win32/Win32CompilerSession.h"

namespace {

void Answer(const std::string& line) {
  std::cout << line << '\n';
  std::cout.flush();
}

}  // namespace

int main() {
  using namespace penwick;
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  TWin32CompilerSession session;
  std::string line, verb, argument;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    bridge::SplitLine(line, verb, argument);
    const std::string value = bridge::Unescape(argument);
    try {
      if (verb == "HELLO") {
        Answer(std::string("OK ") + bridge::kGreeting);
      } else if (verb == "EXISTS") {
        Answer(session.CompilerWindowExists() ? "OK 1" : "OK 0");
      } else if (verb == "CLOSE") {
        session.CloseCompilerWindow();
        Answer("OK");
      } else if (verb == "NAME") {
        Answer("OK " + bridge::Escape(session.CompilerScriptName(value)));
      } else if (verb == "HANDOVER") {
        session.WriteHandOverValue(value);
        Answer("OK");
      } else if (verb == "START") {
        session.StartCompiler(value);
        Answer("OK");
      } else if (verb == "PREPARE") {
        session.SendPrepare();
        Answer("OK");
      } else if (verb == "COMPILE") {
        session.SendCompile();
        Answer("OK");
      } else if (verb == "READ") {
        Answer("OK " + bridge::Escape(session.ReadMessages()));
      } else if (verb == "SHORT") {
        Answer("OK " + bridge::Escape(session.CompilerShortPath(value)));
      } else if (verb == "QUIT") {
        Answer("OK");
        return 0;
      } else {
        Answer("ERR " + bridge::Escape("Unknown bridge request: " + verb));
      }
    } catch (const EHandOverImpossible& e) {
      Answer(std::string("REFUSED ") + bridge::Escape(e.Reason()));
    } catch (const ECompilerUnavailable& e) {
      Answer(std::string("MISSING ") + bridge::Escape(e.what()));
    } catch (const std::exception& e) {
      Answer(std::string("ERR ") + bridge::Escape(e.what()));
    }
  }
  return 0;
}
