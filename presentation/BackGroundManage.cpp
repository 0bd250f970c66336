#include "presentation/BackGroundManage.h"

#include "objects/SpriteItem.h"

namespace
{
constexpr float FieldCentreX = 224.0f; // field units
constexpr float FieldCentreY = 240.0f;
constexpr int TurnPerFrame = 100;  // AngleUnit
constexpr float AlphaStep = 0.01f; // per frame
} // namespace

BackGroundManage::BackGroundManage() : targetAlpha(0.0f), renderContext(nullptr), layers{}
{
    NewSprites(layers);
}

BackGroundManage::~BackGroundManage()
{
    DeleteSprites(layers);
}

void BackGroundManage::Initialize(RenderContext* context)
{
    renderContext = context;
    SetSpritesContext(layers, context);
}

void BackGroundManage::Reset()
{
    struct LayerSetting
    {
        SheetRect picture;
        float scale;
        float alpha;
    };
    static constexpr LayerSetting settings[2] = {{sheet::StillBackground, 2.0f, 1.0f},
                                                 {sheet::TurningBackground, 3.0f, 0.0f}};

    for (int i = 0; i < 2; ++i)
    {
        SpriteItem& layer = *layers[i];
        layer.x = FieldCentreX;
        layer.y = FieldCentreY;
        layer.ShowPicture(settings[i].picture, true);
        layer.scale = settings[i].scale;
        layer.alpha = settings[i].alpha;
    }
}

void BackGroundManage::SetTargetAlpha(float target)
{
    targetAlpha = target;
}

bool BackGroundManage::Update()
{
    SpriteItem& turning = *layers[1];
    turning.angle = static_cast<float>((static_cast<int>(turning.angle) + TurnPerFrame) % 65536);
    // The opacity never rests: at the target it keeps stepping around it.
    if (turning.alpha < targetAlpha)
    {
        turning.alpha += AlphaStep;
    }
    else
    {
        turning.alpha -= AlphaStep;
    }
    return true;
}

bool BackGroundManage::Draw()
{
    layers[0]->Draw();
    layers[1]->Draw();
    return true;
}
