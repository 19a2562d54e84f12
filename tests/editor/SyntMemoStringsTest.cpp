// The text store: line table under every kind of edit, files and their
// encodings, the undo history and the modified state.
#include "editor/SyntMemoStrings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <tuple>
#include <vector>

namespace penwick {
namespace {

namespace fs = std::filesystem;

// Line starts derived from the text alone: one after every break, none after
// a break that ends the text.
std::vector<int> ReferenceStarts(const std::string& text) {
  std::vector<int> starts;
  if (text.empty()) return starts;
  starts.push_back(0);
  for (size_t k = 1; k < text.size(); ++k)
    if (text[k - 1] == '\n' || (text[k - 1] == '\r' && text[k] != '\n')) starts.push_back(static_cast<int>(k));
  return starts;
}

// The store agrees with the model text; an extra empty last line may stand
// after a final break.
void ExpectMatches(const TSyntMemoStrings& lines, const std::string& model) {
  ASSERT_NO_THROW(lines.CheckInvariants());
  ASSERT_EQ(lines.Text(), model);
  const std::vector<int> starts = ReferenceStarts(model);
  const int count = lines.Count();
  ASSERT_TRUE(count == static_cast<int>(starts.size()) || count == static_cast<int>(starts.size()) + 1)
      << lines.DebugDump();
  for (size_t i = 0; i < starts.size(); ++i) ASSERT_EQ(lines.LineStart(static_cast<int>(i)), starts[i]);
  if (count > static_cast<int>(starts.size()) && !model.empty()) {
    ASSERT_EQ(lines.LineStart(count - 1), static_cast<int>(model.size()));
    ASSERT_TRUE(model.back() == '\n' || model.back() == '\r');
  }
  std::string rebuilt;
  for (int i = 0; i < count; ++i) {
    const std::string line = lines.Line(i);
    ASSERT_EQ(static_cast<int>(line.size()), lines.LineLength(i));
    rebuilt += line + model.substr(static_cast<size_t>(lines.LineStart(i) + lines.LineLength(i)),
                                   static_cast<size_t>(lines.LineBreakLength(i)));
  }
  ASSERT_EQ(rebuilt, model);
}

// Records the change reports, and keeps per-line data the way a listener
// would: one entry per line, moved by the line events alone.
struct TRecorder {
  std::vector<std::tuple<int, int, int>> changes;
  int modifiedFlips = 0;
  std::vector<int> ids;  // the line each line was before the edit, -1 for a new one
  std::vector<std::string> before;
  std::vector<int> beforeStarts;
  bool eventsInRange = true;
  TSubscription subscription;
  void Attach(TSyntMemoStrings& lines) {
    TStoreListener listener;
    listener.Changed = [this](int pos, int count, int lineChange) { changes.emplace_back(pos, count, lineChange); };
    listener.LinesInserted = [this](int first, int count) {
      if (first < 0 || first > static_cast<int>(ids.size()) || count <= 0) eventsInRange = false;
      else ids.insert(ids.begin() + first, static_cast<size_t>(count), -1);
    };
    listener.LinesRemoved = [this](int first, int count) {
      if (first < 0 || count <= 0 || first + count > static_cast<int>(ids.size())) eventsInRange = false;
      else ids.erase(ids.begin() + first, ids.begin() + first + count);
    };
    subscription = lines.Subscribe(std::move(listener));
    lines.SetModifiedChangedHandler([this] { ++modifiedFlips; });
  }
  void Begin(const TSyntMemoStrings& lines) {
    changes.clear();
    ids.resize(static_cast<size_t>(lines.Count()));
    before.clear();
    beforeStarts.clear();
    for (int i = 0; i < lines.Count(); ++i) {
      ids[static_cast<size_t>(i)] = i;
      before.push_back(lines.Line(i));
      beforeStarts.push_back(lines.LineStart(i));
    }
  }
  // Every line that the edit did not touch is the line it was, in order.
  void CheckLineEvents(const TSyntMemoStrings& lines) {
    ASSERT_TRUE(eventsInRange);
    ASSERT_EQ(static_cast<int>(ids.size()), lines.Count());
    int touchedFrom = lines.Count(), touchedTo = -1;
    for (const auto& [pos, count, lineChange] : changes) {
      touchedFrom = std::min(touchedFrom, std::max(0, lines.LineFromOffset(pos)));
      touchedTo = std::max(touchedTo, lines.LineFromOffset(pos + std::max(count, 0)));
    }
    // An edit that begins inside a line (not at its start) leaves that line,
    // which still holds the character before the edit, where it was: its
    // data must not move to a new line.
    if (changes.size() == 1 && std::get<0>(changes[0]) >= 0) {
      const int pos = std::get<0>(changes[0]);
      const auto after = std::upper_bound(beforeStarts.begin(), beforeStarts.end(), pos);
      const int oldLine = static_cast<int>(after - beforeStarts.begin()) - 1;
      if (oldLine >= 0 && beforeStarts[static_cast<size_t>(oldLine)] < pos)
        ASSERT_EQ(ids[static_cast<size_t>(lines.LineFromOffset(pos - 1))], oldLine) << "edit at " << pos;
    }
    int last = -1;
    for (int j = 0; j < lines.Count(); ++j) {
      const int id = ids[static_cast<size_t>(j)];
      if (id < 0) continue;
      ASSERT_GT(id, last) << "line " << j << " moved out of order";
      last = id;
      if (j < touchedFrom || j > touchedTo)
        ASSERT_EQ(lines.Line(j), before[static_cast<size_t>(id)]) << "line " << j << " was line " << id;
    }
  }
};

TEST(SyntMemoStringsLines, RandomEditsKeepTheLineTableExactAndReportEachChangeOnce) {
  std::mt19937 random(20261209);
  const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', 'c'};
  auto randomText = [&](int maxLength) {
    std::string s(random() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[random() % sizeof alphabet];
    return s;
  };
  for (int round = 0; round < 30; ++round) {
    TSyntMemoStrings lines;
    TRecorder recorder;
    recorder.Attach(lines);
    std::string model = randomText(12);
    if (round % 2) {
      lines.SetText(model);
    } else {
      std::istringstream in(model);
      lines.LoadFromStream(in);
    }
    ExpectMatches(lines, model);
    for (int step = 0; step < 150; ++step) {
      const int length = static_cast<int>(model.size());
      const int before = lines.Count();
      recorder.Begin(lines);
      const int op = static_cast<int>(random() % 10);
      if (op < 5) {
        const int pos = static_cast<int>(random() % (length + 1));
        const std::string s = randomText(4);
        lines.InsertText(pos, s);
        model.insert(static_cast<size_t>(pos), s);
        if (!s.empty()) {
          ASSERT_EQ(recorder.changes.size(), 1u);
          EXPECT_EQ(recorder.changes[0], std::make_tuple(pos, static_cast<int>(s.size()), lines.Count() - before));
        }
      } else if (op < 9 && length > 0) {
        const int pos = static_cast<int>(random() % length);
        const int n = static_cast<int>(random() % 4) + 1;
        const int removed = std::min(n, length - pos);
        lines.DeleteText(pos, n);
        model.erase(static_cast<size_t>(pos), static_cast<size_t>(removed));
        ASSERT_EQ(recorder.changes.size(), 1u);
        EXPECT_EQ(recorder.changes[0], std::make_tuple(pos, -removed, lines.Count() - before));
      } else if (lines.Count() > 0) {
        const int index = static_cast<int>(random() % lines.Count());
        const std::string s = randomText(3);
        if (random() % 2) {
          lines.Insert(index, s);
        } else {
          lines.Delete(index);
        }
        model = lines.Text();  // the structural operations are checked by their own tests
      }
      ASSERT_NO_FATAL_FAILURE(ExpectMatches(lines, model)) << "round " << round << " step " << step;
      ASSERT_NO_FATAL_FAILURE(recorder.CheckLineEvents(lines)) << "round " << round << " step " << step;
      if (step % 7 == 0) {
        ASSERT_EQ(lines.ContiguousText(), model);
      }
      // Bisection agrees with a walk over the starts.
      const int probe = static_cast<int>(random() % (model.size() + 1));
      int expected = lines.Count() > 0 ? 0 : -1;
      for (int i = 0; i < lines.Count(); ++i)
        if (lines.LineStart(i) <= probe) expected = i;
      ASSERT_EQ(lines.LineFromOffset(probe), expected);
    }
  }
}

TEST(SyntMemoStringsListeners, PhasesHearInOrderAndAListenerMayLeaveDuringANotification) {
  TSyntMemoStrings lines;
  std::vector<std::string> log;
  auto listen = [&](const std::string& name) {
    TStoreListener listener;
    listener.Changed = [&log, name](int pos, int count, int) {
      log.push_back(name + " " + std::to_string(pos) + " " + std::to_string(count));
    };
    listener.LinesInserted = [&log, name](int first, int count) {
      log.push_back(name + " +" + std::to_string(first) + "x" + std::to_string(count));
    };
    return listener;
  };
  // Subscribed out of phase order on purpose.
  auto events = lines.Subscribe(listen("events"), TStorePhase::Events);
  auto content1 = lines.Subscribe(listen("content1"), TStorePhase::Content);
  auto positions = lines.Subscribe(listen("positions"), TStorePhase::Positions);
  std::optional<TSubscription> content2;
  TStoreListener leaving = listen("content2");
  leaving.Changed = [&](int pos, int count, int) {
    log.push_back("content2 " + std::to_string(pos) + " " + std::to_string(count));
    content2->Reset();  // hears this change, then nothing more
  };
  content2 = lines.Subscribe(std::move(leaving), TStorePhase::Content);
  lines.InsertText(0, "a\r\nb");
  lines.DeleteText(0, 1);
  const std::vector<std::string> expected = {
      "positions +0x2", "positions 0 4", "content1 +0x2", "content1 0 4", "content2 +0x2", "content2 0 4",
      "events +0x2",    "events 0 4",    "positions 0 -1", "content1 0 -1", "events 0 -1"};
  EXPECT_EQ(log, expected);
}

TEST(SyntMemoStringsLines, BreaksSplitOrJoinedByAnEditAreRederived) {
  TSyntMemoStrings lines;
  lines.SetText("a\rb");
  lines.InsertText(2, "\n");  // CR meets LF: still two lines
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Line(1), "b");
  lines.DeleteText(2, 1);  // the LF goes, the CR stays a break
  EXPECT_EQ(lines.Count(), 2);
  lines.SetText("a\r\nb");
  lines.InsertText(2, "x");  // between CR and LF: three lines
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Line(1), "x");
  lines.SetText("a\r\n");
  lines.InsertText(3, "x");  // text after a final break is a new line
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Line(1), "x");
  EXPECT_NO_THROW(lines.CheckInvariants());
}

