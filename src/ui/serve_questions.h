#pragma once
// Session calls that may ask a question run their job on the session's worker, and the worker
// waits for the window thread to show the question. Called straight from the window thread, the
// two would wait on each other; these calls run on a thread of their own while the window
// thread serves the questions.
#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <future>
#include <utility>

namespace twinex::ui {

// Waits for the call, serving everything but the user's input (a question's own dialog takes
// input in its own loop), or the events named. `eachTick` runs between rounds, for a progress
// display.
template <class Call>
auto RunServingQuestions(Call&& call, const std::function<void()>& eachTick = {},
                         QEventLoop::ProcessEventsFlags events = QEventLoop::ExcludeUserInputEvents) -> decltype(call()) {
  auto done = std::async(std::launch::async, std::forward<Call>(call));
  while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    if (eachTick) eachTick();
    QCoreApplication::processEvents(events, 10);
  }
  return done.get();
}

}  // namespace twinex::ui
