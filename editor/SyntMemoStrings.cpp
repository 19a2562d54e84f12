// The text store: line table maintenance, whole-text operations, files, and
// the undo history with its modified state.
#include "editor/SyntMemoStrings.h"

#include "platform/CodePage.h"
#include "platform/TextEscape.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace penwick {

namespace {

constexpr int kCrLfLength = 2;
const std::string_view kCrLf = "\r\n";

// Free room left after the text when it is loaded or set, so that typing
// into a large text does not reallocate (and so briefly double) the buffer.
int GapFor(size_t length) {
  return static_cast<int>(std::clamp<size_t>(length / 32, 4096, 4u << 20));
}

struct TBreakCounts {
  int crLf = 0;
  int cr = 0;
  int lf = 0;
};

std::string ErrorText(int error) { return std::generic_category().message(error); }

}  // namespace

TSyntMemoStrings::TSyntMemoStrings() = default;

// ---------------------------------------------------------------- lines

int TSyntMemoStrings::LineStart(int index) const {
  return index >= 0 && index < Count() ? m_lines.ValueAt(index) : 0;
}

int TSyntMemoStrings::LineFullLength(int index) const {
  if (index < 0 || index >= Count()) return 0;
  const int end = index + 1 < Count() ? m_lines.ValueAt(index + 1) : TextLength();
  return end - m_lines.ValueAt(index);
}

int TSyntMemoStrings::LineBreakLength(int index) const {
  if (index < 0 || index >= Count()) return 0;
  const int start = m_lines.ValueAt(index);
  const int end = index + 1 < Count() ? m_lines.ValueAt(index + 1) : TextLength();
  if (end <= start) return 0;
  const char last = m_text.ValueAt(end - 1);
  if (last == '\n') return end - start >= 2 && m_text.ValueAt(end - 2) == '\r' ? 2 : 1;
  return last == '\r' ? 1 : 0;
}

int TSyntMemoStrings::LineLength(int index) const { return LineFullLength(index) - LineBreakLength(index); }

int TSyntMemoStrings::LineFromOffset(int offset) const {
  if (Count() == 0) return -1;
  if (offset <= 0) return 0;
  return std::max(0, m_lines.LastAtOrBefore(offset));
}

TLineState TSyntMemoStrings::LineState(int index) const {
  return index >= 0 && index < m_states.Length() ? static_cast<TLineState>(m_states.ValueAt(index)) : lsUnchanged;
}

std::string TSyntMemoStrings::TextRange(int offset, int count) const {
  offset = std::clamp(offset, 0, TextLength());
  count = std::clamp(count, 0, TextLength() - offset);
  std::string out(static_cast<size_t>(count), '\0');
  m_text.CopyTo(out.data(), offset, count);
  return out;
}

std::string TSyntMemoStrings::Line(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return TextRange(m_lines.ValueAt(index), LineLength(index));
}

std::string TSyntMemoStrings::Text() const { return TextRange(0, TextLength()); }

bool TSyntMemoStrings::IsLineStartAt(int offset) const {
  if (offset <= 0 || offset > TextLength()) return false;
  const char before = m_text.ValueAt(offset - 1);
  if (before == '\n') return true;
  return before == '\r' && (offset == TextLength() || m_text.ValueAt(offset) != '\n');
}

void TSyntMemoStrings::MarkModified(int line) {
  if (line >= 0 && line < m_states.Length() && m_states.ValueAt(line) != lsNew) m_states.SetValueAt(line, lsModified);
}

void TSyntMemoStrings::LinesRemovedAt(int first, int count) {
  if (count > 0) m_lineEvents.push_back(TLineEvent{false, first, count});
}

void TSyntMemoStrings::LinesInsertedAt(int first, int count) {
  if (count <= 0) return;
  if (!m_lineEvents.empty() && m_lineEvents.back().Inserted &&
      m_lineEvents.back().First + m_lineEvents.back().Count == first) {
    m_lineEvents.back().Count += count;  // one block of new lines, one event
    return;
  }
  m_lineEvents.push_back(TLineEvent{true, first, count});
}

