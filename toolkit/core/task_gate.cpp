#include "toolkit/core/task_gate.h"

namespace qiva {

std::uint8_t taskGate = 1;

} // namespace qiva
