#pragma once

#include <initializer_list>

// The self-pipe: a signal handler may do almost nothing, so it only writes a
// byte to a socket that the program's event loop watches, and the work the
// signal asks for runs there.
namespace tabulon {

// Sends each signal of `which` to the process's one signal socket; returns the end
// to watch, or -1 when no socket could be made (the signals then keep their
// action).
int watchSignals(std::initializer_list<int> which);

// Takes one signal's byte off the watched end, so that it quiets down.
void takeSignal(int watchedEnd);

// Gives the signals their default action back.
void restoreSignals(std::initializer_list<int> which);

} // namespace tabulon