TSubscription TSyntMemoStrings::Subscribe(TStoreListener listener, TStorePhase phase) {
  return m_listeners[static_cast<int>(phase)].Subscribe(std::move(listener));
}

// Line events of the edit first, then the change, phase by phase. The
// pending events are taken before anyone hears of them: a listener that
// edits the text starts a list of its own.
void TSyntMemoStrings::Notify(int pos, int count, int lineChange) {
  std::vector<TLineEvent> events;
  events.swap(m_lineEvents);
  for (TListenerList<TStoreListener>& phase : m_listeners) {
    phase.ForEach([&](const TStoreListener& listener) {
      for (const TLineEvent& event : events) {
        const auto& report = event.Inserted ? listener.LinesInserted : listener.LinesRemoved;
        if (report) report(event.First, event.Count);
      }
      if (listener.Changed) listener.Changed(pos, count, lineChange);
    });
  }
}

// A whole-text change: every old line went, every line now held is new.
void TSyntMemoStrings::NotifyWholeText(int oldCount) {
  m_lineEvents.clear();
  LinesRemovedAt(0, oldCount);
  LinesInsertedAt(0, Count());
  Notify(-1, 0, 0);
}

namespace {

// One pass over a contiguous text: the offsets just past every break, and
// how many breaks of each kind there are.
void ScanBreaks(const char* p, int length, std::vector<int>& starts, TBreakCounts& counts) {
  for (int i = 0; i < length; ++i) {
    const char c = p[i];
    if (c > '\r') continue;
    if (c == '\n') {
      ++counts.lf;
      starts.push_back(i + 1);
    } else if (c == '\r') {
      if (i + 1 < length && p[i + 1] == '\n') {
        ++counts.crLf;
        ++i;
      } else {
        ++counts.cr;
      }
      starts.push_back(i + 1);
    }
  }
}

}  // namespace

void TSyntMemoStrings::RebuildLines(bool emptyLineAfterFinalBreak, TLineState state) {
  TBreakCounts counts;
  const int length = TextLength();
  std::vector<int> starts;
  if (length > 0) {
    starts.push_back(0);
    m_text.GapTo(length);
    ScanBreaks(m_text.Part1(), length, starts, counts);
    if (!emptyLineAfterFinalBreak && starts.back() == length) starts.pop_back();
  }
  const size_t lineCount = starts.size();
  m_lines.Adopt(std::move(starts));
  m_states.Adopt(std::vector<uint8_t>(lineCount, state), 1024);
}

// Insertion keeps the table exact even where the inserted text completes or
// splits a CR LF pair: only the starts in [offset, offset + n] can change, so
// those are re-derived from the text and everything after is shifted.
void TSyntMemoStrings::InsertText(int offset, std::string_view text) {
  if (text.empty()) return;
  const int n = static_cast<int>(text.size());
  offset = std::clamp(offset, 0, TextLength());
  const int oldCount = Count();
  if (TextLength() == 0) {
    m_text.InsertN(0, text.data(), n);
    RebuildLines(true, lsNew);
    // The empty line the store may have held is the first line now.
    LinesInsertedAt(oldCount, Count() - oldCount);
    Notify(offset, n, Count() - oldCount);
    return;
  }
  int line = m_lines.LastAtOrBefore(offset);
  m_text.InsertN(offset, text.data(), n);
  m_lines.ShiftAfter(line, n);
  bool startAtOffset = m_lines.ValueAt(line) == offset;
  if (startAtOffset && offset > 0 && !IsLineStartAt(offset)) {
    // The text now runs on from the previous line (a CR met an inserted LF).
    m_lines.Remove(line, 1);
    m_states.Delete(line, 1);
    LinesRemovedAt(line, 1);
    --line;
    startAtOffset = false;
  }
  MarkModified(line);
  int insertAt = line + 1;
  for (int k = startAtOffset ? offset + 1 : offset; k <= offset + n; ++k) {
    if (IsLineStartAt(k)) {
      m_lines.Insert(insertAt, k);
      m_states.Insert(insertAt, lsNew);
      ++insertAt;
    }
  }
  LinesInsertedAt(line + 1, insertAt - (line + 1));
  Notify(offset, n, Count() - oldCount);
}

