// Many pictures on several threads, reported in the order given: each
// thread has its own platform (and makes its own Form1 per picture), so the
// core's single-threaded handlers never share anything mutable.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "platform/headless_platform.h"

namespace plotvane {

struct JobCallbacks {
  // Works out item i on a worker thread with that thread's platform; must
  // not throw.
  std::function<void(std::size_t item, HeadlessPlatform& platform)> work;
  // Then stores it on a writer thread with that thread's platform, while
  // the worker goes on with the next item: the writer waits for the disk
  // instead of the worker. Must not throw.
  std::function<void(std::size_t item, HeadlessPlatform& platform)> write;
  // On the calling thread, whenever an item started or ended: how many have
  // ended (been written) and the item started last.
  std::function<void(std::size_t ended, std::size_t latestStarted)> progress;
  // On the calling thread, for every item in order, once it and all before
  // it have ended.
  std::function<void(std::size_t item)> finished;
};

// Runs items 0 ... count - 1 on one worker thread per platform of `workers`
// (at most count of them) and as many writer threads on `writers`. When no
// thread can be started the calling thread does everything on the first
// platform of each.
void runJobs(std::size_t count, const std::vector<HeadlessPlatform*>& workers,
             const std::vector<HeadlessPlatform*>& writers, const JobCallbacks& callbacks);

}  // namespace plotvane
