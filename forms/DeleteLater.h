// Destroys an object from a message loop once no event handler of the program
// is running (forms::HandlerScope): a form that unloads from inside an event of
// one of its own controls hands the control over here instead of deleting it
// under the control's feet, even when a nested loop (a box, a modal form, a
// download) dispatches meanwhile.
#pragma once

#include <functional>
#include <memory>

namespace forms {

void RunLater(std::function<void()> action);

// Runs an action from the program's message loop once no message waits: after
// what is queued now, the painting of what was just shown included. Where the
// loop never runs (a program that ends first), the action never runs.
void RunWhenIdle(std::function<void()> action);

template <typename T>
void DeleteLater(std::unique_ptr<T> object) {
  if (!object) return;
  T* raw = object.release();
  RunLater([raw] { delete raw; });
}

}  // namespace forms