// Deletion removes the starts inside the removed span and re-derives the one
// start that can appear or vanish at the join.
void TSyntMemoStrings::DeleteText(int offset, int count) {
  if (TextLength() == 0) return;
  offset = std::clamp(offset, 0, TextLength());
  count = std::min(count, TextLength() - offset);
  if (count <= 0) return;
  const int oldCount = Count();
  int line = m_lines.LastAtOrBefore(offset);
  const int lastInSpan = m_lines.LastAtOrBefore(offset + count);
  m_text.Delete(offset, count);
  if (lastInSpan > line) {
    m_lines.Remove(line + 1, lastInSpan - line);
    m_states.Delete(line + 1, lastInSpan - line);
    LinesRemovedAt(line + 1, lastInSpan - line);
  }
  m_lines.ShiftAfter(line, -count);
  if (offset > 0) {
    if (m_lines.ValueAt(line) == offset) {
      if (!IsLineStartAt(offset)) {
        m_lines.Remove(line, 1);
        m_states.Delete(line, 1);
        LinesRemovedAt(line, 1);
        --line;
      }
    } else if (IsLineStartAt(offset) && (offset < TextLength() || lastInSpan > line)) {
      // The join left a break whose next line must start here (a CR lost
      // its LF); at the very end only when a line stood there before.
      m_lines.Insert(line + 1, offset);
      m_states.Insert(line + 1, lsModified);
      LinesInsertedAt(line + 1, 1);
    }
  }
  MarkModified(line);
  Notify(offset, -count, Count() - oldCount);
}

void TSyntMemoStrings::SetLine(int index, std::string_view text) {
  if (index < 0 || index >= Count()) throw EStringListError(index);
  const int start = LineStart(index);
  DeleteText(start, LineLength(index));
  InsertText(start, text);
}

void TSyntMemoStrings::Insert(int index, std::string_view text) {
  if (index < 0 || index > Count()) throw EStringListError(index);
  std::string s;
  if (index < Count()) {
    s.reserve(text.size() + kCrLfLength);
    s.append(text).append(kCrLf);
    InsertText(LineStart(index), s);
    return;
  }
  if (Count() == 0) {
    if (!text.empty()) {
      InsertText(0, text);
    } else {
      // An empty line on an empty store: no characters, one line.
      m_lines.Insert(0, 0);
      m_states.Insert(0, lsNew);
      LinesInsertedAt(0, 1);
      Notify(0, 0, 1);
    }
    return;
  }
  if (LineBreakLength(Count() - 1) > 0) s.append(text).append(kCrLf);
  else s.append(kCrLf).append(text);
  InsertText(TextLength(), s);
}

void TSyntMemoStrings::Delete(int index) {
  if (index < 0 || index >= Count()) throw EStringListError(index);
  if (TextLength() == 0) {
    // The one empty line of an emptied store.
    m_lines.Clear();
    m_states.Clear();
    LinesRemovedAt(0, 1);
    Notify(0, 0, -1);
    return;
  }
  if (index == Count() - 1 && LineBreakLength(index) == 0) {
    const int from = index > 0 ? LineStart(index) - LineBreakLength(index - 1) : 0;
    DeleteText(from, TextLength() - from);
  } else {
    DeleteText(LineStart(index), LineFullLength(index));
  }
}

void TSyntMemoStrings::Clear() {
  DropStaleUndo();
  const int oldCount = Count();
  m_text.Clear();
  m_lines.Clear();
  m_states.Clear();
  NotifyWholeText(oldCount);
}

void TSyntMemoStrings::SetText(std::string_view text) {
  DropStaleUndo();
  std::vector<char> bytes;
  bytes.reserve(text.size() + static_cast<size_t>(GapFor(text.size())));
  bytes.assign(text.begin(), text.end());
  const int oldCount = Count();
  m_text.Adopt(std::move(bytes), GapFor(text.size()));
  RebuildLines(false, lsUnchanged);
  NotifyWholeText(oldCount);
}

