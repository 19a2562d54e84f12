// A scheduler driven by hand (`TManualScheduler`): a manual clock for timers and, optionally, real worker threads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "syntax/AnalysisScheduler.h"

namespace penwick {

class TManualScheduler : public TAnalysisScheduler {
public:
  // With `threaded`, jobs run on real threads and their deliveries wait in a
  // queue until ProcessDeliveries(); otherwise a job runs and delivers at once.
  explicit TManualScheduler(bool threaded = false);
  ~TManualScheduler() override;

  std::unique_ptr<TIdleTimer> CreateTimer(std::function<void()> onTick) override;
  bool Yield() override;
  void RunJob(std::function<void()> work, std::function<void()> deliver) override;

  // Moves the clock on; every timer due fires (in the order they fall due).
  void Advance(int ms);
  std::int64_t Now() const { return m_now; }
  // Runs the deliveries of jobs that have finished; answers how many ran.
  int ProcessDeliveries();
  // Waits for every running job to finish, then processes the deliveries.
  void WaitForJobs();
  int YieldCount() const { return m_yields; }
  int JobCount() const { return m_jobs; }
  // Called inside every Yield: lets a test act "during" an idle run.
  std::function<void()> OnYield;
  // What Yield answers (false simulates a terminating application).
  bool Running = true;

private:
  class TManualTimer;
  friend class TManualTimer;

  bool m_threaded;
  std::int64_t m_now = 0;
  int m_yields = 0;
  int m_jobs = 0;
  std::vector<TManualTimer*> m_timers;

  std::mutex m_mutex;
  std::condition_variable m_done;
  int m_running = 0;
  std::deque<std::function<void()>> m_deliveries;
  // Worker threads; those whose work is done are joined when the next job
  // starts, so that their stacks are reused rather than mapped again.
  struct TWorker {
    std::thread Thread;
    std::shared_ptr<std::atomic<bool>> Done;
  };
  std::vector<TWorker> m_threads;
};

}  // namespace penwick
