// The analysis of one text (`TClientSyntAnalyzer`): incremental tokenising, block rules, idle scheduling and the finishing step.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "syntax/AnalysisScheduler.h"
#include "syntax/AnalysisTextSource.h"
#include "syntax/ChangeFixer.h"
#include "syntax/ParserResults.h"

namespace penwick {

class TSyntAnalyzer;
class TSyntaxFormat;

// Threads: everything runs on the GUI thread except the finishing job,
// which reads the token and range lists under the client's lock and builds
// collections of its own. The GUI thread takes the same lock to reset, to
// handle a change and to take over the job's results; a change first marks
// a running job stopped and detached (the job looks between ranges, so the
// wait is short), and results built from an outdated token list are never
// used. The job never reads the text (it works on token positions only), so
// windows, which may move a store's gap, are asked for on the GUI thread
// alone.
//
// What the GUI thread pays per keystroke does not grow with the text before
// or after the change: the change (TextChanged), the finishing step's start
// and its delivery all cost what they touch. Only the job builds the
// derived collections, in time proportional to the ranges; the collections
// a delivery replaces are the next job's buffers, and a large list of old
// tokens it lets go of is freed by a job of its own.
class TClientSyntAnalyzer : public TParserResults {
public:
  // Prefer TSyntAnalyzer::CreateClient. `scheduler` may be null: then a
  // private synchronous scheduler is used (no idle runs, no threads).
  TClientSyntAnalyzer(TSyntAnalyzer& owner, TAnalysisTextSource& source, TAnalysisScheduler* scheduler);
  ~TClientSyntAnalyzer() override;

  TSyntAnalyzer* Owner() const { return m_ownerMutable; }

  // The text changed at 0-based `offset` by `delta` characters (> 0 inserted,
  // < 0 deleted); offset -1: the whole text was replaced. The client hears
  // every change of its source through its subscription; calling this by
  // hand is for a source that does not report its changes. Drops the tokens
  // from the line holding the character before the change on, repairs
  // ranges and states, and restarts the idle timer.
  // Cost: halving searches for the cut (tokens, state history, ranges), the
  // range repair TRangeStore::Truncate states, and, for the first change
  // after a delivery, setting the dropped tokens aside as TTokenList::
  // SplitTail states (one chunk copied at most); not the tokens or ranges
  // below the change, nor the open ranges.
  void TextChanged(int offset, int delta);
  // Empties tokens, ranges, states and the change list, requests a restart
  // and starts the idle timer.
  void ResetAnalysis();
  // Analyses without yielding until the parse position has passed `offset`
  // or the end of the text is reached; at the end runs the finishing step
  // (deferred block analysis is then left to the idle run).
  void AnalyzeTo(std::size_t offset);
  // As AnalyzeTo, but gives up once `deadline` has passed: the clock is read
  // before the first step and every few steps after, so a deadline already
  // past analyses nothing and the overshoot is a few tokens. True when the
  // parse position passed `offset` or the analysis is finished; false when
  // it stopped short (the idle run goes on from there).
  using TClock = std::chrono::steady_clock;
  bool AnalyzeTo(std::size_t offset, TClock::time_point deadline);
  // The clock deadlines are read against: steady_clock unless a test put another in.
  TClock::time_point Now() const { return m_clock ? m_clock() : TClock::now(); }
  void SetClock(std::function<TClock::time_point()> clock) { m_clock = std::move(clock); }
  // Calls `reached` once, the first time an analysis step (the idle run or
  // any AnalyzeTo) leaves the parse position past `offset` or finishes; a
  // later call replaces a watch not yet fired, an empty function removes it.
  // Changes to the text keep the watch. `reached` runs in the middle of an
  // analysis: it may schedule work (a repaint) but must not change the text
  // or destroy the client.
  void WatchParsePosition(std::size_t offset, std::function<void()> reached);
  bool Watching() const { return static_cast<bool>(m_watch); }
  // Everything, including deferred block analysis and the finishing step.
  void AnalyzeAll();
  // The idle timer's handler: tokenises, yielding after every token.
  void IdleAnalyze();
  void DisableIdleAnalysis(bool disable);

