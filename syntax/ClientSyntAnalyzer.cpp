// Incremental analysis of one text: tokenising, change handling, idle runs and the finishing job.
#include "syntax/ClientSyntAnalyzer.h"

#include <algorithm>
#include <limits>

#include "platform/CodePage.h"
#include "syntax/AnalysisTextSource.h"
#include "syntax/ManualScheduler.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {
constexpr int kIdleInterval = 100;  // ms
}

struct TClientSyntAnalyzer::TFinishJob {
  std::atomic<bool> Stop{false};
  bool Detached = false;  // GUI thread only
  bool Complete = false;  // written by the job, read after delivery
  TClientSyntAnalyzer* Client = nullptr;
  std::shared_ptr<std::mutex> Lock;
  // Starts with the buffers of the collections the last delivery replaced
  // (or a stopped job used), so building them again allocates nothing.
  TDerivedRanges Result;
};

TClientSyntAnalyzer::TClientSyntAnalyzer(TSyntAnalyzer& owner, TAnalysisTextSource& source, TAnalysisScheduler* scheduler)
    : TParserResults(&owner, source),
      m_ownerMutable(&owner),
      m_lock(std::make_shared<std::mutex>()),
      m_alive(std::make_shared<bool>(true)) {
  if (!scheduler) {
    m_ownScheduler = std::make_unique<TManualScheduler>(false);
    scheduler = m_ownScheduler.get();
  }
  m_scheduler = scheduler;
  m_timer = m_scheduler->CreateTimer([this] { IdleAnalyze(); });
  owner.AddClient(this);
  ResetAnalysis();
  m_sourceChanges = source.SubscribeChanges([this](int offset, int delta) { TextChanged(offset, delta); });
}

TClientSyntAnalyzer::~TClientSyntAnalyzer() {
  m_sourceChanges.Reset();
  *m_alive = false;
  StopFinishing();
  m_timer.reset();
  { std::lock_guard<std::mutex> wait(*m_lock); }  // a running job has let go of our lists
  if (m_ownerMutable) m_ownerMutable->RemoveClient(this);
}

void TClientSyntAnalyzer::DetachOwner() {
  StopFinishing();
  std::lock_guard<std::mutex> guard(*m_lock);
  m_ownerMutable = nullptr;
  m_owner = nullptr;
  if (m_timer) m_timer->Stop();
  m_tokens.Clear();
  m_oldTokens.Clear();
  ClearRanges();
  ClearDerived();
}

void TClientSyntAnalyzer::StartTimer() {
  if (m_timer && m_ownerMutable) m_timer->Start(kIdleInterval);
}

void TClientSyntAnalyzer::StopFinishing() {
  if (!m_job) return;
  m_job->Stop = true;
  m_job->Detached = true;
  m_stoppedJob = std::move(m_job);
}

void TClientSyntAnalyzer::ReclaimStoppedJob() {
  // Under the lock: the stopped job has either finished with its
  // collections or will see Stop before it touches them.
  if (!m_stoppedJob) return;
  if (m_spareDerived.Collapsible.capacity() < m_stoppedJob->Result.Collapsible.capacity())
    m_spareDerived = std::move(m_stoppedJob->Result);
  m_stoppedJob.reset();
}

void TClientSyntAnalyzer::ResetAnalysis() {
  StopFinishing();
  {
    std::lock_guard<std::mutex> guard(*m_lock);
    m_tokens.Clear();
    m_lastFound = 0;
    ForgetRangeCopies();
    ClearRanges();
    ClearDerived();
    m_stateHistory.clear();
    m_states = 0;
    m_changes.Clear();
    m_oldTokens.Clear();
    m_spareDerived = {};
    m_stoppedJob.reset();
    m_oldTokensFrom = 0;
    m_parsePos = 0;
    m_blockPos = 0;
    m_finished = false;
    m_busy = false;
    m_restartRequested = true;
  }
  StartTimer();
}

std::size_t TClientSyntAnalyzer::NextParsePosition() const {
  std::size_t next = m_tokens.empty() ? 1 : static_cast<std::size_t>(m_tokens.back().EndPos) + 1;
  return std::max(next, static_cast<std::size_t>(std::max(m_parsePos, 1)));
}

