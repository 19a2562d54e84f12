// The Qt scheduler of the analysis: its timers, its event pump and its worker
// jobs with delivery on the GUI thread.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "editor/QtAnalysisScheduler.h"

namespace penwick {
namespace {

// Waits (pumping events) until `done` or about two seconds have passed.
template <typename F>
bool WaitFor(F done) {
  return QTest::qWaitFor(done, 2000);
}

// Lets a worker wait until the test opens it.
class TGate {
public:
  void Open() {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_open = true;
    m_changed.notify_all();
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_open; });
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_open = false;
};

TEST(QtAnalysisScheduler, TimerRepeatsUntilStoppedAndNeverFiresAfterDestruction) {
  TQtAnalysisScheduler scheduler;
  int ticks = 0;
  auto timer = scheduler.CreateTimer([&] { ++ticks; });
  EXPECT_FALSE(timer->Active());
  timer->Start(10);
  EXPECT_TRUE(timer->Active());
  ASSERT_TRUE(WaitFor([&] { return ticks >= 3; })) << "the timer repeats until stopped";
  timer->Stop();
  EXPECT_FALSE(timer->Active());
  const int stoppedAt = ticks;
  QTest::qWait(50);
  EXPECT_EQ(ticks, stoppedAt);

  // Restarting postpones the next tick: a timer restarted more often than its
  // interval never fires (typing keeps postponing the idle run).
  timer->Start(300);
  for (int i = 0; i < 5; ++i) {
    QTest::qWait(20);
    timer->Start(300);
  }
  EXPECT_EQ(ticks, stoppedAt);

  timer->Start(5);
  timer.reset();
  QTest::qWait(40);
  EXPECT_EQ(ticks, stoppedAt) << "a destroyed timer does not fire";
}

TEST(QtAnalysisScheduler, TimerMayBeDestroyedByItsOwnHandler) {
  TQtAnalysisScheduler scheduler;
  std::unique_ptr<TIdleTimer> timer;
  int ticks = 0;
  timer = scheduler.CreateTimer([&] {
    ++ticks;
    timer.reset();  // the analysis can close its text from inside an idle run
  });
  timer->Start(5);
  ASSERT_TRUE(WaitFor([&] { return ticks > 0; }));
  QTest::qWait(40);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(timer, nullptr);
}

TEST(QtAnalysisScheduler, YieldRunsPendingEventsAndKeepsGoingWhenIdle) {
  TQtAnalysisScheduler scheduler;
  QObject context;
  bool ran = false;
  QMetaObject::invokeMethod(&context, [&] { ran = true; }, Qt::QueuedConnection);
  EXPECT_FALSE(ran);
  std::this_thread::sleep_for(std::chrono::milliseconds(2));  // events are pumped at most every millisecond
  EXPECT_TRUE(scheduler.Yield());
  EXPECT_TRUE(ran) << "queued work (input, painting) runs inside a yield";

  // Yields in a tight loop still let events through within a few milliseconds.
  bool later = false;
  QMetaObject::invokeMethod(&context, [&] { later = true; }, Qt::QueuedConnection);
  QElapsedTimer loop;
  loop.start();
  while (!later && loop.elapsed() < 1000) scheduler.Yield();
  EXPECT_TRUE(later);
  EXPECT_LT(loop.elapsed(), 100);

  // Every 10000th yield waits for an event; with nothing else going on the
  // wait must still end, or an analysis would stall while the user is idle.
  const long before = TQtAnalysisScheduler::YieldCount();
  QElapsedTimer clock;
  clock.start();
  bool allTrue = true;
  for (int i = 0; i < 10000; ++i) allTrue = scheduler.Yield() && allTrue;
  EXPECT_TRUE(allTrue);
  EXPECT_EQ(TQtAnalysisScheduler::YieldCount() - before, 10000);
  EXPECT_LT(clock.elapsed(), 5000) << "the waiting yield came back";
}

TEST(QtAnalysisScheduler, JobWorksOffTheGuiThreadAndDeliversOnItInFinishingOrder) {
  TQtAnalysisScheduler scheduler;
  const std::thread::id gui = std::this_thread::get_id();
  TGate gate;
  std::atomic<bool> firstWorkedOffGui{false}, secondDone{false};
  std::vector<int> deliveries;
  std::vector<bool> deliveredOnGui;

  // The first job finishes only after the second: deliveries follow the finishing order.
  scheduler.RunJob(
      [&] {
        firstWorkedOffGui = std::this_thread::get_id() != gui;
        gate.Wait();
      },
      [&] {
        deliveries.push_back(1);
        deliveredOnGui.push_back(std::this_thread::get_id() == gui);
      });
  scheduler.RunJob([&] { secondDone = true; },
                   [&] {
                     deliveries.push_back(2);
                     deliveredOnGui.push_back(std::this_thread::get_id() == gui);
                   });
  // The second job's work is done, but its delivery waits for the event loop.
  while (!secondDone) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(deliveries.empty()) << "deliveries are queued, not run on the worker";
  ASSERT_TRUE(WaitFor([&] { return deliveries.size() == 1; }));
  EXPECT_EQ(deliveries[0], 2);
  gate.Open();
  ASSERT_TRUE(WaitFor([&] { return deliveries.size() == 2; }));
  EXPECT_EQ(deliveries[1], 1);
  EXPECT_TRUE(firstWorkedOffGui);
  EXPECT_EQ(deliveredOnGui, (std::vector<bool>{true, true}));
  scheduler.ReapFinishedJobs();
  EXPECT_EQ(scheduler.RunningJobs(), 0) << "finished threads are joined";
}

TEST(QtAnalysisScheduler, FailingWorkStillDeliversAndALateJobDiesWithTheScheduler) {
  bool failedDelivered = false;
  {
    TQtAnalysisScheduler scheduler;
    scheduler.RunJob([] { throw std::runtime_error("broken"); }, [&] { failedDelivered = true; });
    ASSERT_TRUE(WaitFor([&] { return failedDelivered; })) << "an exception in the work must not end the program";
  }

  // A job still working when its scheduler goes: the destructor waits for the
  // thread, and the delivery never reaches the destroyed owner.
  auto owner = std::make_unique<int>(0);
  std::atomic<bool> workDone{false};
  bool lateDelivered = false;
  {
    TQtAnalysisScheduler scheduler;
    scheduler.RunJob(
        [&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(30));
          workDone = true;
        },
        [&] {
          lateDelivered = true;
          ++*owner;
        });
  }
  EXPECT_TRUE(workDone) << "the worker was joined";
  owner.reset();
  QTest::qWait(30);
  EXPECT_FALSE(lateDelivered);
}

// Runs last: once the application quits, it stays quitting for this process.
TEST(QtAnalysisScheduler, YieldAnswersFalseOnceTheApplicationQuits) {
  TQtAnalysisScheduler scheduler;
  EXPECT_FALSE(TQtAnalysisScheduler::Terminating());
  bool beforeQuit = false, afterQuit = true;
  QTimer::singleShot(0, [&] {
    beforeQuit = scheduler.Yield();
    QCoreApplication::quit();
    afterQuit = scheduler.Yield();
  });
  // A safety net so a broken quit cannot hang the test run.
  QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });
  QCoreApplication::exec();
  EXPECT_TRUE(beforeQuit);
  EXPECT_FALSE(afterQuit);
  EXPECT_TRUE(TQtAnalysisScheduler::Terminating());
}

}  // namespace
}  // namespace penwick
