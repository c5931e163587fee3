#pragma once
// Session calls that may ask a question run their job on the session's worker, and the worker
// waits for the window thread to show the question. Called straight from the window thread, the
// two would wait on each other; these calls run on a thread of their own while the window
// thread serves the questions.
#include <QCoreApplication>
#include <chrono>
#include <future>
#include <utility>

namespace twinex::ui {

// Waits for the call, serving everything but the user's input (a question's own dialog takes
// input in its own loop).
template <class Call>
auto RunServingQuestions(Call&& call) -> decltype(call()) {
  auto done = std::async(std::launch::async, std::forward<Call>(call));
  while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
  return done.get();
}

}  // namespace twinex::ui
