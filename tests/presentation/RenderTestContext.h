// A render context for tests that count and read the sprite commands objects
// take. It needs no window: without a screen the context still hands out
// commands, it only draws nothing.
#pragma once

#include "platform/Render.h"

#include <gtest/gtest.h>

class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        context = CreateRenderContext(480, 272, 32);
        ASSERT_NE(context, nullptr);
        ClearSpriteCommands(context);
    }

    void TearDown() override { DestroyRenderContext(context); }

    // Commands taken since the last clear.
    int Used() const { return context->used; }
    const SpriteCommand& Command(int index) const { return *context->commands[index]; }

    RenderContext* context = nullptr;
};
