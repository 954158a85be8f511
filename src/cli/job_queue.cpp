#include "cli/job_queue.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace plotvane {
namespace {

void runInline(std::size_t count, HeadlessPlatform& platform, const JobCallbacks& callbacks) {
  for (std::size_t i = 0; i < count; ++i) {
    callbacks.progress(i, i);
    callbacks.work(i, platform);
    callbacks.progress(i + 1, i);
    callbacks.finished(i);
  }
}

class Queue {
 public:
  Queue(std::size_t count, const JobCallbacks& callbacks)
      : count_(count), callbacks_(callbacks), ended_(count, false) {}

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
      {
        const std::lock_guard lock(mutex_);
        ended_[item] = true;
        ++endedCount_;
        changed_ = true;
      }
      changedSignal_.notify_one();
    }
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
  const std::size_t count_;
  const JobCallbacks& callbacks_;
  std::mutex mutex_;
  std::condition_variable changedSignal_;
  bool changed_ = false;
  std::size_t next_ = 0, endedCount_ = 0, latestStarted_ = 0;
  std::vector<bool> ended_;
};

}  // namespace

void runJobs(std::size_t count, const std::vector<HeadlessPlatform*>& platforms,
             const JobCallbacks& callbacks) {
  if (count == 0 || platforms.empty()) return;
  const std::size_t threads = std::min(count, platforms.size());
  if (threads == 1) return runInline(count, *platforms.front(), callbacks);

  Queue queue(count, callbacks);
  std::vector<std::jthread> workers;
  for (std::size_t i = 0; i < threads; ++i) {
    try {
      workers.emplace_back([&queue, platform = platforms[i]] { queue.work(*platform); });
    } catch (const std::system_error&) {
      break;  // the threads started take the items on their own
    }
  }
  if (workers.empty()) return runInline(count, *platforms.front(), callbacks);
  queue.report();
}

}  // namespace plotvane
