// The text store: line table maintenance, listeners, whole-text operations,
// undoable edits, files.
#include "editor/SyntMemoStrings.h"

#include "platform/SafeFileWriter.h"
#include "platform/TextEscape.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <system_error>

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
  m_undo.DropForWholeText();
  m_format.ResetForNewDocument();
  const int oldCount = Count();
  m_text.Clear();
  m_lines.Clear();
  m_states.Clear();
  NotifyWholeText(oldCount);
}

void TSyntMemoStrings::SetText(std::string_view text) {
  m_undo.DropForWholeText();
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

// ---------------------------------------------------------------- undoable edits

void TSyntMemoStrings::UndoableInsert(int offset, std::string_view text, bool caretAfter) {
  if (text.empty()) return;
  offset = std::clamp(offset, 0, TextLength());
  m_undo.Add(ukInsert, std::string(text), caretAfter, offset, std::string());
  InsertText(offset, text);
}

void TSyntMemoStrings::UndoableDelete(int offset, int count, bool caretAfter) {
  offset = std::clamp(offset, 0, TextLength());
  count = std::clamp(count, 0, TextLength() - offset);
  if (count == 0) return;
  m_undo.Add(ukDelete, std::string(), caretAfter, offset, TextRange(offset, count));
  DeleteText(offset, count);
}

void TSyntMemoStrings::UndoableReplace(int offset, int count, std::string_view text) {
  offset = std::clamp(offset, 0, TextLength());
  count = std::clamp(count, 0, TextLength() - offset);
  if (count == 0 && text.empty()) return;
  m_undo.Add(ukInsert, std::string(text), true, offset, TextRange(offset, count));
  DeleteText(offset, count);
  InsertText(offset, text);
}

// ---------------------------------------------------------------- files

void TSyntMemoStrings::LoadBytes(std::vector<char>&& bytes) {
  m_undo.DropForWholeText();
  const int oldCount = Count();
  if (bytes.empty()) {
    m_format.ResetForNewDocument();
    m_text.Clear();
    m_lines.Clear();
    m_states.Clear();
    NotifyWholeText(oldCount);
    return;
  }
  const std::size_t mark = m_format.ReadByteOrderMark(std::string_view(bytes.data(), bytes.size()));
  if (m_format.TakesBytesAsText(mark)) {
    m_format.ClearLostCharacters();
    const int gap = GapFor(bytes.size());
    m_text.Adopt(std::move(bytes), gap);
  } else {
    std::string text = m_format.Decode(std::string_view(bytes.data() + mark, bytes.size() - mark));
    std::vector<char>().swap(bytes);  // release the file image before copying the text
    std::vector<char> converted;
    converted.reserve(text.size() + static_cast<size_t>(GapFor(text.size())));
    converted.assign(text.begin(), text.end());
    m_text.Adopt(std::move(converted), GapFor(text.size()));
  }

  TBreakCounts counts;
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
  m_format.SetBreakStyleFromCounts(counts.crLf, counts.cr, counts.lf);
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
  } catch (...) {
    std::fclose(file);
    throw;
  }
  // A file that fails halfway must not replace the text with a part of it:
  // saved over the original, that part would be all that is left.
  const int readError = std::ferror(file) ? (errno ? errno : EIO) : 0;
  std::fclose(file);
  if (readError) throw EFOpenError(fileName, ErrorText(readError));
  LoadBytes(std::move(bytes));
}

// Feeds the file form of the text to `sink` in pieces of about a megabyte.
void TSyntMemoStrings::WriteTo(const TByteSink& sink) const {
  if (const std::string_view mark = m_format.ByteOrderMark(); !mark.empty()) sink(mark.data(), mark.size());
  if (m_format.WritesTextAsHeld()) {
    if (m_text.Part1Length() > 0) sink(m_text.Part1(), static_cast<size_t>(m_text.Part1Length()));
    if (m_text.Part2Length() > 0) sink(m_text.Part2(), static_cast<size_t>(m_text.Part2Length()));
    return;
  }
  auto emit = [&](const std::string& chunk) {
    if (chunk.empty()) return;
    if (!m_format.EncodesText()) {
      sink(chunk.data(), chunk.size());
      return;
    }
    const std::string out = m_format.Encode(chunk);
    sink(out.data(), out.size());
  };
  const std::string_view styleBreak = m_format.StyleBreak();
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
  WriteFileSafely(fileName, [this](const TByteSink& sink) { WriteTo(sink); });
}

// ---------------------------------------------------------------- undo

void TSyntMemoStrings::SetModified(bool modified) {
  if (!modified)
    for (int i = 0; i < m_states.Length(); ++i)
      if (m_states.ValueAt(i) != lsUnchanged) m_states.SetValueAt(i, lsSaved);
  m_undo.SetModified(modified);
}

int TSyntMemoStrings::UndoOne() {
  TUndoRec rec;
  if (!m_undo.TakeUndo(rec)) return -1;
  if (rec.Kind == ukInsert) DeleteText(rec.Position, static_cast<int>(rec.InsertedText.size()));
  InsertText(rec.Position, rec.RemovedText);
  return rec.Position + (rec.CaretAfter ? static_cast<int>(rec.RemovedText.size()) : 0);
}

int TSyntMemoStrings::RedoOne() {
  TUndoRec rec;
  if (!m_undo.TakeRedo(rec)) return -1;
  DeleteText(rec.Position, static_cast<int>(rec.RemovedText.size()));
  int caret = rec.Position;
  if (rec.Kind == ukInsert) {
    InsertText(rec.Position, rec.InsertedText);
    if (rec.CaretAfter) caret += static_cast<int>(rec.InsertedText.size());
  }
  return caret;
}

int TSyntMemoStrings::Undo(bool groupUndo) {
  int caret = -1;
  while (CanUndo()) {
    const bool goOn = m_undo.UndoGoesOn(groupUndo);
    caret = UndoOne();
    if (!goOn) break;
  }
  return caret;
}

int TSyntMemoStrings::Redo(bool groupRedo) {
  int caret = -1;
  while (CanRedo()) {
    const bool goOn = m_undo.RedoGoesOn(groupRedo);
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
  m_undo.CheckInvariants();
}

std::string TSyntMemoStrings::DebugDump() const {
  std::ostringstream out;
  out << "length " << TextLength() << " lines " << Count() << " encoding " << int(m_format.Encoding()) << " breaks "
      << int(m_format.LineBreakStyle()) << '\n';
  for (int i = 0; i < Count(); ++i) {
    out << i << ' ' << LineStart(i) << '+' << LineLength(i) << '+' << LineBreakLength(i) << " s"
        << int(LineState(i)) << " |" << EscapeField(TextRange(LineStart(i), LineFullLength(i))) << "|\n";
  }
  out << m_undo.DebugDump();
  return out.str();
}

}  // namespace penwick