void TSyntMemoStrings::AddStrings(const std::vector<std::string>& lines) {
  std::string s;
  const int oldCount = Count();
  const bool prefix = oldCount > 0 && LineBreakLength(oldCount - 1) == 0;
  if (prefix) s.append(kCrLf);
  for (const std::string& line : lines) s.append(line).append(kCrLf);
  if (s.empty()) return;
  const int oldLength = TextLength();
  std::vector<uint8_t> oldStates(static_cast<size_t>(m_states.Length()));
  m_states.CopyTo(oldStates.data(), 0, m_states.Length());
  m_text.InsertN(oldLength, s.data(), static_cast<int>(s.size()));
  RebuildLines(false, lsNew);
  const int keep = std::min<int>(static_cast<int>(oldStates.size()), Count());
  for (int i = 0; i < keep; ++i) m_states.SetValueAt(i, oldStates[static_cast<size_t>(i)]);
  if (prefix) MarkModified(oldCount - 1);
  LinesInsertedAt(oldCount, Count() - oldCount);
  Notify(oldLength, static_cast<int>(s.size()), Count() - oldCount);
}

// Records made before a whole-text replacement describe a text that is gone;
// replaying them would corrupt the new one. They are dropped, and the text
// still counts as modified when they were undoable.
void TSyntMemoStrings::DropStaleUndo() {
  if (m_undo.empty()) return;
  const bool before = Modified();
  if (CanUndo()) m_forcedModified = true;
  m_undo.clear();
  m_redoCount = 0;
  RaiseIfFlipped(before);
}

void TSyntMemoStrings::RaiseIfFlipped(bool before) {
  if (Modified() != before && m_onModifiedChanged) m_onModifiedChanged();
}

// ---------------------------------------------------------------- files

const TCodePage& TSyntMemoStrings::CharsetCodePage() const {
  static const TCodePage oem(437);
  return m_charset == 255 ? oem : TCodePage::Default();
}

void TSyntMemoStrings::LoadBytes(std::vector<char>&& bytes) {
  DropStaleUndo();
  const int oldCount = Count();
  if (bytes.empty()) {
    m_encoding = teAnsi;
    m_text.Clear();
    m_lines.Clear();
    m_states.Clear();
    NotifyWholeText(oldCount);
    return;
  }
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  TTextEncoding found = teAnsi;
  size_t skip = 0;
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    found = teUtf16LE;
    skip = 2;
  } else if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
    found = teUtf16BE;
    skip = 2;
  } else if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    found = teUtf8;
    skip = 3;
  }
  if (skip > 0 || !m_keepEncoding) m_encoding = found;

  const std::string_view rest(bytes.data() + skip, bytes.size() - skip);
  try {
    if (m_encoding == teAnsi && skip == 0 && (m_codePage == 0 || m_codePage == CharsetCodePage().Number())) {
      const int gap = GapFor(bytes.size());
      m_text.Adopt(std::move(bytes), gap);
    } else {
      std::string text;
      if (m_encoding == teUtf16LE || m_encoding == teUtf16BE) {
        std::u16string units(rest.size() / 2, u'\0');  // an odd last byte is ignored
        const bool big = m_encoding == teUtf16BE;
        for (size_t i = 0; i < units.size(); ++i) {
          const unsigned char a = static_cast<unsigned char>(rest[2 * i]);
          const unsigned char b = static_cast<unsigned char>(rest[2 * i + 1]);
          units[i] = static_cast<char16_t>(big ? (a << 8) | b : (b << 8) | a);
        }
        text = CharsetCodePage().FromUtf16(units);
      } else if (m_encoding == teUtf8) {
        text = CharsetCodePage().FromUtf8(rest);
      } else if (m_codePage != 0 && m_codePage != CharsetCodePage().Number()) {
        text = CharsetCodePage().FromUtf16(TCodePage(m_codePage).ToUtf16(rest));
      } else {
        text.assign(rest);
      }
      std::vector<char>().swap(bytes);  // release the file image before copying the text
      std::vector<char> converted;
      converted.reserve(text.size() + static_cast<size_t>(GapFor(text.size())));
      converted.assign(text.begin(), text.end());
      m_text.Adopt(std::move(converted), GapFor(text.size()));
    }
  } catch (const std::exception&) {
    // A failed conversion leaves what was read, taken byte for byte.
    if (!bytes.empty()) {
      bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(skip));
      const int gap = GapFor(bytes.size());
      m_text.Adopt(std::move(bytes), gap);
    }
  }

  TBreakCounts counts;
  {
    const int length = TextLength();
    std::vector<int> starts;
    if (length > 0) {
      starts.reserve(static_cast<size_t>(length / 40 + 16));
      starts.push_back(0);
      m_text.GapTo(length);
      ScanBreaks(m_text.Part1(), length, starts, counts);
    }
    const size_t lineCount = starts.size();
    m_lines.Adopt(std::move(starts));
    m_states.Adopt(std::vector<uint8_t>(lineCount, lsUnchanged), 1024);
  }
  if (counts.crLf == 0 && counts.lf == 0 && counts.cr > 0) m_lineBreakStyle = lbCR;
  else if (counts.crLf == 0 && counts.cr == 0 && counts.lf > 0) m_lineBreakStyle = lbLF;
  else m_lineBreakStyle = lbAsHeld;
  NotifyWholeText(oldCount);
}

