#pragma once
// Ctrl+C asks the command at work to stop where the engine can stop it, as
// the window's Cancel does, instead of killing the program mid-file.

namespace logweave::cli {

// From here on, Ctrl+C (SIGINT) only raises the flag that interruptRequested() reads.
void catchInterrupts();

// Whether Ctrl+C was pressed; may be asked from any thread.
bool interruptRequested();

}  // namespace logweave::cli
