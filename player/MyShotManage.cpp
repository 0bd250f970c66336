#include "player/MyShotManage.h"

#include "bullets/Angle.h"
#include "player/MyShipManage.h"

MyShotManage::MyShotManage() : inFlight(false), holdFrames(0) {}

bool MyShotManage::Fire(const MyShipManage& ship)
{
    if (inFlight)
    {
        return false;
    }
    ShowPicture(sheet::PlayerShot, true);
    SetHitRadius(4.0f);
    SetGrazeRadius(4.0f);
    grazeEnabled = false; // the shot never grazes
    hitEnabled = true;
    x = ship.x;
    y = ship.y - 4.0f;
    SetFlight(AngleUp, 1.0f, 0.2f, 20.0f, 600);
    prev = nullptr; // never in the enemy bullet list
    next = nullptr;
    inFlight = true;
    return true;
}

bool MyShotManage::Move()
{
    if (holdFrames == 0)
    {
        const bool alive = BulletBase::Move();
        inFlight = alive;
        if (!alive)
        {
            LeavePlay();
        }
        return alive;
    }
    // Held after a hit: the shot stands still, invisible, until the hold ends.
    holdFrames -= 1;
    if (holdFrames <= 0)
    {
        holdFrames = 0; // a hold given as a negative count ends here too
        inFlight = false;
        LeavePlay();
        return false;
    }
    return true;
}

void MyShotManage::OnHit(int32_t frames)
{
    holdFrames = frames;
    visible = false;
}
