#include "StateHash.h"

#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "game/GameDirector.h"
#include "objects/SpriteItem.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "presentation/BackGroundManage.h"
#include "presentation/TitleManage.h"

#include <cstring>

namespace sim
{
namespace
{

void HashSprite(Fnv1a& h, const SpriteItem& s)
{
    h.F32(s.x);
    h.F32(s.y);
    h.I32(s.width);
    h.I32(s.height);
    h.F32(s.alpha);
    h.F32(s.scale);
    h.I32(s.u);
    h.I32(s.v);
    h.F32(s.angle);
    h.Bool(s.centered);
    h.Bool(s.active);
    h.Bool(s.visible);
    h.I32(s.texture);
}

void HashShooting(Fnv1a& h, const ShootingObject& s)
{
    HashSprite(h, s);
    h.I32(s.motionType);
    h.Bool(s.grazeEnabled);
    h.Bool(s.hitEnabled);
    h.F32(s.hitRadius);
    h.F32(s.grazeRadius);
}

void HashBullet(Fnv1a& h, const BulletBase& b)
{
    HashShooting(h, b);
    h.F32(b.direction);
    h.F32(b.directionOffset);
    h.F32(b.speed);
    h.F32(b.acceleration);
    h.F32(b.spin);
    h.F32(b.maxSpeed);
    h.I32(b.life);
}

} // namespace

void Fnv1a::U32(uint32_t v)
{
    for (int i = 0; i < 4; ++i)
    {
        Byte(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void Fnv1a::F32(float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
}

uint64_t HashGameState(const GameDirector& d)
{
    Fnv1a h;
    h.I32(d.score);
    h.I32(d.hiScore);
    h.I32(d.stage);
    h.I32(d.scene);
    h.I32(d.grazeCount);
    h.I32(d.gameOverTimer);
    h.I32(d.marchStep);
    h.I32(d.clock);
    h.I32(d.bonusShipTimer);

    if (d.title != nullptr)
    {
        h.I32(d.title->state);
        h.I32(d.title->timer);
        h.Bool(d.title->confirmPressed);
        for (const SpriteItem* sprite : d.title->sprites)
        {
            if (sprite != nullptr)
            {
                HashSprite(h, *sprite);
            }
        }
    }
    if (d.background != nullptr)
    {
        h.F32(d.background->targetAlpha);
        for (const SpriteItem* layer : d.background->layers)
        {
            if (layer != nullptr)
            {
                HashSprite(h, *layer);
            }
        }
    }

    if (d.ship != nullptr)
    {
        HashShooting(h, *d.ship);
    }
    if (d.shot != nullptr)
    {
        HashBullet(h, *d.shot);
        h.Bool(d.shot->inFlight);
        h.I32(d.shot->holdFrames);
    }

    if (d.convoy != nullptr)
    {
        const ConvoyManage& c = *d.convoy;
        h.I32(c.stage);
        h.I32(c.marchState);
        h.I32(c.nextIndex);
        h.I32(c.animFrame);
        h.I32(c.pauseFrames);
        h.I32(c.fireClock);
        for (const EnemyObject& e : c.enemies)
        {
            HashShooting(h, e);
            h.Bool(e.exploding);
            h.I32(e.frame);
            h.I32(e.kind);
            h.I32(e.score);
        }
        if (c.bulletMaker != nullptr)
        {
            h.I32(c.bulletMaker->level);
        }
    }

    if (d.bonusShip != nullptr)
    {
        const BonusShipManage& b = *d.bonusShip;
        HashBullet(h, b);
        h.Bool(b.flying);
        h.I32(b.flapCount);
        h.I32(b.variant);
        h.I32(b.score);
    }

    if (d.bullets != nullptr)
    {
        h.I32(d.bullets->count);
        h.I32(d.bullets->frameGrazeCount);
        // Walk at most one more than the cap, so a broken (cyclic) list still
        // gives a digest; the invariant checks report such a list.
        int32_t walked = 0;
        for (const BulletMaker* b = d.bullets->head; b != nullptr && walked <= MaxBullets;
             b = static_cast<const BulletMaker*>(b->next), ++walked)
        {
            HashBullet(h, *b);
            h.I32(b->level);
        }
        h.I32(walked);
    }
    return h.value;
}

} // namespace sim
