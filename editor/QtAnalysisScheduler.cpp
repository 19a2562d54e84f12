// Qt timers, event pumping and worker threads with queued delivery for the background analysis.
#include "editor/QtAnalysisScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <thread>

namespace penwick {

namespace {

// Every this many yields, one yield also waits for an event.
constexpr long kWaitEvery = 10000;
// Upper bound of that wait, so an idle application does not stall the
// analysis (it is paid in full whenever nothing else is pending).
constexpr int kWakeMs = 1;
// Events are pumped at most this often: a pump costs about a microsecond,
// as much as a token, and input waiting this long is not noticed.
constexpr qint64 kPumpIntervalNs = 1'000'000;
// The clock is read only every this many yields (reading it costs more than a token).
constexpr long kClockEvery = 64;

std::atomic<long> g_yields{0};
// When events were last pumped by a yield (GUI thread only).
QElapsedTimer g_sincePump;

// Watches the application for the moment it starts quitting. One per
// application object; parented to it, so a later application gets a new one.
class TQuitWatch : public QObject {
public:
  explicit TQuitWatch(QCoreApplication* app) : QObject(app) {
    app->installEventFilter(this);
    connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_quitting = true; });
  }
  bool Quitting() const { return m_quitting; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) m_quitting = true;
    return false;
  }

private:
  bool m_quitting = false;
};

QPointer<TQuitWatch> g_quitWatch;

// The watch of the current application, created on first use; nullptr
// without an application.
TQuitWatch* QuitWatch() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return nullptr;
  if (!g_quitWatch || g_quitWatch->parent() != app) g_quitWatch = new TQuitWatch(app);
  return g_quitWatch;
}

}  // namespace

// What the worker threads share with the scheduler: the object deliveries
// are queued to, cleared (under the mutex) before it is destroyed.
struct TQtAnalysisScheduler::TShared {
  std::mutex Mutex;
  QObject* Receiver = nullptr;
};

struct TQtAnalysisScheduler::TJob {
  std::thread Thread;
  std::shared_ptr<std::atomic<bool>> Done = std::make_shared<std::atomic<bool>>(false);
};

class TQtAnalysisScheduler::TQtIdleTimer : public TIdleTimer {
public:
  explicit TQtIdleTimer(std::function<void()> onTick)
      : m_timer(new QTimer), m_onTick(std::make_shared<std::function<void()>>(std::move(onTick))) {
    m_timer->setSingleShot(false);
    QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { Tick(); });
  }
  ~TQtIdleTimer() override {
    *m_alive = false;
    m_timer->stop();
    QObject::disconnect(m_timer, nullptr, nullptr, nullptr);
    // Destroyed from inside its own handler: the QTimer is still emitting.
    if (m_inTick) m_timer->deleteLater();
    else delete m_timer;
  }
  void Start(int intervalMs) override { m_timer->start(std::max(0, intervalMs)); }
  void Stop() override { m_timer->stop(); }
  bool Active() const override { return m_timer->isActive(); }

private:
  void Tick() {
    // Both may die inside the handler; keep what the call needs.
    std::shared_ptr<bool> alive = m_alive;
    std::shared_ptr<std::function<void()>> handler = m_onTick;
    m_inTick = true;
    (*handler)();
    if (*alive) m_inTick = false;
  }

  QTimer* m_timer;
  std::shared_ptr<std::function<void()>> m_onTick;
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
  bool m_inTick = false;
};

TQtAnalysisScheduler::TQtAnalysisScheduler() : m_shared(std::make_shared<TShared>()) {
  m_shared->Receiver = new QObject;
  QuitWatch();
}

TQtAnalysisScheduler::~TQtAnalysisScheduler() {
  QObject* receiver = nullptr;
  {
    std::lock_guard<std::mutex> guard(m_shared->Mutex);
    receiver = m_shared->Receiver;
    m_shared->Receiver = nullptr;
  }
  // Queued deliveries die with their receiver.
  delete receiver;
  for (auto& job : m_jobs)
    if (job->Thread.joinable()) job->Thread.join();
}

std::unique_ptr<TIdleTimer> TQtAnalysisScheduler::CreateTimer(std::function<void()> onTick) {
  return std::make_unique<TQtIdleTimer>(std::move(onTick));
}

bool TQtAnalysisScheduler::Terminating() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QCoreApplication::closingDown()) return true;
  TQuitWatch* watch = QuitWatch();
  return watch && watch->Quitting();
}

long TQtAnalysisScheduler::YieldCount() { return g_yields.load(); }

bool TQtAnalysisScheduler::Yield() {
  if (Terminating()) return false;
  const long count = ++g_yields;
  if (count % kWaitEvery == 0) {
    QTimer::singleShot(kWakeMs, QuitWatch(), [] {});
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  } else if (!g_sincePump.isValid() || (count % kClockEvery == 0 && g_sincePump.nsecsElapsed() >= kPumpIntervalNs)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  } else {
    return true;
  }
  g_sincePump.start();
  return !Terminating();
}

void TQtAnalysisScheduler::RunJob(std::function<void()> work, std::function<void()> deliver) {
  ReapFinishedJobs();
  auto job = std::make_unique<TJob>();
  std::shared_ptr<TShared> shared = m_shared;
  std::shared_ptr<std::atomic<bool>> done = job->Done;
  job->Thread = std::thread([shared, done, work = std::move(work), deliver = std::move(deliver)]() mutable {
    // An exception must not end the program from a worker; the delivery
    // still runs and can tell from its own state that the work did not finish.
    try {
      work();
    } catch (...) {
    }
    {
      std::lock_guard<std::mutex> guard(shared->Mutex);
      if (shared->Receiver) QMetaObject::invokeMethod(shared->Receiver, std::move(deliver), Qt::QueuedConnection);
    }
    done->store(true);
  });
  m_jobs.push_back(std::move(job));
}

void TQtAnalysisScheduler::ReapFinishedJobs() {
  std::erase_if(m_jobs, [](const std::unique_ptr<TJob>& job) {
    if (!job->Done->load()) return false;
    job->Thread.join();
    return true;
  });
}

int TQtAnalysisScheduler::RunningJobs() const { return static_cast<int>(m_jobs.size()); }

}  // namespace penwick
