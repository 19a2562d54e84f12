// What background analysis needs from the event loop (`TAnalysisScheduler`): idle timers, yielding, and a worker thread.
#pragma once

#include <functional>
#include <memory>

namespace penwick {

// A repeating timer that calls its handler on the GUI thread.
class TIdleTimer {
public:
  virtual ~TIdleTimer() = default;
  // (Re)starts the timer: the handler runs `intervalMs` from now.
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
};

// The GUI implements this with its timers, its event pump and a thread plus
// a queued call; tests and the command line use TManualScheduler.
class TAnalysisScheduler {
public:
  virtual ~TAnalysisScheduler() = default;
  // A timer whose handler runs on the GUI thread; it never fires after it is destroyed.
  virtual std::unique_ptr<TIdleTimer> CreateTimer(std::function<void()> onTick) = 0;
  // Processes pending events (input and painting may run inside); every
  // 10000th call should also wait for and handle one event the way the main
  // loop does, so a long analysis cannot starve it. Answers false when the
  // application is terminating.
  virtual bool Yield() = 0;
  // Runs `work` on a worker thread, then `deliver` on the GUI thread. A
  // synchronous implementation may run both at once, in order.
  virtual void RunJob(std::function<void()> work, std::function<void()> deliver) = 0;
};

}  // namespace penwick
