// The life of one hook on one window, apart from the window system: how many
// messages are inside the hook procedure (window procedures are re-entered), and
// whether the hook has been shut down (by its owner, or because the window is
// being destroyed). A shut-down hook passes every message straight through and is
// taken out of the window, and its memory released, only once no message is
// inside it any more.
#pragma once

namespace hooks {

class HookState {
 public:
  // A message enters the hook procedure.
  void Enter() { ++inProgress_; }

  // A message leaves the hook procedure; `windowDestroyed` for the window's last
  // message (WM_NCDESTROY), which shuts the hook down. True when the hook is now
  // to be released.
  bool Leave(bool windowDestroyed) {
    --inProgress_;
    if (windowDestroyed) {
      destroyed_ = true;
      shutDown_ = true;
    }
    return shutDown_ && inProgress_ == 0;
  }

  // The owner stops the hook. True when it can be released at once: the first
  // shutdown, with no message inside the hook procedure. Otherwise the last
  // message to leave releases it.
  bool ShutDown() {
    const bool first = !shutDown_;
    shutDown_ = true;
    return first && inProgress_ == 0;
  }

  bool shutDown() const { return shutDown_; }
  // The window has had its last message: there is no window to restore.
  bool windowDestroyed() const { return destroyed_; }
  int inProgress() const { return inProgress_; }

 private:
  int inProgress_ = 0;
  bool shutDown_ = false;
  bool destroyed_ = false;
};

}  // namespace hooks
