// The desktop's program without its entry, for ports that take steps of
// their own before it (platform/windows/).
#pragma once

#include "platform/FrameLoop.h"

// Start-up, the paced frame loop on SDL's clock, shut-down; the exit status
// as RunProgram's.
int RunPacedProgram(const GameSessionHooks& game);
