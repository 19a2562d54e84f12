// The hand-driven scheduler of tests and the command line.
#include "syntax/ManualScheduler.h"

#include <algorithm>
#include <limits>

namespace penwick {

class TManualScheduler::TManualTimer : public TIdleTimer {
public:
  TManualTimer(TManualScheduler& owner, std::function<void()> onTick) : m_owner(owner), m_onTick(std::move(onTick)) {
    m_owner.m_timers.push_back(this);
  }
  ~TManualTimer() override {
    auto& t = m_owner.m_timers;
    t.erase(std::remove(t.begin(), t.end(), this), t.end());
  }
  void Start(int intervalMs) override {
    m_interval = std::max(intervalMs, 1);
    m_due = m_owner.m_now + m_interval;
    m_active = true;
  }
  void Stop() override { m_active = false; }
  bool Active() const override { return m_active; }

  std::int64_t Due() const { return m_active ? m_due : std::numeric_limits<std::int64_t>::max(); }
  void Fire() {
    m_due += m_interval;  // a repeating timer
    if (m_onTick) m_onTick();
  }

private:
  TManualScheduler& m_owner;
  std::function<void()> m_onTick;
  int m_interval = 100;
  std::int64_t m_due = 0;
  bool m_active = false;
};

TManualScheduler::TManualScheduler(bool threaded) : m_threaded(threaded) {}

TManualScheduler::~TManualScheduler() {
  for (auto& t : m_threads)
    if (t.Thread.joinable()) t.Thread.join();
}

std::unique_ptr<TIdleTimer> TManualScheduler::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<TManualTimer>(*this, std::move(onTick));
}

bool TManualScheduler::Yield() {
  ++m_yields;
  ProcessDeliveries();
  if (OnYield) OnYield();
  return Running;
}

void TManualScheduler::RunJob(std::function<void()> work, std::function<void()> deliver) {
  ++m_jobs;
  if (!m_threaded) {
    work();
    deliver();
    return;
  }
  std::erase_if(m_threads, [](TWorker& w) {
    if (!w.Done->load()) return false;
    w.Thread.join();
    return true;
  });
  {
    std::lock_guard<std::mutex> guard(m_mutex);
    ++m_running;
  }
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([this, done, work = std::move(work), deliver = std::move(deliver)]() mutable {
    work();
    {
      std::lock_guard<std::mutex> guard(m_mutex);
      m_deliveries.push_back(std::move(deliver));
      --m_running;
      m_done.notify_all();
    }
    done->store(true);
  });
  m_threads.push_back({std::move(thread), std::move(done)});
}

void TManualScheduler::Advance(int ms) {
  const std::int64_t target = m_now + ms;
  for (;;) {
    TManualTimer* next = nullptr;
    for (TManualTimer* t : m_timers)
      if (t->Due() <= target && (!next || t->Due() < next->Due())) next = t;
    if (!next) break;
    m_now = std::max(m_now, next->Due());
    next->Fire();
  }
  m_now = target;
}

int TManualScheduler::ProcessDeliveries() {
  int count = 0;
  for (;;) {
    std::function<void()> deliver;
    {
      std::lock_guard<std::mutex> guard(m_mutex);
      if (m_deliveries.empty()) break;
      deliver = std::move(m_deliveries.front());
      m_deliveries.pop_front();
    }
    deliver();
    ++count;
  }
  return count;
}

void TManualScheduler::WaitForJobs() {
  {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_running == 0; });
  }
  for (auto& t : m_threads)
    if (t.Thread.joinable()) t.Thread.join();
  m_threads.clear();
  ProcessDeliveries();
}

}  // namespace penwick
