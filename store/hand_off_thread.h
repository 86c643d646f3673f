// A second thread that runs one job at a time for a producer that prepares the next piece of
// work meanwhile: write the last buffer while the next is encoded, store the last rows while the
// next are decoded. A job's failure is handed back to the producer at its next wait.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace wf {

class HandOffThread {
 public:
  HandOffThread();
  // Waits for the job in flight; a failure nobody claimed with waitIdle() is dropped, because
  // the producer has given up and its own error is the one to report.
  ~HandOffThread();

  HandOffThread(const HandOffThread&) = delete;
  HandOffThread& operator=(const HandOffThread&) = delete;

  // Waits until no job runs; throws what the last one threw, once. Call it before touching
  // anything the last job used.
  void waitIdle();
  // Starts a job; the caller has waited for the one before.
  void start(std::function<void()> job);

 private:
  void loop();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> job_;
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

}  // namespace wf
