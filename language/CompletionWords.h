// The command words the completion list offers, the rule that opens the list by itself while typing, and the keyword test that keeps control words from turning into commands.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace penwick {

class TCodePage;

// The list's 301 words in their stored order, duplicates kept: LEVELSTART and
// LEVELEND appear twice, LEVEL_END_POINT_ARROW_AT three times in a row, so
// 297 are distinct. Every word is upper case, letters and underscores, 4 to
// 39 characters. The strings are static and live for the whole run.
std::span<const char* const> AutoCompleteWords();

// The trigger run on every text change: whether the list opens by itself.
//  enabled: the "AutoCm" setting; declarationFlagCopy: the declaration flag as
//  it was before the latest declaration analysis; pos: 0-based offset of the
//  change; count: characters inserted (negative when removed);
//  inserted: the character at offset pos (only read when count == 1);
//  before: the character at pos-1, nullopt at the start of the text.
// Opens when enabled, no flag copy, count == 1, pos >= 0, `inserted` is an
// ASCII letter (digits, '_' and letters beyond ASCII never open it), and
// `before` is absent or not a word character of `codePage` (a letter or digit
// of the code page, or '_'). Pure; constant time.
bool CompletionTriggerOpens(bool enabled, bool declarationFlagCopy, int pos, int count, char inserted,
                            std::optional<char> before, const TCodePage& codePage);

// Whether `word` is a complete keyword of the mission language: a member of
// one of the seven keyword lists of the built-in lexer definition (compiler
// targets, control words, level brackets, declaration types, condition
// commands, commands, constants), compared without regard to ASCII case.
// Other bytes compare exactly; the empty word is no keyword. The lookup set
// is built once on first use (thread-safe); each call costs one hash lookup.
bool IsMissionKeyword(std::string_view word);

}  // namespace penwick
