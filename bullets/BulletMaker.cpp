#include "bullets/BulletMaker.h"

#include "bullets/Angle.h"
#include "bullets/BulletManage.h"

#include <initializer_list>

namespace
{

// What tells the three kinds of enemy shot apart.
struct ShotKind
{
    SheetRect picture;
    float hitRadius; // field units
    float grazeRadius;
    float direction; // AngleUnit
    int32_t life;    // frames
};

constexpr ShotKind NeedleShot{sheet::NeedleShot, 4.0f, 11.0f, AngleDown, 3600};
constexpr ShotKind SmallShot{sheet::SmallShot, 5.0f, 12.0f, AngleDown, 3600};
constexpr ShotKind LargeShot{sheet::LargeShot, 7.0f, 14.0f, AngleUp, 6000};
constexpr float ShotStartSpeed = 3.0f; // every kind

// Where every emitter and shot starts: at (atX, atY), turning and
// accelerating not at all, heading offset 0, top speed 5, drawn through
// context.
void Start(BulletMaker& b, float atX, float atY, RenderContext* context)
{
    b.x = atX;
    b.y = atY;
    b.spin = 0.0f;
    b.acceleration = 0.0f;
    b.directionOffset = 0.0f;
    b.maxSpeed = 5.0f;
    b.SetRenderContext(context);
}

// How a pattern launches its emitters. Rising emitters head up at
// RisingEmitterSpeed, the others stand still heading right; from pairLevel on
// (0: never) a second emitter follows, hit-enabled as pairCanHit says (a ring's
// second cannot hit the ship, so CancelAll leaves it firing).
struct PatternLaunch
{
    int32_t motion;
    int32_t lifeFrames;
    bool rises;
    int32_t pairLevel;
    bool pairCanHit;
};

// By BulletPattern; any other number the column.
const PatternLaunch& LaunchOf(int pattern)
{
    static const PatternLaunch launches[] = {
        {MotionColumn, 3, false, 0, true},
        {MotionAimed, 60, true, 2, true},
        {MotionFan, 60, false, 0, true},
        {MotionRing, 60, true, 3, false},
    };
    const bool known = pattern >= PatternColumn && pattern <= PatternRing;
    return launches[known ? pattern : PatternColumn];
}

// A pattern places emitters at its owner and hands them to its manager.
bool CanFire(const BulletMaker& pattern)
{
    return pattern.owner != nullptr && pattern.manager != nullptr;
}

void TakeKind(BulletMaker& b, const ShotKind& kind)
{
    b.ShowPicture(kind.picture, true);
    b.SetHitRadius(kind.hitRadius);
    b.SetGrazeRadius(kind.grazeRadius);
    b.speed = ShotStartSpeed;
    b.direction = kind.direction;
    b.life = kind.life;
}

// Speed of the rising emitters (aimed and ring patterns) by level.
float RisingEmitterSpeed(int32_t level)
{
    if (level <= 1)
    {
        return 0.5f;
    }
    if (level == 2)
    {
        return 1.0f;
    }
    if (level == 3)
    {
        return 1.5f;
    }
    if (level == 4)
    {
        return 2.0f;
    }
    return 3.0f;
}

struct FanVolley
{
    int32_t period; // frames between volleys
    int32_t pairs;  // shots either side of the aimed centre shot
    float spread;   // AngleUnit between neighbouring shots
};

FanVolley FanVolleyFor(int32_t level)
{
    switch (level)
    {
    case 1:
        return {29, 1, 3640.0f};
    case 2:
        return {29, 2, 3276.0f};
    case 3:
        return {20, 3, 2184.0f};
    case 4:
        return {18, 4, 1820.0f};
    default:
        return {12, 5, 1456.0f};
    }
}

struct RingVolley
{
    int32_t period; // frames between volleys
    int32_t shots;  // shots around the full turn
    float startSpeed;
    float topSpeed;
};

RingVolley RingVolleyFor(int32_t level)
{
    switch (level)
    {
    case 1:
        return {40, 10, 1.0f, 1.5f};
    case 2:
        return {40, 16, 1.4f, 1.8f};
    case 3:
        return {30, 24, 1.4f, 2.2f};
    case 4:
        return {25, 28, 1.8f, 2.6f};
    default:
        return {16, 36, 1.8f, 3.0f};
    }
}

int32_t AimedPeriodFor(int32_t level)
{
    if (level == 1)
    {
        return 29;
    }
    if (level == 4)
    {
        return 12;
    }
    if (level >= 5)
    {
        return 10;
    }
    return 15;
}

// A new shot filled in by `init` (InitSmallShot, InitLargeShot ...) at the
// maker's position, aimed at its target when it has one; speed in field units
// per frame, life in frames.
BulletMaker* NewAimedShot(BulletMaker& maker, void (BulletMaker::*init)(BulletMaker&), float speed,
                          int32_t life)
{
    auto* shot = new BulletMaker();
    (maker.*init)(*shot);
    if (maker.target != nullptr)
    {
        BulletMaker::AimAt(*shot, *maker.target);
    }
    shot->speed = speed;
    shot->life = life;
    return shot;
}

} // namespace