void TClientSyntAnalyzer::TextChanged(int offset, int delta) {
  if (!m_ownerMutable) return;
  if (offset < 0) {
    ResetAnalysis();
    return;
  }
  StopFinishing();
  {
    std::lock_guard<std::mutex> guard(*m_lock);
    ReclaimStoppedJob();
    m_finished = false;
    m_restartRequested = true;
    if (m_timer) m_timer->Stop();

    // Restart no later than the start of the line holding the character
    // before the change: a token that ended before the change may have
    // matched differently with the new text after it ("1." + "5" is 1.5).
    // Read through a window that begins on that line: the text before it,
    // and a gap the store keeps there, are never touched.
    const std::size_t length = m_source.TextLength();
    std::size_t restart = 0;
    if (length > static_cast<std::size_t>(std::max(m_ownerMutable->FullRefreshSize(), 0))) {
      std::size_t before = offset > 0 ? static_cast<std::size_t>(offset) - 1 : 0;
      if (before >= length) before = length - 1;
      TTextWindow window;
      restart = m_source.StartAfterBreakBefore(before, window);
    }
    ForgetRangeCopies();
    // Tokens that contain the restart offset or start after it go; so do
    // the few before them a block rule may have claimed from a later token.
    const int count = TokenCount();
    int keep = FirstTokenEndingAfter(static_cast<std::uint32_t>(restart));
    keep = std::max(0, keep - ClaimLag());
    if (keep < count) {
      if (m_oldTokens.empty()) {
        // The chunks of the cut-off tokens move aside; nothing is copied
        // but the part of the chunk the cut falls in.
        m_tokens.SplitTail(static_cast<std::size_t>(keep), m_oldTokens);
        m_oldTokensFrom = m_changes.Count();
        m_changes.Seal();
      } else {
        m_tokens.Truncate(static_cast<std::size_t>(keep));
      }
    }
    m_lastFound = 0;
    FixRangesAfterTruncation(keep);
    // Records describe the state after that many tokens: those up to `keep` stay.
    m_stateHistory.erase(std::upper_bound(m_stateHistory.begin(), m_stateHistory.end(), keep,
                                          [](int k, const std::pair<int, std::uint32_t>& r) { return k < r.first; }),
                         m_stateHistory.end());
    m_states = m_stateHistory.empty() ? 0 : m_stateHistory.back().second;
    m_blockPos = std::min(m_blockPos, keep);
    m_parsePos = 0;
  }
  m_changes.Add(offset, delta);
  StartTimer();
}

bool TClientSyntAnalyzer::MatchToken(std::size_t offset, TSyntToken& token, std::uint32_t& states) const {
  if (!m_ownerMutable) return false;
  TTextWindow window = m_source.WindowFrom(offset);
  return MatchTokenIn(window, offset, token, states);
}

bool TClientSyntAnalyzer::MatchTokenIn(TTextWindow& window, std::size_t offset, TSyntToken& token,
                                       std::uint32_t& states) const {
  if (offset < window.Start || offset - window.Start >= window.Text.size()) return false;
  const TAnalyzerPlan& plan = m_ownerMutable->Plan();
  int column = 0;
  if (plan.AnyColumnBounds) {
    // May move to a window that begins earlier, on the line's start.
    const std::size_t lineStart = m_source.StartAfterBreakBefore(offset, window);
    column = static_cast<int>(offset - lineStart) + 1;
  }
  const std::string_view text = window.Text;
  const std::size_t at = offset - window.Start;
  for (std::uint16_t index : plan.Candidates[static_cast<unsigned char>(text[at])]) {
    const TTokenRule& rule = *plan.TokenRules[index];
    if (!rule.StatesAllow(states)) continue;
    if (!BlockNameAllows(rule, nullptr)) continue;
    if (rule.HasColumnBounds() && !rule.ColumnAllows(column)) continue;
    const std::size_t length = rule.Matcher().MatchAt(text, at, window.CharBefore);
    if (length == 0) continue;
    states = rule.ApplyStates(states);
    token.StartPos = static_cast<std::uint32_t>(offset);
    token.EndPos = static_cast<std::uint32_t>(offset + length);
    token.TokenType = static_cast<std::int16_t>(rule.TokenType());
    token.RuleId = plan.TokenRuleIds[index];
    return true;
  }
  return false;
}

void TClientSyntAnalyzer::RecordStates() {
  const std::uint32_t last = m_stateHistory.empty() ? 0 : m_stateHistory.back().second;
  if (m_states == last) return;
  const int n = TokenCount();
  if (!m_stateHistory.empty() && m_stateHistory.back().first == n) m_stateHistory.back().second = m_states;
  else m_stateHistory.emplace_back(n, m_states);
}

void TClientSyntAnalyzer::AppendToken(const TSyntToken& token) {
  m_tokens.push_back(token);
  const int n = TokenCount();
  RecordStates();
  if (m_ownerMutable->Plan().Synchronous) {
    ApplyBlockRules(n, TBlockPass::All);
    m_blockPos = n;
  } else {
    ApplyBlockRules(n, TBlockPass::TagOnly);
  }
  // Block rules may change states too; the record must hold the state after them.
  RecordStates();
}

