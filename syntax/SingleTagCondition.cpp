// Testing one token against one block-rule condition.
#include "syntax/SingleTagCondition.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace penwick {

namespace {

int CompareTags(std::string_view a, std::string_view b, bool ignoreCase) {
  if (!ignoreCase) return a.compare(b);
  const TCodePage& cp = TCodePage::Default();
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = cp.ToUpper(static_cast<unsigned char>(a[i]));
    unsigned char y = cp.ToUpper(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

std::size_t TTagHash::operator()(std::string_view s) const {
  // FNV-1a over the (upper-cased) bytes.
  std::size_t h = 1469598103934665603ull;
  const TCodePage& cp = TCodePage::Default();
  for (char c : s) {
    unsigned char b = static_cast<unsigned char>(c);
    if (IgnoreCase) b = cp.ToUpper(b);
    h = (h ^ b) * 1099511628211ull;
  }
  return h;
}

bool TTagEqual::operator()(std::string_view a, std::string_view b) const {
  return a.size() == b.size() && CompareTags(a, b, IgnoreCase) == 0;
}

TSingleTagCondition::TSingleTagCondition() = default;
TSingleTagCondition::~TSingleTagCondition() = default;

void TSingleTagCondition::SetTagList(const std::vector<std::string>& tags) {
  m_tags = tags;
  if (m_updates > 0) m_stale = true;
  else Rebuild();
  Changed();
}

void TSingleTagCondition::SetTagsText(std::string_view text) {
  std::vector<std::string> tags;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\r' || text[i] == '\n' || text[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < text.size() && !(text[i] == ' ' || text[i] == '\r' || text[i] == '\n' || text[i] == '\t')) ++i;
    if (i > start) tags.emplace_back(text.substr(start, i - start));
  }
  SetTagList(tags);
}

void TSingleTagCondition::SetIgnoreCase(bool ignoreCase) {
  m_ignoreCase = ignoreCase;
  if (m_updates > 0) m_stale = true;
  else Rebuild();
  Changed();
}

void TSingleTagCondition::EndUpdate() {
  if (m_updates == 0 || --m_updates > 0 || !m_stale) return;
  m_stale = false;
  Rebuild();
  Changed();
}

void TSingleTagCondition::Rebuild() {
  const bool ci = m_ignoreCase;
  std::stable_sort(m_tags.begin(), m_tags.end(),
                   [ci](const std::string& a, const std::string& b) { return CompareTags(a, b, ci) < 0; });
  m_tags.erase(std::unique(m_tags.begin(), m_tags.end(),
                           [ci](const std::string& a, const std::string& b) { return CompareTags(a, b, ci) == 0; }),
               m_tags.end());
  m_lookup = std::unordered_set<std::string, TTagHash, TTagEqual>(m_tags.size() * 2 + 1, TTagHash{ci}, TTagEqual{ci});
  m_lookup.insert(m_tags.begin(), m_tags.end());
  m_lengths = 0;
  m_firstBytes.reset();
  const TCodePage& cp = TCodePage::Default();
  for (const auto& tag : m_tags) {
    m_lengths |= std::uint64_t{1} << std::min<std::size_t>(tag.size(), 63);
    if (!tag.empty()) {
      const unsigned char first = static_cast<unsigned char>(tag[0]);
      m_firstBytes.set(ci ? cp.ToUpper(first) : first);
    }
  }
  m_masks.clear();
  for (const auto& tag : m_tags) {
    m_masks.push_back(std::make_unique<TPatternMatcher>());
    m_masks.back()->SetExpression(tag);
  }
}

bool TSingleTagCondition::Listed(std::string_view text) const {
  if (!((m_lengths >> std::min<std::size_t>(text.size(), 63)) & 1u)) return false;
  if (!text.empty()) {
    const unsigned char first = static_cast<unsigned char>(text[0]);
    if (!m_firstBytes.test(m_ignoreCase ? TCodePage::Default().ToUpper(first) : first)) return false;
  }
  return m_lookup.find(text) != m_lookup.end();
}

bool TSingleTagCondition::Test(std::string_view text, int type) const {
  if (m_tokenTypes != 0) {
    const bool accepted = TypeAccepted(type);
    if (m_condType == tcSkip) return accepted;
    if (!accepted) return m_condType == tcNotEqual;
  }
  if (m_tags.empty()) return m_condType != tcNotEqual;
  switch (m_condType) {
    case tcMask:
      for (const auto& mask : m_masks)
        if (mask->MatchAt(text, 0) > 0) return true;
      return false;
    case tcNotEqual:
      return !Listed(text);
    case tcEqual:
    case tcSkip:
      return Listed(text);
  }
  return false;
}

}  // namespace penwick
