#pragma once
// Whether a stream is shown to a person, who is then shown progress; a
// script that reads it, or a file, gets only what it always got.

#include <cstdio>

namespace logweave::cli {

bool isTerminal(std::FILE* stream);

}  // namespace logweave::cli
