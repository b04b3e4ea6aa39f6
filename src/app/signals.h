#pragma once

#include <functional>
#include <initializer_list>

// Signals handled in the event loop, where anything may be done about them, rather than in a
// signal handler, where almost nothing may. Call once, with the application object made.
void handleSignals(std::initializer_list<int> numbers, std::function<void(int signal)> handler);
