// The play field's background: a still picture and, over it, a slowly turning
// one whose opacity drifts toward a target set from the convoy's losses.
#pragma once

#include <tuple>

struct RenderContext;
class SpriteItem;

class BackGroundManage
{
public:
    BackGroundManage();
    virtual ~BackGroundManage();

    BackGroundManage(const BackGroundManage&) = delete;
    BackGroundManage& operator=(const BackGroundManage&) = delete;

    void Initialize(RenderContext* context);
    // Puts both layers back at their starting values (a new game).
    void Reset();
    void SetTargetAlpha(float target);
    // One frame of the turning layer; the still layer never changes. Always true.
    bool Update();
    // Layer 0, then layer 1 over it. Always true.
    bool Draw();

    float targetAlpha; // opacity layer 1 drifts toward, 0.0..1.0
    RenderContext* renderContext;
    SpriteItem* layers[2]; // 0 still, 1 turning; owned

    // Every field above, in declaration order (those of the base classes
    // not included): whatever walks the state field by field uses this
    // list, and the state hash checks the class's size against it.
    static constexpr auto Fields()
    {
        return std::tuple{&BackGroundManage::targetAlpha, &BackGroundManage::renderContext,
                          &BackGroundManage::layers};
    }
};
