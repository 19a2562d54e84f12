// The text forms of an analysis that penwick-cli prints and golden tests compare: one line per token, one per fold.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextEscape.h"

namespace penwick {

class TClientSyntAnalyzer;

// One line per token: start, end, type name, style name (or "-"), text; tab-separated.
std::string DumpTokens(const TClientSyntAnalyzer& client);

// One line per collapsible range that spans more than one line: first line,
// last line (1-based), collapse text; tab-separated.
std::string DumpFolds(const TClientSyntAnalyzer& client);

}  // namespace penwick
