// The program's entry on the desktop: the paced program as it is.
#include "platform/desktop/DesktopLoop.h"

int RunProgram(const GameSessionHooks& game)
{
    return RunPacedProgram(game);
}
