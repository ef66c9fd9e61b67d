// An event a control raises to its holder. The holder binds one handler, named
// control_Event by convention; by-reference arguments are real references.
#pragma once

#include <functional>
#include <utility>

namespace forms {

template <typename... Args>
class Event {
 public:
  template <typename Holder>
  void Bind(Holder* holder, void (Holder::*handler)(Args...)) {
    handler_ = [holder, handler](Args... args) { (holder->*handler)(std::forward<Args>(args)...); };
  }
  void Bind(std::function<void(Args...)> handler) { handler_ = std::move(handler); }
  void Unbind() { handler_ = nullptr; }
  bool bound() const { return static_cast<bool>(handler_); }

  // Raising an event nobody bound does nothing.
  void operator()(Args... args) const {
    if (handler_) handler_(std::forward<Args>(args)...);
  }

 private:
  std::function<void(Args...)> handler_;
};

}  // namespace forms
