// Raises a flag for the length of a scope.
#pragma once

namespace penwick {

// Sets `flag` on construction and puts back the value it had on destruction,
// also while an exception unwinds; nested scopes therefore restore in turn.
class TFlagScope {
public:
  explicit TFlagScope(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
  ~TFlagScope() { m_flag = m_before; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

private:
  bool& m_flag;
  bool m_before;
};

}  // namespace penwick