void TSyntMemoStrings::LoadFromStream(std::istream& stream) {
  std::vector<char> bytes;
  try {
    constexpr size_t kChunk = 1u << 20;
    for (;;) {
      const size_t have = bytes.size();
      bytes.resize(have + kChunk);
      stream.read(bytes.data() + have, static_cast<std::streamsize>(kChunk));
      const std::streamsize got = stream.gcount();
      bytes.resize(have + static_cast<size_t>(std::max<std::streamsize>(got, 0)));
      if (got < static_cast<std::streamsize>(kChunk)) break;
    }
  } catch (const std::exception&) {
    // A read error leaves what was read.
  }
  LoadBytes(std::move(bytes));
}

void TSyntMemoStrings::LoadFromFile(const std::string& fileName) {
  // A folder opens for reading on some systems and would load as an empty text.
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) throw EFOpenError(fileName, ErrorText(EISDIR));
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) throw EFOpenError(fileName, ErrorText(errno));
  std::vector<char> bytes;
  try {
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (size > 0) {
      // Read into a buffer that already has the room the store keeps free.
      bytes.reserve(static_cast<size_t>(size) + static_cast<size_t>(GapFor(static_cast<size_t>(size))));
      bytes.resize(static_cast<size_t>(size));
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    }
    // Whatever is left (a file that grew, or one whose size is unknown).
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  } catch (const std::exception&) {
    // A read error leaves what was read.
  }
  std::fclose(file);
  LoadBytes(std::move(bytes));
}

// Feeds the file form of the text to `sink(const char*, size_t)` in pieces.
template <typename Sink>
void TSyntMemoStrings::WriteTo(Sink&& sink) const {
  switch (m_encoding) {
    case teUtf16LE: sink("\xFF\xFE", 2); break;
    case teUtf16BE: sink("\xFE\xFF", 2); break;
    case teUtf8: sink("\xEF\xBB\xBF", 3); break;
    default: break;
  }
  const bool convertPage = m_encoding == teAnsi && m_codePage != 0 && m_codePage != CharsetCodePage().Number();
  if (m_encoding == teAnsi && !convertPage && m_lineBreakStyle == lbAsHeld) {
    if (m_text.Part1Length() > 0) sink(m_text.Part1(), static_cast<size_t>(m_text.Part1Length()));
    if (m_text.Part2Length() > 0) sink(m_text.Part2(), static_cast<size_t>(m_text.Part2Length()));
    return;
  }
  auto emit = [&](const std::string& chunk) {
    if (chunk.empty()) return;
    switch (m_encoding) {
      case teAnsi: {
        const std::string out = TCodePage(m_codePage).FromUtf16(CharsetCodePage().ToUtf16(chunk));
        sink(out.data(), out.size());
        break;
      }
      case teUtf8: {
        const std::string out = CharsetCodePage().ToUtf8(chunk);
        sink(out.data(), out.size());
        break;
      }
      case teUtf16LE:
      case teUtf16BE: {
        const std::u16string units = CharsetCodePage().ToUtf16(chunk);
        std::string out(units.size() * 2, '\0');
        const bool big = m_encoding == teUtf16BE;
        for (size_t i = 0; i < units.size(); ++i) {
          const char hi = static_cast<char>(units[i] >> 8);
          const char lo = static_cast<char>(units[i] & 0xFF);
          out[2 * i] = big ? hi : lo;
          out[2 * i + 1] = big ? lo : hi;
        }
        sink(out.data(), out.size());
        break;
      }
    }
  };
  std::string_view styleBreak;
  switch (m_lineBreakStyle) {
    case lbCRLF: styleBreak = "\r\n"; break;
    case lbCR: styleBreak = "\r"; break;
    case lbLF: styleBreak = "\n"; break;
    default: break;
  }
  constexpr size_t kChunk = 1u << 20;
  std::string chunk;
  chunk.reserve(kChunk + 4096);
  for (int i = 0; i < Count(); ++i) {
    const int start = m_lines.ValueAt(i);
    const int full = LineFullLength(i);
    const int breakLength = LineBreakLength(i);
    const int body = styleBreak.empty() ? full : full - breakLength;
    const size_t have = chunk.size();
    chunk.resize(have + static_cast<size_t>(body));
    m_text.CopyTo(chunk.data() + have, start, body);
    if (!styleBreak.empty() && breakLength > 0) chunk.append(styleBreak);
    if (chunk.size() >= kChunk) {
      emit(chunk);
      chunk.clear();
    }
  }
  emit(chunk);
}

