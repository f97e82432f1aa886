#pragma once

// Private message a second copy sends to every top-level window; the
// launcher answers it with the same number.
constexpr unsigned kShowLauncherMessage = 2291;

// True when another copy already runs (it has been asked to show itself).
bool EnsureSingleInstance();
// Ends this copy's claim: the next copy starts as the first.
void CloseSingleInstanceMutex();
