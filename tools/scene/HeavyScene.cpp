#include "tools/scene/HeavyScene.h"

#include "bullets/BulletMaker.h"
#include "bullets/BulletManage.h"

namespace scene
{

void FillHeavyBullets(BulletManage& list, RenderContext* context, bool turned)
{
    BulletMaker maker;
    maker.SetManager(&list);
    maker.SetRenderContext(context);
    for (int i = 0; list.count < MaxBullets && i < 4 * MaxBullets; ++i)
    {
        auto* shot = new BulletMaker();
        maker.x = 16.0f + static_cast<float>((i * 13) % 417);
        maker.y = 16.0f + static_cast<float>((i * 7) % 301);
        switch (i % 3)
        {
        case 0:
            maker.InitNeedleShot(*shot);
            break;
        case 1:
            maker.InitSmallShot(*shot);
            break;
        default:
            maker.InitLargeShot(*shot);
            break;
        }
        shot->speed = 0.0f;
        shot->acceleration = 0.0f;
        shot->life = 1 << 30;
        if (turned)
        {
            shot->angle = static_cast<float>((i * 2731) % 65536);
        }
        if (!list.Add(shot))
        {
            delete shot;
        }
    }
}

} // namespace scene