bool TClientSyntAnalyzer::ParseNextToken() {
  std::size_t pos = NextParsePosition() - 1;
  // Reading forward from the parse position: a store with a gap hands out
  // the text after it without moving it.
  TTextWindow window = m_source.WindowFrom(pos);
  // Token texts the block rules of this step read come from `window` (also
  // when MatchTokenIn replaces it); the pointer goes when the step ends.
  struct TStepScope {
    const TTextWindow*& Slot;
    ~TStepScope() { Slot = nullptr; }
  };
  m_stepWindow = &window;
  const TStepScope scope{m_stepWindow};
  const std::size_t end = window.Start + window.Text.size();
  if (m_ownerMutable->SkipSpaces()) {
    const bool keepBreaks = m_ownerMutable->ParseEndOfLine();
    const TCodePage& cp = TCodePage::Default();
    while (pos < end) {
      const unsigned char c = static_cast<unsigned char>(window.Text[pos - window.Start]);
      if (!cp.IsSpace(c) || (keepBreaks && (c == '\r' || c == '\n'))) break;
      ++pos;
    }
  }
  if (pos >= end) {
    m_parsePos = static_cast<int>(end) + 1;
    return true;
  }
  TSyntToken token;
  std::uint32_t states = m_states;
  if (MatchTokenIn(window, pos, token, states)) {
    m_states = states;
    AppendToken(token);
    m_parsePos = static_cast<int>(token.EndPos) + 1;
  } else {
    m_parsePos = static_cast<int>(pos) + 2;
  }
  return false;
}

bool TClientSyntAnalyzer::DeferredBlockStep() {
  if (!m_ownerMutable || m_ownerMutable->Plan().Synchronous) return false;
  if (m_blockPos >= TokenCount()) return false;
  ++m_blockPos;
  ApplyBlockRules(m_blockPos, TBlockPass::Rest);
  return true;
}

void TClientSyntAnalyzer::AnalyzeTo(std::size_t offset) {
  if (!m_ownerMutable || m_finished) return;
  for (;;) {
    if (NextParsePosition() - 1 > offset) {
      CheckWatch();
      return;
    }
    if (ParseNextToken()) break;
  }
  if (m_ownerMutable->Plan().Synchronous) FinishAnalysis();
  else StartTimer();
  CheckWatch();
}

bool TClientSyntAnalyzer::AnalyzeTo(std::size_t offset, TClock::time_point deadline) {
  if (!m_ownerMutable) return true;
  // Reading the clock costs about as much as a token step.
  constexpr unsigned kStepsPerClockRead = 32;
  for (unsigned step = 0; !m_finished; ++step) {
    if (NextParsePosition() - 1 > offset) break;
    if (step % kStepsPerClockRead == 0 && Now() >= deadline) {
      CheckWatch();
      // The idle run takes over from here.
      if (!m_busy && !IdleTimerActive()) StartTimer();
      return false;
    }
    if (ParseNextToken()) {
      if (m_ownerMutable->Plan().Synchronous) FinishAnalysis();
      else StartTimer();
      break;
    }
  }
  CheckWatch();
  return true;
}

void TClientSyntAnalyzer::WatchParsePosition(std::size_t offset, std::function<void()> reached) {
  m_watchOffset = offset;
  m_watch = std::move(reached);
}

bool TClientSyntAnalyzer::PassedOffset(std::size_t offset) const {
  if (m_finished) return true;
  const std::size_t parsed = NextParsePosition() - 1;
  return parsed > offset || parsed >= m_source.TextLength();
}

void TClientSyntAnalyzer::CheckWatch() {
  if (!m_watch || !PassedOffset(m_watchOffset)) return;
  const std::function<void()> reached = std::move(m_watch);
  m_watch = nullptr;
  reached();
}

void TClientSyntAnalyzer::AnalyzeAll() {
  if (!m_ownerMutable || m_finished) return;
  AnalyzeTo(std::numeric_limits<std::size_t>::max());
  if (m_finished) return;
  while (DeferredBlockStep()) {
  }
  FinishAnalysis();
}

void TClientSyntAnalyzer::IdleAnalyze() {
  if (m_busy || m_disabled || !m_ownerMutable) return;
  if (m_timer) m_timer->Stop();
  m_restartRequested = false;
  m_busy = true;
  std::shared_ptr<bool> alive = m_alive;
  try {
    while (!m_restartRequested && !m_finished) {
      const bool atEnd = ParseNextToken();
      if (m_watch) CheckWatch();
      if (atEnd) {
        bool gaveUp = false;
        while (DeferredBlockStep()) {
          const bool running = m_scheduler->Yield();
          if (!*alive) return;
          if (!running || m_restartRequested) {
            gaveUp = true;
            break;
          }
        }
        if (gaveUp) break;
        FinishAnalysis();
        if (!*alive) return;  // a synchronous delivery may close the text
      } else {
        const bool running = m_scheduler->Yield();
        if (!*alive) return;
        if (!running) break;
      }
    }
  } catch (const std::exception& e) {
    if (m_reportError) m_reportError(e);
  }
  m_busy = false;
}

