#pragma once
// The one worker thread of a session: searches, selections over large results, file actions and
// exports run there in the order they were posted, so the front end's thread stays free for its
// controls. An exception thrown by a job does not end the program: it becomes an error record
// in "error.txt" and a WorkError handed to the front end.
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>

namespace twinex {

struct WorkError {
  std::string job;      // what was running ("search", "file action" …)
  std::string message;  // the exception's text
};

class WorkRunner {
 public:
  // onError is called on the worker thread for each job that threw.
  explicit WorkRunner(std::function<void(const WorkError&)> onError = {});
  ~WorkRunner();  // finishes the jobs posted so far, then ends the thread
  WorkRunner(const WorkRunner&) = delete;
  WorkRunner& operator=(const WorkRunner&) = delete;

  // Queues the job. The future holds true when it ran to its end, false when it threw.
  std::future<bool> Post(std::string job, std::function<void()> work);
  // Runs the job on the worker and waits for it.
  bool Run(std::string job, std::function<void()> work) { return Post(std::move(job), std::move(work)).get(); }
  // True on the worker's own thread (a job that posts and waits would wait for ever).
  bool OnWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  struct Job {
    std::string name;
    std::function<void()> work;
    std::promise<bool> done;
  };
  void Loop();
  bool Execute(Job& job);

  std::function<void(const WorkError&)> onError_;
  std::mutex lock_;
  std::condition_variable wake_;
  std::deque<Job> queue_;
  bool closing_ = false;
  std::thread thread_;
};

}  // namespace twinex
