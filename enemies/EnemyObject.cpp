#include "enemies/EnemyObject.h"

EnemyObject::EnemyObject() : exploding(false), frame(0), kind(0), score(0) {}

void EnemyObject::SetKind(int k)
{
    kind = k;
}

void EnemyObject::SetFrame(int f)
{
    frame = f;
    const SheetRect walking = PictureRow(StripFrame(sheet::EnemyWalk, f % 2), kind);
    v = walking.v;
    u = walking.u;
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
        const SheetRect explosion = PictureRow(sheet::EnemyExplosion, kind);
        u = explosion.u;
        v = explosion.v;
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
