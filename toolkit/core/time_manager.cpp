#include "toolkit/core/time_manager.h"

#include <algorithm>

#include "platform/platform.h"
#include "toolkit/core/task_gate.h"
#include "toolkit/core/tick_count.h"

namespace qiva {
namespace {

TMTask* head = nullptr;
TMTask* tail = nullptr;
bool running = false;
int period = 10;
std::uint64_t lastPeriodEnd = 0; // platform microseconds
std::uint16_t unprocessed = 0;
bool busy = false;
TMTask* currentTask = nullptr;
bool counterOn = false;
std::int32_t counter = 0;

bool Listed(TMTask* task) {
    for (TMTask* t = head; t; t = t->qLink)
        if (t == task) return true;
    return false;
}

void StartTimer() {
    if (running) return;
    running = true;
    lastPeriodEnd = platform::Current().Microseconds();
    unprocessed = 0;
}

void StopTimer() {
    running = false;
}

// The timer callback's work for the periods counted so far.
void RunTasks() {
    if (busy || !taskGate) return;
    busy = true;
    const std::int32_t n = unprocessed;
    for (TMTask *task = head, *next = nullptr; task; task = next) {
        next = task->qLink; // the procedure may remove its own task
        if (task->tmCount == 0) continue;
        std::int32_t remaining = task->tmCount - n * period + task->tmReserved;
        task->tmReserved = 0;
        if (remaining >= 1) {
            task->tmCount = remaining;
            continue;
        }
        task->tmReserved = remaining;
        task->tmCount = 0;
        for (;;) {
            currentTask = task;
            if (task->tmAddr) task->tmAddr();
            currentTask = nullptr;
            // Re-armed by its procedure with less than the overshoot: it runs again at once.
            if (task->tmCount == 0 || -task->tmReserved <= task->tmCount) break;
            task->tmReserved += task->tmCount;
            task->tmCount = 0;
        }
    }
    unprocessed = static_cast<std::uint16_t>(unprocessed - n);
    busy = false;
}

} // namespace

void ShortDelay(std::int32_t ticks) {
    Delay(ticks, nullptr);
}

void StartTimer1000() {
    StartTimer();
    counterOn = true;
}

void StopTimer1000() {
    counterOn = false;
    if (!head) StopTimer();
}

std::int32_t ReadTimer1000() {
    return counter;
}
void SetTimer1000(std::int32_t value) {
    counter = value;
}
TMTask* CurrentTimeTask() {
    return currentTask;
}
void SetTimerPeriod(int milliseconds) {
    period = milliseconds > 0 ? milliseconds : 1;
}
bool TimerRunning() {
    return running;
}

void ServiceTimer() {
    if (!running) return;
    const std::uint64_t now = platform::Current().Microseconds();
    const std::uint64_t step = static_cast<std::uint64_t>(period) * 1000;
    const std::uint64_t periods = (now - lastPeriodEnd) / step;
    if (periods == 0) return;
    lastPeriodEnd += periods * step;
    if (counterOn) counter += static_cast<std::int32_t>(periods * static_cast<std::uint64_t>(period));
    unprocessed = static_cast<std::uint16_t>(std::min<std::uint64_t>(unprocessed + periods, 0xFFFF));
    RunTasks();
}

void ResetTimeManager() {
    head = tail = nullptr;
    running = false;
    period = 10;
    unprocessed = 0;
    busy = false;
    currentTask = nullptr;
    counterOn = false;
    counter = 0;
}

} // namespace qiva

using namespace qiva;

void Delay(std::int32_t numTicks, std::uint32_t* finalTicks) {
    // The backend first: the clock TickCount reads is the backend's once one exists.
    platform::Backend& backend = platform::Current();
    const auto ticks = static_cast<std::int16_t>(numTicks);
    const std::uint32_t target = TickCount() + static_cast<std::uint32_t>(static_cast<std::int32_t>(ticks));
    // Compared by signed difference, so the wait ends even across the 32-bit wrap.
    for (;;) {
        const auto left = static_cast<std::int32_t>(target - TickCount());
        if (left <= 0) break;
        // Sleep instead of spinning: a tick is 16.7 ms; wake at least every 5 ms for the time tasks.
        const std::uint64_t us =
            std::min<std::uint64_t>(static_cast<std::uint64_t>(left) * 1000000u / 60u, 5000);
        backend.Sleep(us > 0 ? us : 1000);
        ServiceTimer();
    }
    if (finalTicks) *finalTicks = TickCount();
}

void InsTime(TMTask* task) {
    if (!task) return;
    TaskGateClosed gate;
    StartTimer();
    task->qType = 0;
    task->tmCount = 0;
    task->tmWakeUp = 0;
    task->tmReserved = 0;
    if (Listed(task)) return;
    task->qLink = nullptr;
    if (tail)
        tail->qLink = task;
    else
        head = task;
    tail = task;
}

void PrimeTime(TMTask* task, std::int32_t count) {
    if (!task) return;
    if (!Listed(task)) InsTime(task);
    TaskGateClosed gate;
    task->tmCount = count;
    task->tmWakeUp = count;
}

void RmvTime(TMTask* task) {
    TaskGateClosed gate;
    TMTask* previous = nullptr;
    for (TMTask* t = head; t; previous = t, t = t->qLink) {
        if (t != task) continue;
        if (previous)
            previous->qLink = t->qLink;
        else
            head = t->qLink;
        if (tail == t) tail = previous;
        t->qLink = nullptr;
        break;
    }
    if (!head && !counterOn) StopTimer();
}