void TSyntMemoStrings::SaveToStream(std::ostream& stream) const {
  WriteTo([&](const char* data, size_t size) {
    stream.write(data, static_cast<std::streamsize>(size));
    if (!stream) throw EFileError("Stream write error");
  });
}

void TSyntMemoStrings::SaveToFile(const std::string& fileName) const {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target(fileName);
  // Replace the file a link points to, not the link.
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string tempName = (folder / ("." + target.filename().string() + ".penwick-XXXXXX")).string();

#ifndef _WIN32
  const int fd = ::mkstemp(tempName.data());
  if (fd < 0) throw EFCreateError(fileName, ErrorText(errno));
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    const int error = errno;
    ::close(fd);
    ::unlink(tempName.c_str());
    throw EFCreateError(fileName, ErrorText(error));
  }
#else
  std::FILE* file = nullptr;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    tempName = (folder / ("." + target.filename().string() + ".penwick-" + std::to_string(attempt))).string();
    file = std::fopen(tempName.c_str(), "wbx");
  }
  if (!file) throw EFCreateError(fileName, ErrorText(errno));
#endif

  int error = 0;
  try {
    std::vector<char> buffer(1u << 20);
    std::setvbuf(file, buffer.data(), _IOFBF, buffer.size());
    WriteTo([&](const char* data, size_t size) {
      if (std::fwrite(data, 1, size, file) != size) {
        error = errno ? errno : EIO;
        throw EFCreateError(fileName, ErrorText(error));
      }
    });
    if (std::fflush(file) != 0) throw EFCreateError(fileName, ErrorText(errno ? errno : EIO));
#ifndef _WIN32
    if (::fsync(::fileno(file)) != 0) throw EFCreateError(fileName, ErrorText(errno));
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
      ::fchmod(::fileno(file), old.st_mode & 07777);
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(::fileno(file), 0666 & ~mask);
    }
#endif
    const int closed = std::fclose(file);
    file = nullptr;
    if (closed != 0) throw EFCreateError(fileName, ErrorText(errno ? errno : EIO));
    fs::rename(tempName, target, ec);
    if (ec) throw EFCreateError(fileName, ec.message());
  } catch (...) {
    if (file) std::fclose(file);
    std::remove(tempName.c_str());
    throw;
  }
}

// ---------------------------------------------------------------- undo

bool TSyntMemoStrings::Modified() const { return m_forcedModified || UndoCount() - m_redoCount != 0; }

void TSyntMemoStrings::SetModified(bool modified) {
  const bool before = Modified();
  m_forcedModified = modified;
  if (!modified) {
    m_undo.clear();
    m_redoCount = 0;
    for (int i = 0; i < m_states.Length(); ++i)
      if (m_states.ValueAt(i) != lsUnchanged) m_states.SetValueAt(i, lsSaved);
  }
  RaiseIfFlipped(before);
}

