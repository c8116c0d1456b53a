// When a timer tick may run.
//
// The host's handlers (form load and unload, timer ticks, clicks) must never
// run inside one another, and a timer's tick must never run inside its own
// handler. Ticks arrive as WM_TIMER from whatever message loop is pumping:
// the main loop, a modal show's nested loop, or a loop the system runs inside
// a handler (a message box, the file dialog, a caption animation). So every
// handler runs between Enter() and Leave(), and a tick is only let through
// when no handler runs inside the current message loop level.
//
// A modal show opens a new level: the handler that called it is suspended,
// and the modal form's own handlers and ticks run at the new level. Timers of
// the forms below keep ticking only when the modal show was started outside
// any handler (from the program's start-up code); when it was started from a
// handler, they wait for the modal show to end, so they never run inside that
// suspended handler.
//
// A tick that may not run is kept pending by its timer and runs once when the
// gate is at rest again; this class only decides, it holds no timers.
#pragma once

#include <vector>

namespace forms {

class HandlerGate {
  public:
    void Enter() { ++depth_; }
    void Leave() {
        if (depth_ > 0) {
            --depth_;
        }
    }

    // A modal show starts its nested loop; returns the new level (1 for the
    // first modal show). Forms shown or loaded in it belong to that level.
    int BeginModal() {
        bases_.push_back(depth_);
        return Level();
    }
    // The modal show's loop has ended.
    void EndModal() {
        if (!bases_.empty()) {
            depth_ = bases_.back();
            bases_.pop_back();
        }
    }

    int Level() const { return static_cast<int>(bases_.size()); }
    int Depth() const { return depth_; }

    // True when no handler runs inside the current loop level.
    bool AtRest() const { return depth_ == Base(); }

    // May a tick of a timer on a form of `formLevel` run now? `timerRunning`
    // says whether that timer's own handler is on the stack.
    bool MayTick(int formLevel, bool timerRunning) const {
        if (timerRunning || !AtRest()) {
            return false;
        }
        return Base() == 0 || formLevel >= Level();
    }

  private:
    int Base() const { return bases_.empty() ? 0 : bases_.back(); }

    int depth_ = 0;
    std::vector<int> bases_;
};

} // namespace forms
