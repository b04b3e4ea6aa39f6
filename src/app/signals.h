#pragma once

#include <functional>
#include <initializer_list>

// SIGPIPE does not end the program: a write to a connection whose far end has gone fails
// there, and only that connection ends.
void ignoreBrokenPipes();

// Signals handled in the event loop, where anything may be done about them, rather than in a
// signal handler, where almost nothing may. Call once, with the application object made.
void handleSignals(std::initializer_list<int> numbers, std::function<void(int signal)> handler);
