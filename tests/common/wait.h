#pragma once
#include <chrono>
#include <functional>

namespace testkit {

// How long a step may take before it counts as never happening. Generous: on a
// shared machine under load a step that takes 0.1 s when quiet was seen taking 10 s.
inline constexpr std::chrono::milliseconds kStepDeadline = std::chrono::seconds(30);

// Polls until the condition holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline = kStepDeadline);

}  // namespace testkit
