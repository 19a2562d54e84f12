// penwick-cli run as a program: its output formats, exit statuses and usage errors.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace {

namespace fs = std::filesystem;
using penwick::test::ReadFile;
using penwick::test::WriteFile;

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string Quote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  return out + "'";
}

class CliTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* bin = std::getenv("PENWICK_BINARY_DIR");
    ASSERT_NE(bin, nullptr);
    m_cli = fs::path(bin) / "bin" / "penwick-cli";
    ASSERT_TRUE(fs::exists(m_cli)) << m_cli;
    const char* src = std::getenv("PENWICK_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    m_source = src;
    m_dir = fs::temp_directory_path() / ("penwick-cli-test-" + std::to_string(::getpid()));
    fs::create_directories(m_dir);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  TRun Run(const std::vector<std::string>& args) {
    std::string command = Quote(m_cli.string());
    for (const auto& arg : args) command += ' ' + Quote(arg);
    const fs::path out = m_dir / "out", err = m_dir / "err";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    TRun run;
    run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.Out = ReadFile(out);
    run.Err = ReadFile(err);
    return run;
  }

  std::string TextFile(const std::string& name, const std::string& text) {
    const fs::path path = m_dir / name;
    WriteFile(path, text);
    return path.string();
  }

  fs::path m_cli, m_source, m_dir;
};

TEST_F(CliTest, HelpVersionAndBadUsage) {
  TRun help = Run({"--help"});
  EXPECT_EQ(help.Status, 0);
  for (const char* command : {"tokens", "folds", "regex", "compile", "export-html"})
    EXPECT_NE(help.Out.find(std::string("  ") + command + ' '), std::string::npos) << command;
  TRun version = Run({"--version"});
  EXPECT_EQ(version.Status, 0);
  EXPECT_EQ(version.Out, "penwick-cli 2.0\n");
  EXPECT_EQ(Run({}).Status, 2);
  TRun unknown = Run({"frobnicate"});
  EXPECT_EQ(unknown.Status, 2);
  EXPECT_NE(unknown.Err.find("frobnicate"), std::string::npos);
  EXPECT_EQ(Run({"regex", "abc"}).Status, 2);
  EXPECT_EQ(Run({"tokens"}).Status, 2);
  EXPECT_EQ(Run({"folds", "a.mis", "b.mis"}).Status, 2);
}

TEST_F(CliTest, RegexMatchesAnchoredWithTheAnalyserModifiersByDefault) {
  const std::string file = TextFile("level.txt", "LEVELSTART x");
  TRun run = Run({"regex", "([a-z_])\\w*", file});
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "match\t10\ngroup\t0\tLEVELSTART\ngroup\t1\tL\n");
  // Case-sensitive without i; a position in the middle of the text.
  EXPECT_EQ(Run({"regex", "--modifiers", "0", "[a-z_]\\w*", file}).Out, "no match\n");
  EXPECT_EQ(Run({"regex", "[a-z_]\\w*", file, "12"}).Out, "match\t1\ngroup\t0\tx\n");
  EXPECT_EQ(Run({"regex", "[a-z_]\\w*", file, "11"}).Out, "no match\n");
}

TEST_F(CliTest, RegexModifierStringsAndEscapedGroups) {
  const std::string file = TextFile("lines.txt", "a\r\nb\\c");
  EXPECT_EQ(Run({"regex", ".+", file}).Out, "match\t1\ngroup\t0\ta\n");
  // s lets the dot cross the line break; the group text is escaped.
  EXPECT_EQ(Run({"regex", "--modifiers", "(?s)", ".+", file}).Out, "match\t6\ngroup\t0\ta\\r\\nb\\\\c\n");
  EXPECT_EQ(Run({"regex", "--modifiers", "(?q)", ".", file}).Status, 2);
}

TEST_F(CliTest, RegexCompileErrorsAndMissingFilesAreReported) {
  const std::string file = TextFile("t.txt", "abc");
  TRun bad = Run({"regex", "[z-a]", file});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_EQ(bad.Out, "");
  EXPECT_NE(bad.Err.find("Invalid set range"), std::string::npos) << bad.Err;
  TRun missing = Run({"regex", "a", (m_dir / "absent.txt").string()});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Err.find("Cannot open file"), std::string::npos);
}

TEST_F(CliTest, CompileReportsAMissingCompilerWithoutStartingWine) {
  // "wine" on the PATH is a script that logs every start.
  const fs::path bin = m_dir / "fake-bin";
  fs::create_directories(bin);
  fs::create_symlink(m_source / "tests" / "compile" / "fake_wine.sh", bin / "wine");
  const fs::path log = m_dir / "wine.log";
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
  ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
  ::setenv("FAKE_BRIDGE_LOG", log.c_str(), 1);
  fs::create_directories(m_dir / "compiler");
  const std::string script = TextFile("m.mis", "FOO\r\n");
  TRun run = Run({"compile", script, "--compiler-dir", (m_dir / "compiler").string()});
  ::setenv("PATH", path.c_str(), 1);
  ::unsetenv("FAKE_BRIDGE_LOG");
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(run.Err, "The mission compiler was not found: " + (m_dir / "compiler" / "compiler.exe").string() + "\n");
  EXPECT_FALSE(fs::exists(log)) << ReadFile(log);
  EXPECT_FALSE(fs::exists(m_dir / "m.###"));
}

