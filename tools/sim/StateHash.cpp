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
#include <tuple>
#include <type_traits>

namespace sim
{
namespace
{

// Each hashed class lists its own fields beside them (its static Fields()),
// and that list is what the hash feeds. The class's size is checked against
// the list here: add a field to a class without listing it, and in most cases
// its size no longer matches and the build stops. A field small enough to fit
// into existing padding (a bool after another bool, say) keeps the size and
// is not caught; the list beside the fields is the place to keep it.
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

// The layout of Class's own fields after `before`. A list that names a
// field of another class does not compile.
template <class Class, class... Fields>
constexpr Layout ThenFields(Layout before, std::tuple<Fields Class::*...>)
{
    if constexpr (sizeof...(Fields) == 0)
    {
        return before;
    }
    else
    {
        return before.Then<Fields...>();
    }
}
template <class Class> constexpr Layout ThenFields(Layout before, std::tuple<>)
{
    return before;
}
template <class Class> constexpr Layout Own(Layout before)
{
    return ThenFields<Class>(before, Class::Fields());
}

constexpr Layout SpriteItemLayout = Own<SpriteItem>(Layout::Polymorphic());
constexpr Layout ShootingObjectLayout = Own<ShootingObject>(SpriteItemLayout);
constexpr Layout BulletBaseLayout = Own<BulletBase>(ShootingObjectLayout);

#define SKYREEL_HASHES_EVERY_FIELD(Class, layout)                                                  \
    static_assert(sizeof(Class) == (layout).Size(),                                                \
                  #Class " has a field that " #Class "::Fields() does not list")

SKYREEL_HASHES_EVERY_FIELD(SpriteItem, SpriteItemLayout);
SKYREEL_HASHES_EVERY_FIELD(ShootingObject, ShootingObjectLayout);
SKYREEL_HASHES_EVERY_FIELD(MyShipManage, Own<MyShipManage>(ShootingObjectLayout));
SKYREEL_HASHES_EVERY_FIELD(BulletBase, BulletBaseLayout);
SKYREEL_HASHES_EVERY_FIELD(MyShotManage, Own<MyShotManage>(BulletBaseLayout));
SKYREEL_HASHES_EVERY_FIELD(BulletMaker, Own<BulletMaker>(BulletBaseLayout));
SKYREEL_HASHES_EVERY_FIELD(BonusShipManage, Own<BonusShipManage>(BulletBaseLayout));
SKYREEL_HASHES_EVERY_FIELD(EnemyObject, Own<EnemyObject>(ShootingObjectLayout));
SKYREEL_HASHES_EVERY_FIELD(ConvoyManage, Own<ConvoyManage>(Layout::Polymorphic()));
SKYREEL_HASHES_EVERY_FIELD(BulletManage, Own<BulletManage>(Layout::Polymorphic()));
SKYREEL_HASHES_EVERY_FIELD(GameDirector, Own<GameDirector>(Layout::Polymorphic()));
SKYREEL_HASHES_EVERY_FIELD(TitleManage, Own<TitleManage>(Layout::Polymorphic()));
SKYREEL_HASHES_EVERY_FIELD(BackGroundManage, Own<BackGroundManage>(Layout::Polymorphic()));
#undef SKYREEL_HASHES_EVERY_FIELD

// Each value by its type: a float by its bits, an int32 as four bytes, a bool
// as one. Any other type is refused, so that a field is never fed in a form
// it was not fed in before.
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

// Pointers and arrays are passed over: the objects of the game they lead to
// (the ship, the title's sprites, the convoy's enemies ...) are hashed on
// their own, and an address is never part of the digest.
template <class T> void FeedField(Fnv1a& h, const T& value)
{
    if constexpr (!std::is_pointer_v<T> && !std::is_array_v<T>)
    {
        Feed(h, value);
    }
}

// Class's own fields in the order of its list.
template <class Class> void FeedFields(Fnv1a& h, const Class& object)
{
    std::apply([&](auto... field) { (FeedField(h, object.*field), ...); }, Class::Fields());
}

void HashSprite(Fnv1a& h, const SpriteItem& s)
{
    FeedFields<SpriteItem>(h, s);
}

void HashShooting(Fnv1a& h, const ShootingObject& s)
{
    HashSprite(h, s);
    FeedFields<ShootingObject>(h, s);
}

void HashBullet(Fnv1a& h, const BulletBase& b)
{
    HashShooting(h, b);
    FeedFields<BulletBase>(h, b);
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
    FeedFields(h, d);

    if (d.title != nullptr)
    {
        FeedFields(h, *d.title);
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
        FeedFields(h, *d.background);
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
        FeedFields(h, *d.ship);
    }
    if (d.shot != nullptr)
    {
        HashBullet(h, *d.shot);
        FeedFields(h, *d.shot);
    }

    if (d.convoy != nullptr)
    {
        const ConvoyManage& c = *d.convoy;
        FeedFields(h, c);
        for (const EnemyObject& e : c.enemies)
        {
            HashShooting(h, e);
            FeedFields(h, e);
        }
        if (c.bulletMaker != nullptr)
        {
            FeedFields(h, *c.bulletMaker);
        }
    }

    if (d.bonusShip != nullptr)
    {
        const BonusShipManage& b = *d.bonusShip;
        HashBullet(h, b);
        FeedFields(h, b);
    }

    if (d.bullets != nullptr)
    {
        FeedFields(h, *d.bullets);
        // Walk at most one more than the cap, so a broken (cyclic) list still
        // gives a digest; the invariant checks report such a list.
        int32_t walked = 0;
        for (const BulletMaker* b = d.bullets->head; b != nullptr && walked <= MaxBullets;
             b = static_cast<const BulletMaker*>(b->next), ++walked)
        {
            HashBullet(h, *b);
            FeedFields(h, *b);
        }
        Feed(h, walked);
    }
    return h.value;
}

} // namespace sim
