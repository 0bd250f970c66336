// A headless game session for the simulator's tests, driven the way
// skyreel-sim drives it: key changes pushed as SDL events, then one update.
#pragma once

#include "Replay.h"
#include "Session.h"
#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"
#include "enemies/BonusShipManage.h"
#include "enemies/ConvoyManage.h"
#include "game/GameDirector.h"
#include "player/MyShipManage.h"
#include "player/MyShotManage.h"
#include "presentation/TitleManage.h"

#include <gtest/gtest.h>
#include <vector>

class SimSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(session.Open(&error)) << error;
        director = session.Director();
    }

    void TearDown() override { session.Close(); }

    // One update with these changes pushed first; returns its number.
    int32_t Update(const std::vector<sim::KeyChange>& changes = {})
    {
        ++update;
        EXPECT_TRUE(session.Push(changes));
        session.Update();
        return update;
    }

    // Through the title with one press of Z once it waits; returns with the
    // play scene about to run its first frame.
    void PlayFromTitle()
    {
        while (director->scene != GameDirector::ScenePlay)
        {
            ASSERT_LT(update, 2000) << "the title never let the game start";
            const bool waits = director->scene == GameDirector::SceneTitle &&
                               director->title->state == TitleManage::StateWait;
            Update(waits ? std::vector<sim::KeyChange>{{update + 1, sim::Key::Z, true}}
                         : std::vector<sim::KeyChange>{{update + 1, sim::Key::Z, false}});
        }
    }

    // A still needle-like bullet of the enemy's kind, added to the list.
    BulletMaker* AddNeedle(float x, float y, float speed, float direction)
    {
        auto* b = new BulletMaker();
        b->x = x;
        b->y = y;
        b->width = 4;
        b->height = 8;
        b->visible = b->active = b->centered = true;
        b->hitEnabled = b->grazeEnabled = true;
        b->SetHitRadius(4.0f);
        b->SetGrazeRadius(11.0f);
        b->speed = speed;
        b->maxSpeed = 5.0f;
        b->direction = direction;
        b->life = 3600;
        if (!director->bullets->Add(b))
        {
            delete b;
            return nullptr;
        }
        return b;
    }

    sim::Session session;
    GameDirector* director = nullptr;
    int32_t update = 0;
};
