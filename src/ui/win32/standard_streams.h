#pragma once
// A program built for the window subsystem starts without a console. Its diagnostic
// lines still reach standard output and standard error when they lead somewhere: a
// redirection the starter made, or the console of the program that started it.

namespace quorlin::win32 {

// Call first thing, before anything is written. True when standard output leads
// somewhere.
bool connectStandardStreams();

}  // namespace quorlin::win32
