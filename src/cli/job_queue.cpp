#include "cli/job_queue.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace plotvane {
namespace {

class Queue {
 public:
  Queue(std::size_t count, const JobCallbacks& callbacks)
      : count_(count), callbacks_(callbacks), ended_(count, false) {}

  // With no writer thread the workers write themselves.
  void writeInWorkers() { writeInWorkers_ = true; }

  void work(HeadlessPlatform& platform) {
    for (;;) {
      std::size_t item;
      {
        const std::lock_guard lock(mutex_);
        if (next_ == count_) return;
        item = next_++;
        latestStarted_ = item;
        changed_ = true;
      }
      changedSignal_.notify_one();
      callbacks_.work(item, platform);
      if (writeInWorkers_) {
        callbacks_.write(item, platform);
        end(item);
        continue;
      }
      {
        const std::lock_guard lock(mutex_);
        toWrite_.push_back(item);
      }
      writableSignal_.notify_one();
    }
  }

  void write(HeadlessPlatform& platform) {
    for (;;) {
      std::size_t item;
      {
        std::unique_lock lock(mutex_);
        writableSignal_.wait(lock, [this] { return !toWrite_.empty() || takenToWrite_ == count_; });
        if (toWrite_.empty()) break;
        item = toWrite_.front();
        toWrite_.pop_front();
        ++takenToWrite_;
      }
      callbacks_.write(item, platform);
      end(item);
    }
    // The other writers wake to see that nothing is left either.
    writableSignal_.notify_all();
  }

  // On the calling thread until every item is finished.
  void report() {
    std::size_t finished = 0;
    std::unique_lock lock(mutex_);
    while (finished < count_) {
      changedSignal_.wait(lock, [this] { return changed_; });
      changed_ = false;
      const std::size_t endedCount = endedCount_, latest = latestStarted_;
      std::size_t ready = finished;
      while (ready < count_ && ended_[ready]) ++ready;
      lock.unlock();
      callbacks_.progress(endedCount, latest);
      for (; finished < ready; ++finished) callbacks_.finished(finished);
      lock.lock();
    }
  }

 private:
  void end(std::size_t item) {
    {
      const std::lock_guard lock(mutex_);
      ended_[item] = true;
      ++endedCount_;
      changed_ = true;
    }
    changedSignal_.notify_one();
  }

  const std::size_t count_;
  const JobCallbacks& callbacks_;
  bool writeInWorkers_ = false;
  std::mutex mutex_;
  std::condition_variable changedSignal_, writableSignal_;
  bool changed_ = false;
  std::size_t next_ = 0, endedCount_ = 0, latestStarted_ = 0, takenToWrite_ = 0;
  std::deque<std::size_t> toWrite_;
  std::vector<bool> ended_;
};

// Starts up to `count` threads running `body` on the platforms; the ones
// the system refuses are left out.
template <typename Body>
void startThreads(std::vector<std::jthread>& threads,
                  const std::vector<HeadlessPlatform*>& platforms, std::size_t count, Body body) {
  for (std::size_t i = 0; i < std::min(count, platforms.size()); ++i) {
    try {
      threads.emplace_back([body, platform = platforms[i]] { body(*platform); });
    } catch (const std::system_error&) {
      break;
    }
  }
}

}  // namespace

void runJobs(std::size_t count, const std::vector<HeadlessPlatform*>& workers,
             const std::vector<HeadlessPlatform*>& writers, const JobCallbacks& callbacks) {
  if (count == 0 || workers.empty()) return;
  Queue queue(count, callbacks);
  // Joined before the queue goes: declared after it.
  std::vector<std::jthread> threads;
  startThreads(threads, writers, count, [&queue](HeadlessPlatform& p) { queue.write(p); });
  if (threads.empty()) queue.writeInWorkers();
  const std::size_t writerThreads = threads.size();
  startThreads(threads, workers, count, [&queue](HeadlessPlatform& p) { queue.work(p); });
  // No worker could start: the calling thread does the work, then reports.
  if (threads.size() == writerThreads) queue.work(*workers.front());
  queue.report();
}

}  // namespace plotvane
