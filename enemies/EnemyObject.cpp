#include "enemies/EnemyObject.h"

namespace
{
constexpr int32_t RowHeight = 24; // pixels per picture row in the sheet
constexpr int32_t WalkU = 16;     // first walking picture; the second is 16 further
constexpr int32_t ExplosionU = 48;
} // namespace

EnemyObject::EnemyObject() : exploding(false), frame(0), kind(0), score(0) {}

void EnemyObject::SetKind(int k)
{
    kind = k;
}

void EnemyObject::SetFrame(int f)
{
    frame = f;
    v = kind * RowHeight;
    u = WalkU + 16 * (f % 2);
}

void EnemyObject::Explode()
{
    hitEnabled = false;
    exploding = true;
}

void EnemyObject::UpdateExplosion()
{
    if (exploding)
    {
        u = ExplosionU;
        v = kind * RowHeight;
    }
}

void EnemyObject::SetScore(int n)
{
    score = n;
}

int EnemyObject::GetScore() const
{
    return score;
}
