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
  // Does item i on a worker thread with that thread's platform; must not
  // throw.
  std::function<void(std::size_t item, HeadlessPlatform& platform)> work;
  // On the calling thread, whenever an item started or ended: how many have
  // ended and the item started last.
  std::function<void(std::size_t ended, std::size_t latestStarted)> progress;
  // On the calling thread, for every item in order, once it and all before
  // it have ended.
  std::function<void(std::size_t item)> finished;
};

// Runs items 0 ... count - 1, one thread per platform (at most count of
// them). When no thread can be started the calling thread does them all on
// the first platform. Returns when every item is finished.
void runJobs(std::size_t count, const std::vector<HeadlessPlatform*>& platforms,
             const JobCallbacks& callbacks);

}  // namespace plotvane