TEST(SyntMemoStringsLines, InsertAddAndDeleteFollowTheLineListRules) {
  TSyntMemoStrings lines;
  lines.Add("a");
  lines.Add("b");
  EXPECT_EQ(lines.Text(), "a\r\nb");
  lines.Insert(0, "z");
  EXPECT_EQ(lines.Text(), "z\r\na\r\nb");
  lines.Delete(lines.Count() - 1);  // last line without a break takes the break before it
  EXPECT_EQ(lines.Text(), "z\r\na");
  lines.Delete(0);
  EXPECT_EQ(lines.Text(), "a");
  lines.SetText("a\r\n");
  lines.Add("b");  // after a last line that ends in a break
  EXPECT_EQ(lines.Text(), "a\r\nb\r\n");
  EXPECT_EQ(lines.Line(1), "b");
  lines.SetLine(0, "long");
  EXPECT_EQ(lines.Text(), "long\r\nb\r\n");
  EXPECT_EQ(lines.Line(-1), "");
  EXPECT_EQ(lines.Line(99), "");

  lines.AddStrings({"c", "d"});
  EXPECT_EQ(lines.Line(lines.Count() - 1), "d");
  EXPECT_NO_THROW(lines.CheckInvariants());

  const std::string before = lines.Text();
  const int count = lines.Count();
  try {
    lines.Insert(count + 1, "x");
    FAIL() << "no error";
  } catch (const EStringListError& e) {
    EXPECT_EQ(std::string(e.what()), "Index " + std::to_string(count + 1) + " is out of range");
  }
  EXPECT_THROW(lines.Insert(-1, "x"), std::out_of_range);
  EXPECT_THROW(lines.Delete(count), EStringListError);
  EXPECT_EQ(lines.Text(), before);
}

