// The heavy frame's bullets, shared by the benchmark and the scene program
// (desktop and browser): one fill, so that both measure the same picture.
#pragma once

#include "platform/Render.h"

class BulletManage;

namespace scene
{

// Fills `list` to its MaxBullets with shots of the three kinds made by a
// BulletMaker, standing still on a grid over field x 16..432 and y 16..316
// (field units; the ship flies near y 440), in the list's order row by row,
// with lives far longer than any run. With `turned`, each shot gets its own
// heading (AngleUnit, 65536 per turn); without, the kind's own.
void FillHeavyBullets(BulletManage& list, RenderContext* context, bool turned);

} // namespace scene
