#include "bullets/BulletManage.h"

#include "bullets/BulletMaker.h"

namespace
{

// Every object linked into the list is a BulletMaker.
BulletMaker* NextOf(const BulletMaker* b)
{
    return static_cast<BulletMaker*>(b->next);
}

} // namespace

BulletManage::BulletManage() : count(0), head(nullptr), tail(nullptr), frameGrazeCount(0) {}

BulletManage::~BulletManage()
{
    Clear();
}

bool BulletManage::Add(BulletMaker* b)
{
    if (b == nullptr || count >= MaxBullets)
    {
        return false;
    }
    if (head == nullptr)
    {
        head = b;
    }
    b->next = nullptr;
    b->prev = tail;
    if (tail != nullptr)
    {
        tail->next = b;
    }
    count = count + 1;
    tail = b;
    return true;
}

void BulletManage::Remove(BulletMaker* b)
{
    if (b == head)
    {
        head = NextOf(b);
    }
    if (b == tail)
    {
        tail = static_cast<BulletMaker*>(b->prev);
    }
    if (b->prev != nullptr)
    {
        b->prev->next = b->next;
    }
    if (b->next != nullptr)
    {
        b->next->prev = b->prev;
    }
    delete b;
    count = count - 1;
}

void BulletManage::Clear()
{
    BulletMaker* b = head;
    while (b != nullptr)
    {
        BulletMaker* following = NextOf(b);
        delete b;
        b = following;
    }
    count = 0;
    head = nullptr;
    tail = nullptr;
}

bool BulletManage::Update()
{
    if (count == 0)
    {
        return false;
    }
    // The next link is read before the bullet runs, so the current bullet may
    // be removed; bullets appended while it runs are reached unless it was
    // the last one.
    BulletMaker* b = head;
    while (b != nullptr)
    {
        BulletMaker* following = NextOf(b);
        if (!b->Update())
        {
            Remove(b);
        }
        b = following;
    }
    return true;
}

bool BulletManage::Collide(const ShootingObject& ship)
{
    frameGrazeCount = 0;
    bool hit = false;
    for (BulletMaker* b = head; b != nullptr; b = NextOf(b))
    {
        if (!b->hitEnabled)
        {
            continue;
        }
        if (b->HitTest(ship))
        {
            hit = true;
        }
        else if (b->GrazeTest(ship))
        {
            b->grazeEnabled = false;
            frameGrazeCount = frameGrazeCount + 1;
        }
    }
    return hit;
}

int BulletManage::GetGrazeCount() const
{
    return frameGrazeCount;
}

int BulletManage::CancelAll()
{
    int points = 0;
    for (BulletMaker* b = head; b != nullptr; b = NextOf(b))
    {
        if (!b->hitEnabled)
        {
            continue;
        }
        points = points + 100;
        b->alpha = 0.3f;
        b->hitEnabled = false;
        b->life = 15;
    }
    return points;
}

int BulletManage::Draw()
{
    int drawn = 0;
    for (BulletMaker* b = head; b != nullptr && drawn < MaxBullets; b = NextOf(b))
    {
        b->Draw();
        drawn = drawn + 1;
    }
    return drawn;
}