void TSyntMemoStrings::DiscardUndone() {
  const int keep = UndoCount() - m_redoCount;
  m_undo.erase(m_undo.begin() + keep, m_undo.end());
  m_redoCount = 0;
}

void TSyntMemoStrings::TrimToLimit() {
  if (m_undoLimit <= 0) return;
  while (UndoCount() > m_undoLimit) {
    m_undo.pop_front();
    m_forcedModified = true;
  }
  m_redoCount = std::min(m_redoCount, UndoCount());
}

void TSyntMemoStrings::AddUndo(TUndoKind kind, const std::string& inserted, bool caretAfter, int position,
                               const std::string& removed) {
  const bool before = Modified();
  DiscardUndone();
  if (!m_undo.empty() && m_undo.back().Kind == ukDelete && kind == ukInsert && removed.empty() &&
      m_undo.back().Position == position) {
    // The deletion of a selection and the text typed over it: one replacement.
    TUndoRec& last = m_undo.back();
    last.Kind = ukInsert;
    last.InsertedText = inserted;
    last.CaretAfter = caretAfter;
  } else {
    TUndoRec rec;
    rec.Kind = kind;
    rec.Position = position;
    rec.InsertedText = inserted;
    rec.RemovedText = removed;
    rec.CaretAfter = caretAfter;
    rec.Group = m_currentGroup;
    m_undo.push_back(std::move(rec));
    TrimToLimit();
  }
  RaiseIfFlipped(before);
}

void TSyntMemoStrings::ClearUndo() {
  const bool before = Modified();
  m_undo.clear();
  m_redoCount = 0;
  RaiseIfFlipped(before);
}

void TSyntMemoStrings::BeginUndoGroup() {
  if (m_groupDepth <= 0) {
    m_groupDepth = 0;
    m_currentGroup = CanUndo() ? m_undo[static_cast<size_t>(UndoCount() - m_redoCount - 1)].Group + 1 : 0;
    if (m_currentGroup < 0) m_currentGroup = 0;
  }
  ++m_groupDepth;
}

void TSyntMemoStrings::EndUndoGroup() {
  --m_groupDepth;
  if (m_groupDepth <= 0) {
    m_groupDepth = 0;
    m_currentGroup = -1;
  }
}

void TSyntMemoStrings::SetUndoLimit(int limit) {
  const bool before = Modified();
  m_undoLimit = limit;
  DiscardUndone();
  TrimToLimit();
  RaiseIfFlipped(before);
}

int TSyntMemoStrings::UndoOne() {
  if (!CanUndo()) return -1;
  const bool before = Modified();
  const size_t index = static_cast<size_t>(UndoCount() - m_redoCount - 1);
  ++m_redoCount;
  // A copy: change handlers run in between and must not see a dangling record.
  const TUndoRec rec = m_undo[index];
  if (rec.Kind == ukInsert) DeleteText(rec.Position, static_cast<int>(rec.InsertedText.size()));
  InsertText(rec.Position, rec.RemovedText);
  RaiseIfFlipped(before);
  return rec.Position + (rec.CaretAfter ? static_cast<int>(rec.RemovedText.size()) : 0);
}

int TSyntMemoStrings::RedoOne() {
  if (!CanRedo()) return -1;
  const bool before = Modified();
  const size_t index = static_cast<size_t>(UndoCount() - m_redoCount);
  --m_redoCount;
  const TUndoRec rec = m_undo[index];
  DeleteText(rec.Position, static_cast<int>(rec.RemovedText.size()));
  int caret = rec.Position;
  if (rec.Kind == ukInsert) {
    InsertText(rec.Position, rec.InsertedText);
    if (rec.CaretAfter) caret += static_cast<int>(rec.InsertedText.size());
  }
  RaiseIfFlipped(before);
  return caret;
}

// Records made outside any group carry -1; they are not "one group".
static bool SameGroup(const TUndoRec& a, const TUndoRec& b) { return a.Group >= 0 && a.Group == b.Group; }

