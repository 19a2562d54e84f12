// Keeps the user from writing "?" over characters of a file that the code
// page could not show when the file was opened, without being asked first.
#pragma once

#include <string>

namespace penwick {

class TUserDialogs;

// The document's file lost characters when it was read (a UTF-8 or UTF-16
// file holding letters the 8-bit code page lacks: they are shown as "?").
// Opening says so once; writing over that file asks first; writing it (with
// the user's consent) or opening or creating another document ends the guard.
// Saving under another name does not: the original still holds the letters.
class TCodePageLossGuard {
public:
  explicit TCodePageLossGuard(TUserDialogs& dialogs) : m_dialogs(dialogs) {}

  // A document was read from `fileName` with `lost` characters replaced
  // (0: none). Tells the user once when some were.
  void Opened(const std::string& fileName, int lost);
  // A new document: nothing to guard.
  void Forget() { m_fileName.clear(); }
  // Whether `target` may be written: true unless it is the guarded file and
  // the user answers anything but "&Yes" to the question.
  bool MayWrite(const std::string& target);
  // `target` was written: when it is the guarded file the letters are gone
  // from it too, and there is nothing left to guard.
  void Written(const std::string& target);
  bool Guarding() const { return !m_fileName.empty(); }

private:
  bool IsGuarded(const std::string& target) const;

  TUserDialogs& m_dialogs;
  std::string m_fileName;
  int m_lost = 0;
};

}  // namespace penwick