BulletMaker::BulletMaker() : level(1), target(nullptr), manager(nullptr), owner(nullptr) {}

BulletMaker::~BulletMaker() = default;

void BulletMaker::SetOwner(SpriteItem* o)
{
    owner = o;
}

void BulletMaker::SetTarget(ShootingObject* t)
{
    target = t;
}

void BulletMaker::SetManager(BulletManage* m)
{
    manager = m;
}

void BulletMaker::SetLevel(int n)
{
    level = n;
}

void BulletMaker::Offer(BulletMaker* b)
{
    if (manager == nullptr || !manager->Add(b))
    {
        delete b;
    }
}

void BulletMaker::Fire(int pattern)
{
    if (!CanFire(*this))
    {
        return;
    }
    const PatternLaunch& launch = LaunchOf(pattern);
    const float rise = launch.rises ? RisingEmitterSpeed(level) : 0.0f;
    const float heading = launch.rises ? AngleUp : AngleRight;
    Offer(MakeEmitter(launch.motion, launch.lifeFrames, heading, 0.0f, rise, true));
    if (launch.pairLevel > 0 && level >= launch.pairLevel)
    {
        // Heads up as well (left plus a quarter turn): the pattern comes as a
        // pair.
        Offer(MakeEmitter(launch.motion, launch.lifeFrames, AngleLeft, AngleDown, rise,
                          launch.pairCanHit));
    }
}

void BulletMaker::FireColumn()
{
    Fire(PatternColumn);
}

void BulletMaker::FireAimed()
{
    Fire(PatternAimed);
}

void BulletMaker::FireFan()
{
    Fire(PatternFan);
}

void BulletMaker::FireRing()
{
    Fire(PatternRing);
}

BulletMaker* BulletMaker::MakeEmitter(int32_t motion, int32_t lifeFrames, float heading,
                                      float headingOffset, float emitterSpeed, bool canHit)
{
    BulletMaker* e = new BulletMaker();
    // Placed where the owner is now; it does not follow the owner afterwards.
    Start(*e, owner->x, owner->y, renderContext);
    e->ShowPicture(sheet::Emitter, true);
    e->hitEnabled = canHit;
    e->grazeEnabled = false;
    e->motionType = motion;
    e->life = lifeFrames;
    e->direction = heading;
    e->directionOffset = headingOffset;
    e->speed = emitterSpeed;
    // Everything the emitter needs to fire on its own; the level unclamped.
    e->SetManager(manager);
    e->SetTarget(target);
    e->SetOwner(owner);
    e->SetLevel(level);
    return e;
}

bool BulletMaker::Update()
{
    const bool alive = Move();
    switch (motionType)
    {
    case MotionShot:
        break;
    case MotionFan:
        UpdateFan();
        break;
    case MotionAimed:
        UpdateAimed();
        break;
    case MotionRing:
        UpdateRing();
        break;
    default:
        if (motionType > MotionShot)
        {
            UpdateColumn();
        }
        break;
    }
    return alive;
}

void BulletMaker::UpdateColumn()
{
    const int32_t n = level < 5 ? level : 5;
    if (life != 1 || n <= 0)
    {
        return;
    }
    for (int32_t i = 0; i < n; ++i)
    {
        BulletMaker* shot = new BulletMaker();
        InitNeedleShot(*shot);
        shot->motionType = MotionShot;
        shot->direction = AngleDown;
        shot->life = 3600;
        shot->maxSpeed = 5.0f;
        shot->speed = 3.0f - 0.5f * static_cast<float>(i);
        Offer(shot);
    }
}

void BulletMaker::UpdateAimed()
{
    const int32_t period = AimedPeriodFor(level);
    if (life % period != 1)
    {
        return;
    }
    Offer(NewAimedShot(*this, &BulletMaker::InitLargeShot, 2.5f, 6000));
}