TEST(SyntMemoStringsLines, LoadingGivesAnEmptyLineAfterAFinalBreakTextSetDoesNot) {
  TSyntMemoStrings lines;
  std::istringstream in("a\r\nb\r\n");
  lines.LoadFromStream(in);
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Line(2), "");
  lines.SetText("a\r\nb\r\n");
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Chars(0), '\0');
  EXPECT_EQ(lines.Chars(1), 'a');
  EXPECT_EQ(lines.Chars(7), '\0');
}

// ---------------------------------------------------------------- files

class SyntMemoStringsFiles : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("penwick-store-" + std::to_string(::getpid()));
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }
  std::string PathOf(const std::string& name) const { return (m_folder / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(PathOf(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int FilesInFolder() const { return static_cast<int>(std::distance(fs::directory_iterator(m_folder), {})); }
  fs::path m_folder;
};

TEST_F(SyntMemoStringsFiles, EveryEncodingAndBreakStyleRoundTripsByteForByte) {
  struct TCase {
    std::string bytes;
    TTextEncoding encoding;
    TLineBreakStyle style;
    std::string text;  // as held, 8-bit
  };
  const std::vector<TCase> cases = {
      {"caf\xE9\r\n\x80 x\r\n", teAnsi, lbAsHeld, "caf\xE9\r\n\x80 x\r\n"},
      {"one\ntwo\n", teAnsi, lbLF, "one\ntwo\n"},
      {"one\rtwo", teAnsi, lbCR, "one\rtwo"},
      {"mixed\r\nlf\ncr\rend", teAnsi, lbAsHeld, "mixed\r\nlf\ncr\rend"},
      {"\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC\r\n", teUtf8, lbAsHeld, "caf\xE9 \x80\r\n"},
      {std::string("\xFF\xFE" "a\0\xE9\0\xAC\x20\r\0\n\0", 12), teUtf16LE, lbAsHeld, "a\xE9\x80\r\n"},
      {std::string("\xFE\xFF\0a\0\xE9\x20\xAC\0\n", 10), teUtf16BE, lbLF, "a\xE9\x80\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    Write("in.mis", c.bytes);
    TSyntMemoStrings lines;
    lines.LoadFromFile(PathOf("in.mis"));
    EXPECT_EQ(lines.Encoding(), c.encoding);
    EXPECT_EQ(lines.LineBreakStyle(), c.style);
    EXPECT_EQ(lines.Text(), c.text);
    lines.SaveToFile(PathOf("out.mis"));
    EXPECT_EQ(Read("out.mis"), c.bytes);
    std::ostringstream stream;
    lines.SaveToStream(stream);
    EXPECT_EQ(stream.str(), c.bytes);
  }
}

TEST_F(SyntMemoStringsFiles, BreaksAddedInTheEditorAreWrittenInTheFilesStyle) {
  Write("lf.mis", "a\nb\n");
  TSyntMemoStrings lines;
  lines.LoadFromFile(PathOf("lf.mis"));
  lines.InsertText(1, "\r\nnew");  // Enter typed in the editor
  lines.Add("tail");
  lines.SaveToFile(PathOf("lf.mis"));
  EXPECT_EQ(Read("lf.mis"), "a\nnew\nb\n\ntail");

  Write("mixed.mis", "x\r\ny\nz\rw");
  lines.LoadFromFile(PathOf("mixed.mis"));
  lines.InsertText(lines.LineStart(1), "Y");
  lines.SaveToFile(PathOf("mixed.mis"));
  EXPECT_EQ(Read("mixed.mis"), "x\r\nYy\nz\rw");
}

TEST_F(SyntMemoStringsFiles, MarksDecideTheEncodingAndOddOrEmptyInputIsTolerated) {
  TSyntMemoStrings lines;
  Write("odd.mis", std::string("\xFF\xFE" "a\0b", 5));  // odd last byte ignored
  lines.LoadFromFile(PathOf("odd.mis"));
  EXPECT_EQ(lines.Text(), "a");
  Write("empty.mis", "");
  lines.LoadFromFile(PathOf("empty.mis"));
  EXPECT_EQ(lines.Encoding(), teAnsi);
  EXPECT_EQ(lines.Count(), 0);

  lines.Format().SetKeepEncoding(true);  // without a mark the previous encoding stays
  Write("u8.mis", "\xEF\xBB\xBFx");
  lines.LoadFromFile(PathOf("u8.mis"));
  Write("plain.mis", "\xC3\xA9");
  lines.LoadFromFile(PathOf("plain.mis"));
  EXPECT_EQ(lines.Encoding(), teUtf8);
  EXPECT_EQ(lines.Text(), "\xE9");
}

TEST_F(SyntMemoStringsFiles, ANewOrEmptiedDocumentIsEightBitTextWithCrLfBreaks) {
  TSyntMemoStrings lines;
  Write("wide.mis", std::string("\xFF\xFE" "a\0\n\0b\0", 8));
  lines.LoadFromFile(PathOf("wide.mis"));
  ASSERT_EQ(lines.Encoding(), teUtf16LE);
  ASSERT_EQ(lines.LineBreakStyle(), lbLF);
  lines.Clear();  // a new document
  lines.InsertText(0, "x\ny");
  lines.SaveToFile(PathOf("new.mis"));
  EXPECT_EQ(Read("new.mis"), "x\r\ny");

  Write("lf.mis", "\xEF\xBB\xBF" "p\nq\n");
  lines.LoadFromFile(PathOf("lf.mis"));
  Write("empty.mis", "");
  lines.LoadFromFile(PathOf("empty.mis"));
  lines.InsertText(0, "m\nn");
  lines.SaveToFile(PathOf("empty.mis"));
  EXPECT_EQ(Read("empty.mis"), "m\r\nn");
}

TEST_F(SyntMemoStringsFiles, CharactersTheCodePageLacksAreShownAsQuestionMarksAndCounted) {
  TSyntMemoStrings lines;
  // Six Cyrillic letters, a question mark of the file's own, an e acute and a broken byte.
  Write("u8.mis", "\xEF\xBB\xBF\xD0\x9C\xD0\xB8\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F ? \xC3\xA9 \xFF");
  lines.LoadFromFile(PathOf("u8.mis"));
  EXPECT_EQ(lines.Text(), "?????? ? \xE9 ?");
  EXPECT_EQ(lines.Format().LostCharacters(), 7);
  Write("u16.mis", std::string("\xFF\xFE" "a\0\x16\x04", 6));
  lines.LoadFromFile(PathOf("u16.mis"));
  EXPECT_EQ(lines.Format().LostCharacters(), 1);
  Write("plain.mis", "?\xE9?");
  lines.LoadFromFile(PathOf("plain.mis"));
  EXPECT_EQ(lines.Format().LostCharacters(), 0);
  lines.LoadFromFile(PathOf("u8.mis"));
  lines.Clear();
  EXPECT_EQ(lines.Format().LostCharacters(), 0) << "a new document lost nothing";
}

TEST_F(SyntMemoStringsFiles, OpenAndCreateFailuresNameTheFileAndTheReason) {
  TSyntMemoStrings lines;
  const std::string missing = PathOf("missing.mis");
  try {
    lines.LoadFromFile(missing);
    FAIL() << "no error";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.what();
    EXPECT_GT(std::string(e.what()).size(), ("Cannot open file \"" + missing + "\". ").size());
  }
  lines.SetText("kept");
  EXPECT_THROW(lines.LoadFromFile(m_folder.string()), EFOpenError);  // a folder is not a script
  EXPECT_EQ(lines.Text(), "kept");
  // A file that opens but fails while it is read (reading this process's
  // memory from address 0 fails with an I/O error) leaves the text alone.
  EXPECT_THROW(lines.LoadFromFile("/proc/self/mem"), EFOpenError);
  EXPECT_EQ(lines.Text(), "kept");
  const std::string nowhere = PathOf("no-such-folder/x.mis");
  try {
    lines.SaveToFile(nowhere);
    FAIL() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + nowhere + "\". ", 0), 0u) << e.what();
  }
}

TEST_F(SyntMemoStringsFiles, AFailedReplaceKeepsTheOldContentAndLeavesNoTemporary) {
  // A folder in the target's place cannot be replaced by a file.
  fs::create_directories(m_folder / "target.mis");
  Write("target.mis/keep.txt", "old");
  TSyntMemoStrings lines;
  lines.SetText("new text");
  EXPECT_THROW(lines.SaveToFile(PathOf("target.mis")), EFCreateError);
  EXPECT_EQ(Read("target.mis/keep.txt"), "old");
  EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(SyntMemoStringsFiles, ReplacingAFileKeepsItsPermissionsAndLeavesNoTemporary) {
  Write("perm.mis", "old");
  fs::permissions(PathOf("perm.mis"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  TSyntMemoStrings lines;
  lines.SetText("new");
  lines.SaveToFile(PathOf("perm.mis"));
  EXPECT_EQ(Read("perm.mis"), "new");
  EXPECT_EQ(fs::status(PathOf("perm.mis")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesInFolder(), 1);
}

// ---------------------------------------------------------------- undo

TEST(SyntMemoStringsUndo, ADeletionFollowedByAnInsertionAtItsPlaceBecomesOneReplacement) {
  TSyntMemoStrings lines;
  lines.SetText("hello world");
  {
    TUndoGroupGuard group(lines);
    lines.UndoableDelete(6, 5, false);
    lines.UndoableInsert(6, "x");
  }
  ASSERT_EQ(lines.UndoHistory().Count(), 1);
  EXPECT_EQ(lines.UndoHistory().Record(0).Kind, ukInsert);
  EXPECT_EQ(lines.UndoOne(), 11);  // caret after the restored word
  EXPECT_EQ(lines.Text(), "hello world");
  EXPECT_EQ(lines.RedoOne(), 7);
  EXPECT_EQ(lines.Text(), "hello x");
  // Not merged: a different position, an insertion that itself removed
  // text, or an insertion of another group (another operation).
  TUndoGroupGuard group(lines);
  lines.AddUndo(ukDelete, "", false, 0, "h");
  lines.AddUndo(ukInsert, "y", true, 1, "");
  lines.AddUndo(ukDelete, "", false, 3, "l");
  lines.AddUndo(ukInsert, "z", true, 3, "q");
  lines.AddUndo(ukDelete, "", false, 4, "o");
  lines.EndUndoGroup();
  lines.BeginUndoGroup();
  lines.AddUndo(ukInsert, "w", true, 4, "");
  EXPECT_EQ(lines.UndoHistory().Count(), 7);
}

TEST(SyntMemoStringsUndo, TheLimitDropsTheOldestAndForcesModified) {
  TSyntMemoStrings lines;
  TRecorder recorder;
  recorder.Attach(lines);
  lines.SetText("");
  lines.SetUndoLimit(3);
  for (int i = 0; i < 4; ++i) {
    lines.AddUndo(ukInsert, "a", true, i, "");
    lines.InsertText(i, "a");
  }
  EXPECT_EQ(lines.UndoHistory().Count(), 3);
  EXPECT_EQ(lines.UndoHistory().Record(0).Position, 1);
  while (lines.CanUndo()) lines.UndoOne();
  EXPECT_EQ(lines.Text(), "a");
  EXPECT_TRUE(lines.Modified());
  EXPECT_EQ(recorder.modifiedFlips, 1);  // false -> true once, never back

  // Lowering the limit discards the undone records first.
  lines.RedoOne();
  lines.SetUndoLimit(1);
  EXPECT_EQ(lines.UndoHistory().Count(), 1);
  EXPECT_EQ(lines.UndoHistory().RedoCount(), 0);
  EXPECT_NO_THROW(lines.CheckInvariants());
}

TEST(SyntMemoStringsUndo, ClearingModifiedEmptiesTheHistoryAndMarksChangedLinesSaved) {
  TSyntMemoStrings lines;
  TRecorder recorder;
  recorder.Attach(lines);
  lines.SetText("a\r\nb\r\nc");
  lines.AddUndo(ukInsert, "x", true, 3, "");
  lines.InsertText(3, "x");
  lines.AddUndo(ukInsert, "\r\nn", true, 7, "");
  lines.InsertText(7, "\r\nn");
  EXPECT_TRUE(lines.Modified());
  EXPECT_EQ(lines.LineState(0), lsUnchanged);
  EXPECT_EQ(lines.LineState(1), lsModified);
  EXPECT_EQ(lines.LineState(2), lsModified);  // the line the break went into
  EXPECT_EQ(lines.LineState(3), lsNew);
  lines.SetModified(false);
  EXPECT_FALSE(lines.Modified());
  EXPECT_FALSE(lines.CanUndo());
  EXPECT_EQ(lines.LineState(0), lsUnchanged);
  EXPECT_EQ(lines.LineState(1), lsSaved);
  EXPECT_EQ(lines.LineState(3), lsSaved);
  EXPECT_EQ(recorder.modifiedFlips, 2);
  lines.SetModified(true);
  EXPECT_TRUE(lines.Modified());
  lines.ClearUndo();
  EXPECT_TRUE(lines.Modified());  // forced, not from the history
}

TEST(SyntMemoStringsUndo, GroupsNumberOnFromTheNewestUndoableRecordAndNest) {
  TSyntMemoStrings lines;
  lines.SetText("abc");
  EXPECT_EQ(lines.UndoHistory().CurrentGroup(), -1);
  {
    TUndoGroupGuard outer(lines);
    TUndoGroupGuard inner(lines);
    EXPECT_EQ(lines.UndoHistory().CurrentGroup(), 0);
    lines.AddUndo(ukDelete, "", false, 0, "a");
    lines.DeleteText(0, 1);
    lines.AddUndo(ukDelete, "", false, 1, "c");
    lines.DeleteText(1, 1);
  }
  EXPECT_EQ(lines.UndoHistory().GroupDepth(), 0);
  EXPECT_EQ(lines.UndoHistory().CurrentGroup(), -1);
  lines.BeginUndoGroup();
  EXPECT_EQ(lines.UndoHistory().CurrentGroup(), 1);
  lines.EndUndoGroup();
  lines.EndUndoGroup();  // unbalanced close is harmless
  EXPECT_EQ(lines.UndoHistory().GroupDepth(), 0);
  EXPECT_EQ(lines.Undo(false), 0);  // one group: both deletions together
  EXPECT_EQ(lines.Text(), "abc");
  EXPECT_FALSE(lines.CanUndo());
  EXPECT_EQ(lines.Redo(false), 1);  // and redone together
  EXPECT_EQ(lines.Text(), "b");
}

TEST(SyntMemoStringsUndo, AWholeTextReplacementDropsRecordsThatNoLongerFit) {
  TSyntMemoStrings lines;
  lines.SetText("abcdef");
  lines.AddUndo(ukDelete, "", false, 4, "ef");
  lines.DeleteText(4, 2);
  lines.SetText("x");
  EXPECT_FALSE(lines.CanUndo());
  EXPECT_TRUE(lines.Modified());
  EXPECT_EQ(lines.UndoOne(), -1);
  EXPECT_EQ(lines.Text(), "x");
}

}  // namespace
}  // namespace penwick
