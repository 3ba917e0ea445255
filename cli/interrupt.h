#pragma once
// Ctrl+C, a closed terminal or a polite kill asks the command at work to stop
// where the engine can stop it, as the window's Cancel does, instead of
// killing the program mid-file.

namespace logweave::cli {

// From here on, SIGINT, SIGTERM and SIGHUP only record themselves for
// interruptRequested() to read.
void catchInterrupts();

// Whether one of them came; may be asked from any thread.
bool interruptRequested();

// The exit status a shell gives a program that signal ended (130 for Ctrl+C),
// so a script stops the same way; 0 when none came.
int interruptedStatus();

}  // namespace logweave::cli