  bool Finished() const { return m_finished; }
  bool Busy() const { return m_busy; }
  bool RestartRequested() const { return m_restartRequested; }
  bool IdleTimerActive() const { return m_timer && m_timer->Active(); }
  // True while the finishing job runs and its results are still wanted.
  bool FinishingPending() const { return static_cast<bool>(m_job); }
  // 1-based; 0 after a change until tokenising starts again.
  int ParsePosition() const { return m_parsePos; }
  // The 1-based position where the next token is looked for.
  std::size_t NextParsePosition() const;

  // Analyses up to `offset`, then the index of the token containing it, or -1.
  int TokenIndexAt(std::size_t offset);
  // The style list of the painting run at `offset` (0 or 1 style), and the
  // offset where that run ends. Sequential calls cost no search. Text not yet
  // analysed again after a change keeps the styles of its old tokens (a
  // halving search among them, and a pass over the change records since
  // they were set aside: one per place edited, see TChangeFixer). Text never
  // analysed has no style: one run up to the end of the text.
  std::size_t TokenStyleAt(std::size_t offset, std::vector<const TSyntaxFormat*>& styles) const;
  // The style a token is drawn in (its styling rule's style), or nullptr.
  const TSyntaxFormat* TokenStyle(int index) const;

  // The state set after the token count of each record.
  const std::vector<std::pair<int, std::uint32_t>>& StateHistory() const { return m_stateHistory; }
  std::uint32_t States() const { return m_states; }
  const TChangeFixer& Changes() const { return m_changes; }
  // Tokens the first change since the last delivery cut off, at their old
  // offsets; empty once a finishing step has delivered.
  const TTokenList& OldTokens() const { return m_oldTokens; }

  // Matches the definition's token rules at a 0-based offset; on a match
  // fills `token` and answers true. Does not change the analysis.
  bool MatchToken(std::size_t offset, TSyntToken& token, std::uint32_t& states) const;

  // Told (on the GUI thread) when a finishing step has delivered its ranges.
  std::function<void()> OnFinished;
  // Told about exceptions raised while block rules are applied or during an
  // idle run; the analysis goes on.
  void SetErrorHandler(std::function<void(const std::exception&)> handler) { m_reportError = std::move(handler); }

private:
  friend class TSyntAnalyzer;
  struct TFinishJob;

  // MatchToken within a window that covers `offset`; `window` may be
  // replaced by one that begins earlier (column bounds need the line start).
  bool MatchTokenIn(TTextWindow& window, std::size_t offset, TSyntToken& token, std::uint32_t& states) const;
  // One token step from the next parse position; true at the end of the text.
  bool ParseNextToken();
  void AppendToken(const TSyntToken& token);
  void RecordStates();
  // Deferred block analysis for one token; false when none is outstanding.
  bool DeferredBlockStep();
  void FinishAnalysis();
  void StopFinishing();
  void ReclaimStoppedJob();
  void ReleaseOldTokens();
  void DeliverFinished(TFinishJob& job);
  void DetachOwner();
  void StartTimer();
  // The parse position is past `offset`, or at the end of the text.
  bool PassedOffset(std::size_t offset) const;
  void CheckWatch();

  TSyntAnalyzer* m_ownerMutable;
  std::unique_ptr<TAnalysisScheduler> m_ownScheduler;
  TAnalysisScheduler* m_scheduler;
  std::unique_ptr<TIdleTimer> m_timer;

  std::vector<std::pair<int, std::uint32_t>> m_stateHistory;
  int m_parsePos = 0;
  int m_blockPos = 0;
  bool m_finished = false;
  bool m_restartRequested = false;
  bool m_busy = false;
  bool m_disabled = false;
  std::function<TClock::time_point()> m_clock;
  std::size_t m_watchOffset = 0;
  std::function<void()> m_watch;

  TChangeFixer m_changes;
  TTokenList m_oldTokens;
  std::size_t m_oldTokensFrom = 0;  // first change the old tokens predate
  // The derived collections the last delivery replaced, cleared and handed
  // to the next finishing job to fill.
  TDerivedRanges m_spareDerived;

  std::shared_ptr<std::mutex> m_lock;
  std::shared_ptr<TFinishJob> m_job;
  std::shared_ptr<TFinishJob> m_stoppedJob;  // until its buffers are taken back
  std::shared_ptr<bool> m_alive;
  // Last member: unsubscribed first, before anything it calls into goes.
  TSubscription m_sourceChanges;
};

}  // namespace penwick
