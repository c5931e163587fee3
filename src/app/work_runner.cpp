#include "app/work_runner.h"

#include <exception>
#include <new>

#include "app/error_record.h"

namespace twinex {

WorkRunner::WorkRunner(std::function<void(const WorkError&)> onError)
    : onError_(std::move(onError)), thread_([this] { Loop(); }) {}

WorkRunner::~WorkRunner() {
  {
    std::lock_guard guard(lock_);
    closing_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

std::future<bool> WorkRunner::Post(std::string job, std::function<void()> work) {
  Job item{std::move(job), std::move(work), {}};
  std::future<bool> done = item.done.get_future();
  if (OnWorkerThread()) {
    // A job that starts another one runs it in place: queueing it would deadlock a caller that waits.
    item.done.set_value(Execute(item));
    return done;
  }
  {
    std::lock_guard guard(lock_);
    queue_.push_back(std::move(item));
  }
  wake_.notify_one();
  return done;
}

void WorkRunner::Loop() {
  for (;;) {
    Job job;
    {
      std::unique_lock guard(lock_);
      wake_.wait(guard, [this] { return closing_ || !queue_.empty(); });
      if (queue_.empty()) return;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    job.done.set_value(Execute(job));
  }
}

bool WorkRunner::Execute(Job& job) {
  std::string error;
  try {
    job.work();
    return true;
  } catch (const std::bad_alloc&) {
    error = "out of memory";
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "unknown error";
  }
  LogErrorRecord(job.name, error);
  if (onError_) onError_(WorkError{job.name, error});
  return false;
}

}  // namespace twinex
