#pragma once
// Time: Delay, the time tasks and the millisecond counter. Ticks come from TickCount
// (toolkit/core/tick_count.h). Time tasks are serviced on the application thread, at each pump step
// and while Delay waits, under the task gate flag; periods that pass meanwhile are caught up at once.

#include <cstdint>

#include "toolkit/core/mac_types.h"

struct TMTask;
using TimerProcPtr = void (*)();

// The extended time-task record, in its classic field order.
struct TMTask {
    TMTask* qLink;
    std::int16_t qType;
    TimerProcPtr tmAddr;
    std::int32_t tmCount;    // milliseconds left; 0 = not armed
    std::int32_t tmWakeUp;   // the count when armed
    std::int32_t tmReserved; // late: 0 or the negative overshoot of the last expiry
};

// Waits until TickCount reaches start + ticks (ticks taken as signed 16-bit) and stores TickCount in
// finalTicks. Nothing is pumped meanwhile.
void Delay(std::int32_t numTicks, std::uint32_t* finalTicks);
void InsTime(TMTask* task);
void PrimeTime(TMTask* task, std::int32_t count);
void RmvTime(TMTask* task);

namespace qiva {

void ShortDelay(std::int32_t ticks); // Delay without the final tick value

void StartTimer1000(); // starts the millisecond counter
void StopTimer1000();
std::int32_t ReadTimer1000();
void SetTimer1000(std::int32_t value);
TMTask* CurrentTimeTask();

// The timer's period in milliseconds (10 by default); tests set the message timer's 55.
void SetTimerPeriod(int milliseconds);
bool TimerRunning();
// Counts the periods passed since the last call and services the tasks (the pump step calls it).
void ServiceTimer();
void ResetTimeManager(); // tests

} // namespace qiva