void BulletMaker::UpdateFan()
{
    const FanVolley fan = FanVolleyFor(level);
    if (life % fan.period != 1)
    {
        return;
    }
    BulletMaker* centre = NewAimedShot(*this, &BulletMaker::InitSmallShot, 2.0f, 3600);
    // Read before the offer: a refused centre shot is destroyed at once, and
    // the side shots still spread about its direction.
    const float middle = centre->direction;
    Offer(centre);

    float above = middle;
    float below = middle;
    for (int32_t i = 0; i < fan.pairs; ++i)
    {
        above = above + fan.spread;
        below = below - fan.spread;

        for (const float heading : {above, below})
        {
            BulletMaker* side = new BulletMaker();
            InitSmallShot(*side);
            side->speed = 2.0f;
            side->life = 3600;
            side->direction = heading;
            Offer(side);
        }
    }
}

void BulletMaker::UpdateRing()
{
    const RingVolley ring = RingVolleyFor(level);
    if (life % ring.period != 1 || ring.shots <= 0)
    {
        return;
    }
    const float step = static_cast<float>(AngleUnitsPerTurn) / static_cast<float>(ring.shots);
    float heading = 0.0f;
    for (int32_t i = 0; i < ring.shots; ++i)
    {
        BulletMaker* shot = new BulletMaker();
        InitSmallShot(*shot);
        shot->life = 6000;
        shot->acceleration = 0.1f;
        shot->speed = ring.startSpeed;
        shot->direction = heading;
        shot->maxSpeed = ring.topSpeed;
        Offer(shot);
        heading = heading + step;
    }
}

void BulletMaker::AimAt(BulletBase& bullet, const SpriteItem& target)
{
    const float yDifference = target.y - bullet.y;
    const float xDifference = target.x - bullet.x;
    const int dy = static_cast<int>(yDifference);
    const int dx = static_cast<int>(xDifference);
    bullet.direction = static_cast<float>(AngleTo(dy, dx));
}

void BulletMaker::InitShot(BulletMaker& b)
{
    Start(b, x, y, renderContext);
    b.hitEnabled = true;
    b.grazeEnabled = true;
    b.motionType = MotionShot;
}

void BulletMaker::InitNeedleShot(BulletMaker& b)
{
    InitShot(b);
    TakeKind(b, NeedleShot);
}

void BulletMaker::InitSmallShot(BulletMaker& b)
{
    InitShot(b);
    TakeKind(b, SmallShot);
}

void BulletMaker::InitLargeShot(BulletMaker& b)
{
    InitShot(b);
    TakeKind(b, LargeShot);
}

void BulletMaker::EmitSparks(int size, float atX, float atY)
{
    if (manager == nullptr)
    {
        return;
    }
    int sparks = 10;
    int32_t lifeFrames = 30;
    float baseSpeed = 2.0f;
    if (size == 1)
    {
        sparks = 20;
        lifeFrames = 20;
        baseSpeed = 1.0f;
    }
    else if (size == 2)
    {
        sparks = 80;
        lifeFrames = 30;
        baseSpeed = 2.0f;
    }

    for (int i = 0; i < sparks; ++i)
    {
        BulletMaker* spark = new BulletMaker();
        spark->motionType = MotionShot;
        spark->x = atX;
        spark->y = atY;
        spark->ShowPicture(sheet::Spark, true);
        spark->alpha = 0.5f;
        // Five draws per spark, in this order: picture, direction, speed,
        // spin, slowing. A replay depends on the order.
        const int picture = RandomRange(0, 2);
        spark->SetPicture(StripFrame(sheet::Spark, picture));
        const float heading = RandomUnit();
        spark->direction =
            static_cast<float>(static_cast<double>(heading) * (AngleUnitsPerTurn - 1));
        const float boost = RandomUnit();
        spark->speed = baseSpeed + 2.0f * boost;
        const int turn = RandomRange(0, 1000);
        spark->spin = static_cast<float>(3000 + turn);
        spark->maxSpeed = 5.0f;
        spark->life = lifeFrames;
        const float drag = RandomUnit();
        spark->acceleration = static_cast<float>(-0.01 * static_cast<double>(drag) - 0.02);
        spark->hitEnabled = false;
        spark->grazeEnabled = false;
        spark->angle = 0.0f;
        spark->SetRenderContext(renderContext);
        Offer(spark);
    }
}
