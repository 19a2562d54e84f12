// The analysis scheduler of the live editor (`TQtAnalysisScheduler`): Qt timers, the Qt event pump and worker threads.
#pragma once

#include <memory>
#include <vector>

#include "syntax/AnalysisScheduler.h"

namespace penwick {

// Lives on the GUI thread and must be created and destroyed there.
//
// Timers are QTimers; a timer never fires after its TIdleTimer is destroyed,
// even when the handler itself destroys it.
//
// Yield pumps pending events when a millisecond or more has passed since a
// yield last did (over all schedulers): pumping costs as much as analysing a
// token, so pumping at every token would make the idle analysis several
// times slower, while input delayed by a millisecond goes unnoticed. Every
// 10000th call also waits for one event the way the main loop does; the wait
// is bounded by a short wake-up timer so that a long analysis still moves on
// while the user is idle and nothing else is posted. Yield answers false once
// the application is quitting (a quit event was seen, aboutToQuit was sent,
// or the application object is gone or closing down).
//
// RunJob starts `work` on a std::thread; `deliver` then runs on the GUI
// thread through a queued call, in the order the jobs finish. Deliveries of
// jobs that finish after the scheduler is destroyed are dropped. The
// destructor joins every worker thread, so a job's work must not wait for
// the GUI thread (the analysis's finishing job only takes its client's lock).
class TQtAnalysisScheduler : public TAnalysisScheduler {
public:
  TQtAnalysisScheduler();
  ~TQtAnalysisScheduler() override;
  TQtAnalysisScheduler(const TQtAnalysisScheduler&) = delete;
  TQtAnalysisScheduler& operator=(const TQtAnalysisScheduler&) = delete;

  std::unique_ptr<TIdleTimer> CreateTimer(std::function<void()> onTick) override;
  bool Yield() override;
  void RunJob(std::function<void()> work, std::function<void()> deliver) override;

  // Whether the application is quitting, as Yield sees it.
  static bool Terminating();
  // Number of Yield calls so far in the program (all schedulers).
  static long YieldCount();
  // Worker threads started and not yet joined.
  int RunningJobs() const;
  // Joins the worker threads whose work is done (their deliveries may still
  // be queued). Called by RunJob; tests call it to wait for quiet.
  void ReapFinishedJobs();

private:
  struct TShared;
  struct TJob;
  class TQtIdleTimer;

  std::shared_ptr<TShared> m_shared;
  std::vector<std::unique_ptr<TJob>> m_jobs;
};

}  // namespace penwick
