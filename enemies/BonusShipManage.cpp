#include "enemies/BonusShipManage.h"

#include "bullets/Angle.h"
#include "player/MyShotManage.h"

namespace
{
constexpr int32_t FlapFrames = 4; // frames per picture
constexpr float FlightY = 40.0f;  // field units
constexpr float LeftStartX = 1.0f;
constexpr float RightStartX = 446.0f;
// Just under half a turn: the motion step truncates it to 32767, which the
// angle tables read as 179 degrees, so a ship from the right sinks slowly.
constexpr float RightHeading = 32767.5f;
} // namespace

BonusShipManage::BonusShipManage() : flying(false), flapCount(0), variant(0), score(0) {}

void BonusShipManage::Reset(int pictureRow)
{
    variant = pictureRow;
    flying = false;
    LeavePlay();
}

bool BonusShipManage::Launch()
{
    if (flying)
    {
        return false;
    }
    const int side = RandomRange(0, 1); // 1: from the left, 0: from the right

    ShowPicture(PictureRow(sheet::BonusShip, variant), true);
    SetHitRadius(16.0f);
    SetGrazeRadius(16.0f);
    grazeEnabled = false;
    hitEnabled = true;
    x = side == 1 ? LeftStartX : RightStartX;
    y = FlightY;
    SetFlight(side == 1 ? static_cast<float>(AngleRight) : RightHeading, 2.0f, 0.0f, 5.0f, 3600);
    flapCount = 0;
    flying = true;
    return true;
}

bool BonusShipManage::IsFlying() const
{
    return flying;
}

void BonusShipManage::SetScore(int n)
{
    score = n;
}

int BonusShipManage::GetScore() const
{
    return score;
}

bool BonusShipManage::Move()
{
    const bool alive = BulletBase::Move();
    flying = alive;
    if (!alive)
    {
        LeavePlay();
        return false;
    }
    flapCount += 1;
    u = StripFrame(sheet::BonusShip, (flapCount / FlapFrames) % 2).u;
    return true;
}

bool BonusShipManage::HitByShot(MyShotManage& shot)
{
    const bool struck = HitTest(shot);
    if (struck)
    {
        flying = false;
        LeavePlay();
        shot.LeavePlay();
    }
    return struck;
}
