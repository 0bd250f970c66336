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

#include <cstddef>
#include <cstring>

namespace sim
{
namespace
{

// Every hashed class is checked against the list of its fields below: add a
// field to a class and its size no longer matches, and the build stops here
// until the field is fed to the hash (or, for a pointer, knowingly left out)
// and listed. A field small enough to fit into existing padding keeps the
// size and is not caught, so look at the padding when adding a bool.
//
// The layout rule is the Itanium C++ ABI's (GCC and Clang): a vtable pointer
// first in a class without a polymorphic base, each field at the next multiple
// of its alignment, a derived class's fields starting right after its base's
// last field (in the base's tail padding), the size rounded up to the
// strictest alignment.
class Layout
{
public:
    // A class with virtual functions and no base: the vtable pointer first.
    static constexpr Layout Polymorphic() { return Layout(sizeof(void*), alignof(void*)); }

    // These fields next, in this order.
    template <class Field, class... More> constexpr Layout Then() const
    {
        const size_t at = RoundUp(end, alignof(Field));
        const Layout next(at + sizeof(Field), alignof(Field) > align ? alignof(Field) : align);
        if constexpr (sizeof...(More) == 0)
        {
            return next;
        }
        else
        {
            return next.Then<More...>();
        }
    }

    constexpr size_t Size() const { return RoundUp(end, align); }

private:
    constexpr Layout(size_t endAt, size_t alignTo) : end(endAt), align(alignTo) {}
    static constexpr size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

