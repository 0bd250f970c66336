// GameDirector: the game's top object. Placeholder: the data model and the
// calls the session makes; scenes and play come later.
#pragma once

#include <cstdint>

class BasicSystem;
class PanelManage;
class MyShipManage;
class MyShotManage;
class ConvoyManage;
class BulletManage;
class BonusShipManage;
class BackGroundManage;
class TitleManage;

class GameDirector
{
public:
    virtual ~GameDirector() = default;

    void SetSystem(BasicSystem* basicSystem);
    void Initialize();
    // One update; always true.
    bool Frame();

    int32_t score = 0;
    int32_t hiScore = 0;
    int32_t stage = 0;
    int32_t scene = 0;
    int32_t grazeCount = 0;
    int32_t gameOverTimer = 0;
    BasicSystem* system = nullptr;
    PanelManage* panel = nullptr;
    MyShipManage* ship = nullptr;
    MyShotManage* shot = nullptr;
    ConvoyManage* convoy = nullptr;
    BulletManage* bullets = nullptr;
    BonusShipManage* bonusShip = nullptr;
    BackGroundManage* background = nullptr;
    TitleManage* title = nullptr;
    int32_t marchStep = 0;
    int32_t clock = 0; // Frame calls since construction
    int32_t bonusShipTimer = 0;
};
