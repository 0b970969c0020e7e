#pragma once
// The task gate: cleared while the event queue or the time-task list changes, so that timer work
// waits until the change is complete.

#include <cstdint>

namespace qiva {

// 1 open, 0 closed; timer work waits while it is 0.
extern std::uint8_t taskGate;

// Saves the gate, clears it, and restores the saved value when the scope ends.
class TaskGateClosed {
public:
    TaskGateClosed() : saved_(taskGate) { taskGate = 0; }
    ~TaskGateClosed() { taskGate = saved_; }
    TaskGateClosed(const TaskGateClosed&) = delete;
    TaskGateClosed& operator=(const TaskGateClosed&) = delete;

private:
    std::uint8_t saved_;
};

} // namespace qiva
