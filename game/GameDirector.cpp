#include "game/GameDirector.h"

void GameDirector::SetSystem(BasicSystem* basicSystem)
{
    system = basicSystem;
}

void GameDirector::Initialize()
{
}

bool GameDirector::Frame()
{
    ++clock;
    return true;
}