    size_t end;   // one past the last field's byte
    size_t align; // strictest alignment so far
};

#define SKYREEL_HASHES_EVERY_FIELD(Class, ...)                                                     \
    static_assert(sizeof(Class) == (__VA_ARGS__).Size(),                                           \
                  #Class " has gained or lost a field: feed each new field to the state hash "     \
                         "(pointers excepted) and add its type to the list here")

// The fields of each class in declaration order, named in the comment above
// the list. Those marked * are pointers, never hashed themselves; a pointer
// to an object of the game (the ship, the title's sprites ...) is followed
// and the object hashed on its own.

// x y width height alpha scale u v angle centered active visible texture renderContext*
constexpr Layout SpriteItemFields = Layout::Polymorphic()
                                        .Then<float, float, int32_t, int32_t, float, float, int32_t,
                                              int32_t, float, bool, bool, bool, int32_t, void*>();
SKYREEL_HASHES_EVERY_FIELD(SpriteItem, SpriteItemFields);
// motionType grazeEnabled hitEnabled hitRadius grazeRadius
constexpr Layout ShootingObjectFields = SpriteItemFields.Then<int32_t, bool, bool, float, float>();
SKYREEL_HASHES_EVERY_FIELD(ShootingObject, ShootingObjectFields);
SKYREEL_HASHES_EVERY_FIELD(MyShipManage, ShootingObjectFields);
// direction directionOffset speed acceleration spin maxSpeed life prev* next*
constexpr Layout BulletBaseFields =
    ShootingObjectFields.Then<float, float, float, float, float, float, int32_t, void*, void*>();
SKYREEL_HASHES_EVERY_FIELD(BulletBase, BulletBaseFields);
// inFlight holdFrames
SKYREEL_HASHES_EVERY_FIELD(MyShotManage, BulletBaseFields.Then<bool, int32_t>());
// level target* manager* owner*
SKYREEL_HASHES_EVERY_FIELD(BulletMaker, BulletBaseFields.Then<int32_t, void*, void*, void*>());
// flying flapCount variant score
SKYREEL_HASHES_EVERY_FIELD(BonusShipManage,
                           BulletBaseFields.Then<bool, int32_t, int32_t, int32_t>());
// exploding frame kind score
SKYREEL_HASHES_EVERY_FIELD(EnemyObject,
                           ShootingObjectFields.Then<bool, int32_t, int32_t, int32_t>());
// enemies bulletMaker* renderContext* stage marchState nextIndex animFrame pauseFrames fireClock
SKYREEL_HASHES_EVERY_FIELD(ConvoyManage,
                           Layout::Polymorphic()
                               .Then<EnemyObject[ConvoyManage::EnemyCount], void*, void*, int32_t,
                                     int32_t, int32_t, int32_t, int32_t, int32_t>());
// count head* tail* frameGrazeCount (the list is walked from head)
SKYREEL_HASHES_EVERY_FIELD(BulletManage,
                           Layout::Polymorphic().Then<int32_t, void*, void*, int32_t>());
// score hiScore stage scene grazeCount gameOverTimer system* panel* ship* shot* convoy*
// bullets* bonusShip* background* title* marchStep clock bonusShipTimer
SKYREEL_HASHES_EVERY_FIELD(
    GameDirector,
    Layout::Polymorphic()
        .Then<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, void*, void*, void*, void*,
              void*, void*, void*, void*, void*, int32_t, int32_t, int32_t>());
// renderContext* sprites* state timer confirmPressed
SKYREEL_HASHES_EVERY_FIELD(
    TitleManage,
    Layout::Polymorphic()
        .Then<void*, SpriteItem * [TitleManage::SpriteCount], int32_t, int32_t, bool>());
// targetAlpha renderContext* layers*
SKYREEL_HASHES_EVERY_FIELD(BackGroundManage,
                           Layout::Polymorphic().Then<float, void*, SpriteItem* [2]>());
#undef SKYREEL_HASHES_EVERY_FIELD

// Each value by its type, in order: a float by its bits, an int32 as four
// bytes, a bool as one. Any other type is refused, so that a field is never
// fed in a form it was not fed in before.
void Feed(Fnv1a& h, float v)
{
    h.F32(v);
}
void Feed(Fnv1a& h, int32_t v)
{
    h.I32(v);
}
void Feed(Fnv1a& h, bool v)
{
    h.Bool(v);
}
template <class T> void Feed(Fnv1a& h, T v) = delete;

template <class... Values> void FeedAll(Fnv1a& h, const Values&... values)
{
    (Feed(h, values), ...);
}

void HashSprite(Fnv1a& h, const SpriteItem& s)
{
    FeedAll(h, s.x, s.y, s.width, s.height, s.alpha, s.scale, s.u, s.v, s.angle, s.centered,
            s.active, s.visible, s.texture);
}

void HashShooting(Fnv1a& h, const ShootingObject& s)
{
    HashSprite(h, s);
    FeedAll(h, s.motionType, s.grazeEnabled, s.hitEnabled, s.hitRadius, s.grazeRadius);
}

void HashBullet(Fnv1a& h, const BulletBase& b)
{
    HashShooting(h, b);
    FeedAll(h, b.direction, b.directionOffset, b.speed, b.acceleration, b.spin, b.maxSpeed, b.life);
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
    FeedAll(h, d.score, d.hiScore, d.stage, d.scene, d.grazeCount, d.gameOverTimer, d.marchStep,
            d.clock, d.bonusShipTimer);

    if (d.title != nullptr)
    {
        FeedAll(h, d.title->state, d.title->timer, d.title->confirmPressed);
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
        Feed(h, d.background->targetAlpha);
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
        FeedAll(h, d.shot->inFlight, d.shot->holdFrames);
    }

    if (d.convoy != nullptr)
    {
        const ConvoyManage& c = *d.convoy;
        FeedAll(h, c.stage, c.marchState, c.nextIndex, c.animFrame, c.pauseFrames, c.fireClock);
        for (const EnemyObject& e : c.enemies)
        {
            HashShooting(h, e);
            FeedAll(h, e.exploding, e.frame, e.kind, e.score);
        }
        if (c.bulletMaker != nullptr)
        {
            Feed(h, c.bulletMaker->level);
        }
    }

    if (d.bonusShip != nullptr)
    {
        const BonusShipManage& b = *d.bonusShip;
        HashBullet(h, b);
        FeedAll(h, b.flying, b.flapCount, b.variant, b.score);
    }

    if (d.bullets != nullptr)
    {
        FeedAll(h, d.bullets->count, d.bullets->frameGrazeCount);
        // Walk at most one more than the cap, so a broken (cyclic) list still
        // gives a digest; the invariant checks report such a list.
        int32_t walked = 0;
        for (const BulletMaker* b = d.bullets->head; b != nullptr && walked <= MaxBullets;
             b = static_cast<const BulletMaker*>(b->next), ++walked)
        {
            HashBullet(h, *b);
            Feed(h, b->level);
        }
        Feed(h, walked);
    }
    return h.value;
}

} // namespace sim
