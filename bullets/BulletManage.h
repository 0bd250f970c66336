// BulletManage: the list of every enemy bullet, emitter and spark on the
// field, oldest first, at most MaxBullets long. The list owns its bullets.
#pragma once

#include <cstdint>
#include <tuple>

class BulletMaker;
class ShootingObject;

constexpr int32_t MaxBullets = 800;

class BulletManage
{
public:
    BulletManage();
    virtual ~BulletManage();

    BulletManage(const BulletManage&) = delete;
    BulletManage& operator=(const BulletManage&) = delete;

    // Appends b and takes ownership. False when the list already holds
    // MaxBullets (or b is null): nothing changes and b is NOT taken; the
    // caller must destroy it.
    bool Add(BulletMaker* b);
    // Unlinks b (which must be in this list) and destroys it.
    void Remove(BulletMaker* b);
    // Destroys every bullet and empties the list.
    void Clear();
    // One frame of every bullet, retiring those whose Update returns false.
    // Bullets added during the walk are reached by it, except those added
    // while the last bullet was being updated. False when the list was empty.
    bool Update();
    // True when at least one hit-enabled bullet hits the ship; counts the
    // bullets that graze it instead (each bullet grazes once in its life).
    bool Collide(const ShootingObject& ship);
    // Grazes found by the last Collide.
    int GetGrazeCount() const;
    // Makes every hit-enabled bullet harmless (faded, 15 frames to live);
    // 100 points per bullet cancelled.
    int CancelAll();
    // Draws the bullets in list order, at most MaxBullets; returns the number drawn.
    int Draw();

    int32_t count;           // bullets in the list, 0..MaxBullets
    BulletMaker* head;       // oldest bullet, null when empty
    BulletMaker* tail;       // newest bullet, null when empty
    int32_t frameGrazeCount; // grazes found by the last Collide

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&BulletManage::count, &BulletManage::head, &BulletManage::tail,
                          &BulletManage::frameGrazeCount};
    }
};
