#pragma once
// One running copy per user: a lock file held with flock and a Unix-domain socket beside it, both in
// the runtime directory and owner-only. A second start sends the first a wake-up word and ends.

#include <cstdint>
#include <string>

namespace platform {

enum class InstanceClaim {
    First,   // this process holds the lock and listens for wake-ups
    Second,  // another process holds it; the wake-up word was sent (or could not be, see below)
    Unknown, // no runtime directory or lock: run without the check
};

// `name` names the lock and the socket ("Tolka" -> qiva-Tolka.lock / .sock). For Second, `delivered`
// says whether the first instance received the word.
InstanceClaim ClaimSingleInstance(const std::string& name, std::int32_t wakeMessage,
                                  bool* delivered = nullptr);

// First instance: takes one pending wake-up word without waiting. Called by the backends' pump.
bool PollWakeUp(std::int32_t& message);

// Closes the socket and releases the lock (at exit, or for tests).
void ReleaseSingleInstance();

} // namespace platform