int TSyntMemoStrings::Undo(bool groupUndo) {
  int caret = -1;
  while (CanUndo()) {
    const int i = UndoCount() - m_redoCount - 1;
    bool goOn = false;
    if (i > 0) {
      const TUndoRec& older = m_undo[static_cast<size_t>(i - 1)];
      const TUndoRec& newer = m_undo[static_cast<size_t>(i)];
      goOn = SameGroup(older, newer) || (groupUndo && newer.Continues(older));
    }
    caret = UndoOne();
    if (!goOn) break;
  }
  return caret;
}

int TSyntMemoStrings::Redo(bool groupRedo) {
  int caret = -1;
  while (CanRedo()) {
    bool goOn = false;
    if (m_redoCount >= 2) {
      const int i = UndoCount() - m_redoCount;
      const TUndoRec& older = m_undo[static_cast<size_t>(i)];
      const TUndoRec& newer = m_undo[static_cast<size_t>(i + 1)];
      goOn = SameGroup(older, newer) || (groupRedo && newer.Continues(older));
    }
    caret = RedoOne();
    if (!goOn) break;
  }
  return caret;
}

// ---------------------------------------------------------------- checking

void TSyntMemoStrings::CheckInvariants() const {
  auto fail = [](const std::string& why) { throw std::logic_error("TSyntMemoStrings: " + why); };
  const int length = TextLength();
  const int count = Count();
  if (m_states.Length() != count) fail("line states and line starts differ in number");
  if (m_lines.StepIndex() < -1 || m_lines.StepIndex() > std::max(count - 1, -1)) fail("step index out of range");
  if (length == 0) {
    if (count > 1) fail("an empty text with more than one line");
    if (count == 1 && m_lines.ValueAt(0) != 0) fail("the only line does not start at 0");
  } else {
    if (count == 0) fail("a text without lines");
    if (m_lines.ValueAt(0) != 0) fail("the first line does not start at 0");
    int next = 1;  // index of the next start expected
    for (int k = 1; k <= length; ++k) {
      const bool isStart = next < count && m_lines.ValueAt(next) == k;
      if (next < count && m_lines.ValueAt(next) < k)
        fail("line " + std::to_string(next) + " starts at " + std::to_string(m_lines.ValueAt(next)) +
             ", not past a line break");
      if (IsLineStartAt(k)) {
        if (!isStart && k < length) fail("no line starts after the break ending at " + std::to_string(k));
      } else if (isStart) {
        fail("line " + std::to_string(next) + " starts at " + std::to_string(k) + ", not past a line break");
      }
      if (isStart) ++next;
    }
    if (next != count) fail("line starts beyond the text");
  }
  for (int i = 0; i < m_states.Length(); ++i)
    if (m_states.ValueAt(i) > lsSaved) fail("line state out of range at " + std::to_string(i));
  if (m_redoCount < 0 || m_redoCount > UndoCount()) fail("redo count out of range");
  if (m_undoLimit > 0 && UndoCount() > m_undoLimit) fail("undo list longer than its limit");
  if (m_groupDepth < 0) fail("negative group depth");
  if ((m_groupDepth == 0) != (m_currentGroup == -1)) fail("current group and group depth disagree");
}

std::string TSyntMemoStrings::DebugDump() const {
  std::ostringstream out;
  out << "length " << TextLength() << " lines " << Count() << " encoding " << int(m_encoding) << " breaks "
      << int(m_lineBreakStyle) << '\n';
  for (int i = 0; i < Count(); ++i) {
    out << i << ' ' << LineStart(i) << '+' << LineLength(i) << '+' << LineBreakLength(i) << " s"
        << int(LineState(i)) << " |" << EscapeField(TextRange(LineStart(i), LineFullLength(i))) << "|\n";
  }
  out << "undo " << UndoCount() << " redo " << m_redoCount << " forced " << m_forcedModified << '\n';
  for (const TUndoRec& rec : m_undo) {
    out << (rec.Kind == ukInsert ? "ins " : "del ") << rec.Position << " +|" << EscapeField(rec.InsertedText)
        << "| -|" << EscapeField(rec.RemovedText) << "| " << (rec.CaretAfter ? "after" : "at") << " g" << rec.Group
        << '\n';
  }
  return out.str();
}

}  // namespace penwick
