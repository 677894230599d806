#pragma once
// Signals that end the program go through the window's usual close: SIGTERM (a
// logout), SIGINT (Ctrl+C) and SIGHUP (the terminal gone) only write their number
// to a pipe that the user-interface thread watches. SIGPIPE is ignored: a closed
// standard output (`quorlin | head -1`) only loses the diagnostics.

namespace quorlin {

// Sets this up once per process. Returns the pipe's read end (non-blocking,
// close-on-exec), or -1 with errno set when the pipe or a handler could not be set
// up; those signals then keep their default action. Each handler acts once: the
// same signal again ends the process at once, so a close that hangs can be cut short.
// A signal ignored when the program started (nohup, a background job) stays ignored.
int installTerminationSignals();

// Reads what is waiting on `fd`. Returns the last signal number read, or 0 when
// nothing was waiting.
int takeTerminationSignal(int fd);

}  // namespace quorlin
