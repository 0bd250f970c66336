#include "bullets/BulletBase.h"

#include "bullets/Angle.h"

#include <cmath>

namespace
{

// trunc(value) remainder 65536, the sign of value kept. Taken through fmod so
// that a value beyond the range of int (or not a number) cannot make the
// conversion undefined; for every ordinary value it equals the integer
// remainder of the truncated value.
int TruncatedTurnRemainder(float value)
{
    if (!std::isfinite(value))
    {
        return 0;
    }
    const float reduced = std::fmod(value, static_cast<float>(AngleUnitsPerTurn));
    return static_cast<int>(reduced);
}

} // namespace

BulletBase::BulletBase()
    : direction(0.0f), directionOffset(0.0f), speed(1.0f), acceleration(0.0f), spin(0.0f),
      maxSpeed(0.0f), life(0), prev(nullptr), next(nullptr)
{
}

BulletBase::~BulletBase() = default;

int BulletBase::Heading() const
{
    const float sum = direction + directionOffset;
    int heading = TruncatedTurnRemainder(sum);
    if (heading < 0)
    {
        heading += AngleUnitsPerTurn;
    }
    return heading;
}

void BulletBase::SetFlight(float heading, float startSpeed, float accel, float topSpeed,
                           int32_t lifeFrames)
{
    direction = heading;
    directionOffset = 0.0f;
    spin = 0.0f;
    speed = startSpeed;
    acceleration = accel;
    maxSpeed = topSpeed;
    life = lifeFrames;
}

bool BulletBase::Move()
{
    // Spin: the sprite angle stays within one turn either side of zero. It
    // touches nothing else, so it may come before the rest of the frame.
    const float turned = angle + spin;
    angle = static_cast<float>(TruncatedTurnRemainder(turned));
    return MoveAlong(Heading());
}

bool BulletBase::MoveAlong(int heading)
{
    // Speed: acceleration applies only below maxSpeed, and never drives the
    // speed below zero. No clamp at maxSpeed.
    if (speed < maxSpeed)
    {
        speed = speed + acceleration;
        if (speed < 0.0f)
        {
            speed = 0.0f;
        }
    }

    const float stepX = CosAngle(heading) * speed;
    const float stepY = SinAngle(heading) * speed;
    x = x + stepX;
    y = y + stepY;

    // Bounds: the box around the centre must overlap the field (strict).
    const float halfWidth = static_cast<float>(width) * 0.5f;
    const float halfHeight = static_cast<float>(height) * 0.5f;
    const bool inside = x + halfWidth > 0.0f && x - halfWidth < static_cast<float>(FieldWidth) &&
                        y + halfHeight > 0.0f && y - halfHeight < static_cast<float>(FieldHeight);

    if (life > 0)
    {
        life = life - 1;
        return inside;
    }
    life = 0;
    return false;
}