void TClientSyntAnalyzer::DisableIdleAnalysis(bool disable) {
  m_disabled = disable;
  if (!disable && !m_finished) IdleAnalyze();
}

void TClientSyntAnalyzer::FinishAnalysis() {
  m_finished = true;
  CloseAtEndOfText();
  StopFinishing();
  auto job = std::make_shared<TFinishJob>();
  job->Client = this;
  job->Lock = m_lock;
  job->Result = std::move(m_spareDerived);
  job->Result.Clear();
  m_job = job;
  m_scheduler->RunJob(
      [job] {
        // The collections are touched under the lock only: a change that
        // stopped the job takes them back, under the lock, for the next job.
        std::lock_guard<std::mutex> guard(*job->Lock);
        if (!job->Stop.load()) job->Complete = job->Client->BuildDerived(job->Result, job->Stop);
      },
      [job] {
        if (job->Detached || !job->Complete) return;
        job->Client->DeliverFinished(*job);
      });
}

void TClientSyntAnalyzer::DeliverFinished(TFinishJob& job) {
  {
    std::lock_guard<std::mutex> guard(*m_lock);
    // The replaced collections become the next job's buffers.
    m_spareDerived = SwapDerived(std::move(job.Result));
    m_changes.Clear();
    ReleaseOldTokens();
    m_oldTokensFrom = 0;
  }
  if (m_job.get() == &job) m_job.reset();
  if (OnFinished) OnFinished();
}

void TClientSyntAnalyzer::ReleaseOldTokens() {
  // A few chunks are freed here; more go to a worker, so that letting go of
  // the tokens below a change made far up a large text does not hold up
  // the GUI thread.
  constexpr std::size_t kFreeHere = 16 * TTokenList::kChunk;
  if (m_oldTokens.size() <= kFreeHere) {
    m_oldTokens.Clear();
    return;
  }
  auto garbage = std::make_shared<TTokenList>(std::move(m_oldTokens));
  m_scheduler->RunJob([garbage] { garbage->Clear(); }, [] {});
}

int TClientSyntAnalyzer::TokenIndexAt(std::size_t offset) {
  AnalyzeTo(offset);
  return FindTokenAt(static_cast<std::uint32_t>(offset));
}

const TSyntaxFormat* TClientSyntAnalyzer::TokenStyle(int index) const {
  const TRuleCollectionItem* rule = TokenRule(index);
  return rule ? rule->Style() : nullptr;
}

std::size_t TClientSyntAnalyzer::TokenStyleAt(std::size_t offset, std::vector<const TSyntaxFormat*>& styles) const {
  const std::size_t length = m_source.TextLength();
  const auto q = static_cast<std::uint32_t>(offset);
  const int i = FirstTokenEndingAfter(q);
  if (i < TokenCount()) {
    const TSyntToken& t = Token(i);
    if (t.StartPos <= q) {
      if (const TSyntaxFormat* style = TokenStyle(i)) styles.push_back(style);
      return t.EndPos;
    }
    return t.StartPos;
  }
  const std::size_t analysedEnd = m_finished ? length : NextParsePosition() - 1;
  const TTokenList& old = m_oldTokens;
  if (offset < analysedEnd) return analysedEnd;
  // Never analysed (or analysed only before a reset): no style up to the
  // end of the text, in one run.
  if (old.empty() || !m_ownerMutable) return std::max(length, offset + 1);
  // Not analysed again yet: borrow the old token's style, mapped across the changes.
  const std::optional<int> oldOffset = m_changes.MapBack(static_cast<int>(offset), m_oldTokensFrom);
  if (!oldOffset) return offset + 1;
  const std::size_t at = old.FirstEndingAfter(static_cast<std::uint32_t>(*oldOffset));
  if (at == old.size()) return length > offset ? length : offset + 1;
  const TSyntToken& token = old[at];
  const int start = m_changes.MapForward(static_cast<int>(token.StartPos), m_oldTokensFrom);
  const int end = m_changes.MapForward(static_cast<int>(token.EndPos), m_oldTokensFrom);
  if (token.StartPos <= static_cast<std::uint32_t>(*oldOffset)) {
    if (const TRuleCollectionItem* rule = m_ownerMutable->RuleById(token.RuleId))
      if (rule->Style()) styles.push_back(rule->Style());
    return std::max<std::size_t>(static_cast<std::size_t>(std::max(end, 0)), offset + 1);
  }
  return std::max<std::size_t>(static_cast<std::size_t>(std::max(start, 0)), offset + 1);
}

}  // namespace penwick
