#include "objects/ShootingObject.h"

#include <cmath>

// Two comparisons reject most pairs before any multiplication.
bool ShootingObject::CirclesMeet(float ax, float ay, float bx, float by, float r)
{
    const float dx = std::fabs(ax - bx);
    const float dy = std::fabs(ay - by);
    if (dx > r)
    {
        return false;
    }
    if (dy > r)
    {
        return false;
    }
    const float dx2 = dx * dx;
    const float dy2 = dy * dy;
    const float sum = dx2 + dy2;
    const float r2 = r * r;
    return sum <= r2;
}

ShootingObject::ShootingObject()
    : motionType(0), grazeEnabled(false), hitEnabled(false), hitRadius(0.0f), grazeRadius(0.0f)
{
}

ShootingObject::~ShootingObject() = default;

void ShootingObject::SetHitRadius(float r)
{
    hitRadius = r;
}

void ShootingObject::SetGrazeRadius(float r)
{
    grazeRadius = r;
}

void ShootingObject::LeavePlay()
{
    hitEnabled = false;
    active = false;
    visible = false;
}

bool ShootingObject::HitTest(const ShootingObject& other) const
{
    if (!hitEnabled || !other.hitEnabled)
    {
        return false;
    }
    return CirclesMeet(x, y, other.x, other.y, hitRadius + other.hitRadius);
}

bool ShootingObject::GrazeTest(const ShootingObject& other) const
{
    if (!grazeEnabled || !other.grazeEnabled)
    {
        return false;
    }
    return CirclesMeet(x, y, other.x, other.y, grazeRadius + other.grazeRadius);
}
