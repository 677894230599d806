#pragma once
// A program built for the window subsystem starts without a console. Its diagnostic
// lines still reach standard output and standard error when they lead somewhere: a
// redirection the starter made, or the console of the program that started it.

namespace quorlin::win32 {

struct ConnectedStreams {
    bool output = false;
    bool error = false;
};

// Call first thing, before anything is written. Says which of standard output and
// standard error lead somewhere.
ConnectedStreams connectStandardStreams();

}  // namespace quorlin::win32