TEST_F(CliTest, TokensAndFoldsPrintTheGoldenListings) {
  const fs::path data = m_source / "tests" / "data" / "syntax";
  for (const char* name : {"template", "preprocessor"}) {
    const std::string script = (data / (std::string(name) + ".mis")).string();
    TRun tokens = Run({"tokens", script});
    EXPECT_EQ(tokens.Status, 0) << tokens.Err;
    EXPECT_EQ(tokens.Out, ReadFile(data / (std::string(name) + ".tokens"))) << name;
    TRun folds = Run({"folds", script});
    EXPECT_EQ(folds.Status, 0) << folds.Err;
    EXPECT_EQ(folds.Out, ReadFile(data / (std::string(name) + ".folds"))) << name;
  }
}

TEST_F(CliTest, TokensOfAnEmptyFileAndUnreadableInput) {
  EXPECT_EQ(Run({"tokens", TextFile("empty.mis", "")}).Out, "");
  TRun missing = Run({"tokens", (m_dir / "absent.mis").string()});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Err.find("Cannot open file"), std::string::npos);
  TRun lexer = Run({"folds", TextFile("a.mis", "x"), "--lexer", (m_dir / "mine.lcf").string()});
  EXPECT_EQ(lexer.Status, 1);
  EXPECT_NE(lexer.Err.find("Cannot open file"), std::string::npos);
}

TEST_F(CliTest, LexerFilesAreCheckedDumpedAndUsedForTheListings) {
  const std::string shipped = (m_source / "themes" / "mis2.lcf").string();
  TRun good = Run({"lexer-check", shipped});
  EXPECT_EQ(good.Status, 0) << good.Err;
  EXPECT_EQ(good.Err, "");
  // The shipped file is already in the written form.
  TRun dumped = Run({"lexer-dump", shipped});
  EXPECT_EQ(dumped.Status, 0);
  EXPECT_EQ(dumped.Out, ReadFile(shipped));

  // Every faulty line is reported, as the editor's "All" would go on past it.
  const std::string faulty = TextFile("faulty.lcf",
                                      "object syntnlyzr1: TSyntAnalyzer\r\n  Formats = <\r\n    item\r\n"
                                      "      DisplayName = 'Variables'\r\n      Foo = 1\r\n      Font.Color = clPink\r\n"
                                      "    end>\r\nend\r\n");
  TRun bad = Run({"lexer-check", faulty});
  EXPECT_EQ(bad.Status, 1);
  EXPECT_EQ(bad.Err,
            "Error reading TSyntaxFormat.Foo: Property Foo does not exist\n"
            "Error reading TSyntaxFormat.Font.Color: Invalid property value\n");
  TRun broken = Run({"lexer-check", TextFile("broken.lcf", "object X: T\r\n  A = 'x\r\nend\r\n")});
  EXPECT_EQ(broken.Status, 1);
  EXPECT_EQ(broken.Err, "Invalid string constant on line 2\n");

  // A styles-only file keeps the built-in rules: the dump holds them, and the
  // listings show the one style left; styles that vanished show as none.
  const std::string stylesOnly = TextFile("styles.lcf",
                                          "object syntnlyzr1: TSyntAnalyzer\r\n  Formats = <\r\n    item\r\n"
                                          "      DisplayName = 'Variables'\r\n    end>\r\nend\r\n");
  TRun full = Run({"lexer-dump", stylesOnly});
  EXPECT_EQ(full.Status, 0);
  EXPECT_NE(full.Out.find("'LEVELSTART'"), std::string::npos);
  EXPECT_EQ(full.Out.find("'Integers'"), std::string::npos);
  const std::string script = TextFile("s.mis", "COUNTER x = 5\r\n");
  TRun tokens = Run({"tokens", script, "--lexer", stylesOnly});
  EXPECT_EQ(tokens.Status, 0) << tokens.Err;
  EXPECT_EQ(tokens.Out,
            "0\t7\tIdentifier\t-\tCOUNTER\n8\t9\tIdentifier\tVariables\tx\n10\t11\tSymbol\t-\t=\n"
            "12\t13\tInteger const\t-\t5\n");
  // Without --lexer the built-in definition serves, whatever files lie around.
  EXPECT_NE(Run({"tokens", script}).Out.find("Data Types"), std::string::npos);

  EXPECT_EQ(Run({"lexer-check"}).Status, 2);
  EXPECT_EQ(Run({"lexer-dump", "a.lcf", "b.lcf"}).Status, 2);
  EXPECT_EQ(Run({"tokens", script, "--lexer"}).Status, 2);
}

