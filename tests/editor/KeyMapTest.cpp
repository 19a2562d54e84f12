// The key map: shortcut texts, the default bindings and the key queue of
// two-stroke shortcuts.
#include "editor/KeyMap.h"

#include <gtest/gtest.h>
#include <set>

#include "editor/EditorCommandIds.h"

namespace penwick {
namespace {

TShortCut Parse(const char* text) {
  const std::optional<TShortCut> shortCut = TextToShortCut(text);
  EXPECT_TRUE(shortCut.has_value()) << text;
  return shortCut.value_or(TShortCut{});
}

TEST(KeyMapText, ShortCutsRoundTripThroughText) {
  for (const char* text : {"Left", "Ctrl+Shift+Z", "Shift+Alt+PgDn", "Ctrl+O, K", "Alt+Backspace", "Ctrl+=", "F3",
                           "Ctrl+Shift+Space", "Ctrl+Ins", "Shift+Del", "Esc", "Enter", "Ctrl+9"})
    EXPECT_EQ(ShortCutToText(Parse(text)), text);
  EXPECT_EQ(Parse("alt + shift+left"), Parse("Shift+Alt+Left")) << "modifier order and case do not matter";
  const TShortCut twoStrokes = Parse("Ctrl+O, K");
  EXPECT_EQ(twoStrokes.First, (TKeyStroke{'O', ssCtrl}));
  ASSERT_TRUE(twoStrokes.Second.has_value());
  EXPECT_EQ(*twoStrokes.Second, (TKeyStroke{'K', 0}));
  EXPECT_EQ(Parse("Ctrl+="), (TShortCut{TKeyStroke{vkOemPlus, ssCtrl}, std::nullopt}));
  for (const char* bad : {"", "Ctrl+", "Hyper+A", "Ctrl+O,", "F99", "Ctrl+Ctrl"})
    EXPECT_FALSE(TextToShortCut(bad).has_value()) << bad;
}

TEST(DefaultKeyMap, BindsTheListedKeysWithTheirAlternatives) {
  const TKeyMap map = TKeyMap::Default();
  const std::pair<const char*, int> bindings[] = {
      {"Left", cmLeft},           {"Right", cmRight},          {"Up", cmUp},
      {"Down", cmDown},           {"Ctrl+Left", cmWordLeft},   {"Ctrl+Right", cmWordRight},
      {"PgUp", cmPageUp},         {"PgDn", cmPageDown},        {"Ctrl+PgUp", cmPageTop},
      {"Ctrl+PgDn", cmPageBottom}, {"Ctrl+Home", cmTextTop},   {"Ctrl+End", cmTextBottom},
      {"Home", cmFirstChar},      {"End", cmLastChar},         {"Shift+Left", 101},
      {"Shift+Ctrl+End", 116},    {"Shift+Home", 118},         {"Shift+Alt+Left", 201},
      {"Shift+Alt+End", 219},     {"Ctrl+Shift+Alt+Home", 215}, {"Ctrl+C", 301},
      {"Ctrl+Ins", 301},          {"Ctrl+X", 302},             {"Shift+Del", 302},
      {"Ctrl+V", 303},            {"Shift+Ins", 303},          {"Ctrl+Z", 304},
      {"Alt+Backspace", 304},     {"Ctrl+Shift+Z", 305},       {"Ctrl+A", 306},
      {"Ctrl+Del", 307},          {"Ctrl+Up", 311},            {"Ctrl+Down", 312},
      {"Backspace", 331},         {"Del", 332},                {"Ctrl+T", 333},
      {"Ctrl+Backspace", 334},    {"Ctrl+B", 335},             {"Ctrl+Y", 337},
      {"Enter", 339},             {"Ctrl+N", 340},             {"Ctrl+Tab", 350},
      {"Shift+Tab", 351},         {"Tab", 352},                {"Ctrl+I", 353},
      {"Ins", 373},               {"Ctrl+O, K", 374},          {"Ctrl+O, C", 375},
      {"Ctrl+O, L", 376},         {"Esc", 379},                {"Ctrl+=", 526},
      {"Ctrl+E", 550},            {"Alt+G", 564},              {"Ctrl+F", 600},
      {"F3", 606},                {"Ctrl+Shift+Down", 607},    {"Ctrl+Shift+Up", 608},
      {"Ctrl+R", 610},            {"Ctrl+Space", 700},         {"Ctrl+Shift+Space", 702},
  };
  for (const auto& [text, command] : bindings) EXPECT_EQ(map.CommandOf(Parse(text)), command) << text;
  EXPECT_EQ(map.CommandOf(Parse("Shift+Alt+Home")), 0) << "Home has no column form";
  EXPECT_EQ(map.CommandOf(Parse("A")), 0) << "characters are not bound";
  EXPECT_EQ(map.CommandOf(Parse("Ctrl+O")), 0) << "a prefix alone runs nothing";
  // Every move from 1 to 19 that has a key has both selection forms (but 218).
  for (const TKeyMapItem& item : map.Items()) {
    if (item.Command < 1 || item.Command > 19) continue;
    const TKeyStroke key = item.ShortCut.First;
    EXPECT_EQ(map.CommandOf(TShortCut{TKeyStroke{key.Key, key.Shift | ssShift}, {}}), item.Command + 100);
    if (item.Command != cmFirstChar) {
      EXPECT_EQ(map.CommandOf(TShortCut{TKeyStroke{key.Key, key.Shift | ssShift | ssAlt}, {}}), item.Command + 200);
    }
  }
  // No shortcut is bound twice.
  std::set<std::string> seen;
  for (const TKeyMapItem& item : map.Items())
    EXPECT_TRUE(seen.insert(ShortCutToText(item.ShortCut)).second) << ShortCutToText(item.ShortCut);
}

TEST(KeyQueue, TwoStrokesRunTheCommandAndAWrongSecondStrokeIsLookedUpAlone) {
  TKeyMap map = TKeyMap::Default();
  const TKeyStroke ctrlO{'O', ssCtrl};
  EXPECT_EQ(map.Press(ctrlO).Kind, TKeyLookup::kPending);
  EXPECT_TRUE(map.Pending());
  const TKeyLookup column = map.Press(TKeyStroke{'C', 0});
  EXPECT_EQ(column.Kind, TKeyLookup::kCommand);
  EXPECT_EQ(column.Command, cmColumnSelection);
  EXPECT_FALSE(map.Pending());
  // A plain C now is a character again.
  EXPECT_EQ(map.Press(TKeyStroke{'C', 0}).Kind, TKeyLookup::kNone);

  // A second stroke that completes nothing empties the queue and counts on its own.
  map.Press(ctrlO);
  const TKeyLookup left = map.Press(TKeyStroke{vkLeft, 0});
  EXPECT_EQ(left.Kind, TKeyLookup::kCommand);
  EXPECT_EQ(left.Command, cmLeft);
  EXPECT_FALSE(map.Pending());
  map.Press(ctrlO);
  EXPECT_EQ(map.Press(TKeyStroke{'Q', 0}).Kind, TKeyLookup::kNone) << "an unbound second stroke is the caller's";
  EXPECT_FALSE(map.Pending());
  // The prefix again as the second stroke waits anew.
  map.Press(ctrlO);
  EXPECT_EQ(map.Press(ctrlO).Kind, TKeyLookup::kPending);
  EXPECT_EQ(map.Press(TKeyStroke{'L', 0}).Command, cmLineSelection);
  // Modifiers must match: Ctrl+O, Ctrl+K is not Ctrl+O, K.
  map.Press(ctrlO);
  EXPECT_EQ(map.Press(TKeyStroke{'K', ssCtrl}).Kind, TKeyLookup::kNone);
}

TEST(KeyQueue, AOneStrokeBindingWinsOverAPrefixAndResetEmptiesTheQueue) {
  TKeyMap map;
  map.Add(1, "Ctrl+K");
  map.Add(2, "Ctrl+K, B");
  map.Add(3, "Ctrl+Q, B");
  EXPECT_EQ(map.Press(TKeyStroke{'K', ssCtrl}).Command, 1);
  EXPECT_FALSE(map.Pending());
  EXPECT_EQ(map.Press(TKeyStroke{'Q', ssCtrl}).Kind, TKeyLookup::kPending);
  map.ResetQueue();
  EXPECT_EQ(map.Press(TKeyStroke{'B', 0}).Kind, TKeyLookup::kNone);
  EXPECT_THROW(map.Add(4, "Nonsense+B"), std::invalid_argument);
  EXPECT_EQ(map.ShortCutsOf(3).size(), 1u);
}

}  // namespace
}  // namespace penwick