// The pages of tests/data/editor/export were written by export-html once and
// checked line by line; tests/data/editor/export/regenerate.sh rewrites them.
TEST_F(CliTest, ExportHtmlWritesTheGoldenPages) {
  const fs::path data = m_source / "tests" / "data" / "editor" / "export";
  std::vector<fs::path> scripts = {m_source / "tests" / "data" / "app" / "template.mis"};
  for (const char* name : {"every-format", "comments", "escapes", "empty", "three-lines", "breaks"})
    scripts.push_back(data / (std::string(name) + ".mis"));
  for (const fs::path& script : scripts) {
    SCOPED_TRACE(script.filename().string());
    const fs::path page = m_dir / "page.html";
    TRun run = Run({"export-html", script.string(), page.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out + run.Err, "");
    EXPECT_EQ(ReadFile(page), ReadFile(data / script.filename().replace_extension(".html")));
  }
}

TEST_F(CliTest, ExportHtmlUsageMissingFilesAndLexerFiles) {
  const std::string script = TextFile("s.mis", "COUNTER x = 5");
  const std::string page = (m_dir / "s.html").string();
  EXPECT_EQ(Run({"export-html", script}).Status, 2);
  EXPECT_EQ(Run({"export-html", script, page, "extra"}).Status, 2);
  EXPECT_EQ(Run({"export-html", script, page, "--lexer"}).Status, 2);
  EXPECT_FALSE(fs::exists(page));

  TRun missing = Run({"export-html", (m_dir / "absent.mis").string(), page});
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Err.find("absent.mis"), std::string::npos) << missing.Err;
  EXPECT_FALSE(fs::exists(page));
  TRun unwritable = Run({"export-html", script, (m_dir / "no-such-folder" / "s.html").string()});
  EXPECT_EQ(unwritable.Status, 1);
  EXPECT_NE(unwritable.Err.find("s.html"), std::string::npos) << unwritable.Err;

  // A lexer file over the built-in definition: its styles make the sheet.
  const std::string stylesOnly = TextFile("styles.lcf",
                                          "object syntnlyzr1: TSyntAnalyzer\r\n  Formats = <\r\n    item\r\n"
                                          "      DisplayName = 'Variables'\r\n    end>\r\nend\r\n");
  TRun styled = Run({"export-html", script, page, "--lexer", stylesOnly});
  EXPECT_EQ(styled.Status, 0) << styled.Err;
  const std::string html = ReadFile(page);
  EXPECT_NE(html.find("\r\n#Variables {"), std::string::npos);
  EXPECT_EQ(html.find("#Integers"), std::string::npos);
  EXPECT_NE(html.find("COUNTER <SPAN id=\"Variables\">x</span> = 5</body>"), std::string::npos) << html;
  // A faulty lexer file is reported; the page is still written.
  fs::remove(page);
  TRun faulty = Run({"export-html", script, page, "--lexer", (m_dir / "absent.lcf").string()});
  EXPECT_EQ(faulty.Status, 1);
  EXPECT_TRUE(fs::exists(page));
}

// Styled ranges of block rules come from the analysis's finishing step: the
// page has them whether the definition runs its block rules at once or
// leaves them to the end, as the editor shows them once it has analysed.
TEST_F(CliTest, ExportHtmlHasTheStyledRangesOfDeferredBlockRules) {
  const std::string script = TextFile("r.mis", "x\r\n// a\r\n// b\r\ny");
  auto lexer = [this](const char* sync) {
    return TextFile(std::string("ranges-") + sync + ".lcf",
                    "object syntnlyzr1: TSyntAnalyzer\r\n  BlockRules = <\r\n    item\r\n"
                    "      DisplayName = 'run'\r\n      StyleName = 'Integers'\r\n      BlockName = 'run'\r\n"
                    "      NotParent = True\r\n      ConditionList = <\r\n        item\r\n          TokenTypes = 2\r\n"
                    "        end>\r\n      BlockEnd = 'run end'\r\n      DynHighlight = dhRange\r\n    end\r\n"
                    "    item\r\n      DisplayName = 'run end'\r\n      BlockType = btRangeEnd\r\n"
                    "      ConditionList = <\r\n        item\r\n          CondType = tcNotEqual\r\n"
                    "          TokenTypes = 2\r\n        end\r\n        item\r\n          TokenTypes = 2\r\n"
                    "        end>\r\n      BlockOffset = 1\r\n    end>\r\n  AlwaysSyncBlockAnal = " +
                        std::string(sync) + "\r\nend\r\n");
  };
  std::string pages[2];
  int i = 0;
  for (const char* sync : {"True", "False"}) {
    SCOPED_TRACE(sync);
    const fs::path page = m_dir / "r.html";
    TRun run = Run({"export-html", script, page.string(), "--lexer", lexer(sync)});
    EXPECT_EQ(run.Status, 0) << run.Err;
    pages[i] = ReadFile(page);
    EXPECT_NE(pages[i].find("<SPAN id=\"Comments\"><SPAN id=\"Integers\">// a</span></span>"), std::string::npos);
    ++i;
  }
  EXPECT_EQ(pages[0], pages[1]);
}

}  // namespace
