#include "SpriteArt.h"

namespace assets
{

Image ShipSprite()
{
    return ParseGrid("ship", 16, 24, R"(
.......w
......lw
......lC
......gC
......gc
.....gcC
.....gBw
.....gBC
.....gbc
....lgbB
....lglG
g..lRglg
l.lRRglg
l.RRlglg
lRRllglg
lRllgglG
lRlggglG
gRGGGgGG
G.kbbGGb
.....kGb
......oy
......yY
......oy
.......o
)");
}

Image ShotSprite()
{
    return ParseGrid("shot", 8, 16, R"(
...w
..Cw
..Cw
.cCw
.cCw
.cCw
.cCw
..Cw
..CC
..cC
..cC
...c
...c
...B
...B
....
)");
}

Image EnemySprite(int frame)
{
    if (frame == 0)
    {
        return ParseGrid("enemy walk 0", 16, 24, R"(
........
........
..f.....
...E....
.E.eEEEE
E.eEffff
E.eEfYff
EeEfffff
.eEfffff
eEEkkkfE
eEkRRkEf
eEkRwkEf
eEEkkEEE
.eEEEEEE
.eeEfEfE
..eeEEEE
..eeeeee
..E.e..e
.E..E..E
.E.E...E
E..E..E.
E.E...E.
..E.....
........
)");
    }
    return ParseGrid("enemy walk 1", 16, 24, R"(
........
........
....f...
....E...
...eEEEE
..eEffff
..eEfYff
.eEfffff
.eEfffff
eEEkkkfE
eEkRRkEf
eEkRwkEf
eEEkkEEE
EeEEEEEE
EeeEfEfE
E.eeEEEE
.E.eeeee
...Ee.e.
...E.E..
..E..E..
..E...E.
...E..E.
...E...E
........
)");
}

Image EnemyExplosionSprite()
{
    return ParseGrid("enemy explosion", 16, 24, R"(
................
................
.......o........
...o...y....o...
....o..Y...o....
.....r.y..r.....
..o...ryoR...o..
...r.RoyyoR.r...
....RoyYYyoR....
.o..oyYwwYyo..o.
...RyYwwwwYyR...
.ooyYwwwwwwYyoo.
...RyYwwwwYyR...
.o..oyYwwYyo..o.
....RoyYYyoR....
...r.RoyyoR.r...
..o...Ryor...o..
.....r.y..r.....
....o..Y...o....
...o...y....o...
.......o........
................
................
................
)");
}

Image BonusShipSprite(int frame)
{
    if (frame == 0)
    {
        return ParseGrid("bonus ship 0", 24, 24, R"(
............
............
............
............
Ro..........
.Ryo........
.rRyo....lCC
..rRyo..lCCw
...rRoolCCCC
....rRglCcCC
...GgglllllB
..GgllllllBb
.GglwlYlwlYl
.GlRlYRlRlRl
..GgllllllBb
...GggggGGbb
.....GbbnnRo
.......Roy..
........y...
............
............
............
............
............
)");
    }
    return ParseGrid("bonus ship 1", 24, 24, R"(
............
............
............
............
............
............
.........lCC
........lCCw
.......lCCCC
......glCcCC
...GgglllllB
..GgllllllBb
.GglYlwlYlwl
.GlRlRlYRlYl
..GgllllllBb
...GggggGGbb
....rRGbbnRo
...rRyo.Roy.
..rRyo...oY.
.rRyo.......
.Ryo........
Ro..........
............
............
)");
}

Image NeedleShotSprite()
{
    return ParseGrid("needle shot", 4, 8, R"(
.w
yY
yw
yY
yY
oY
.y
.o
)");
}

Image SmallShotSprite()
{
    return ParseGrid("small shot", 6, 6, R"(
.mM
mMw
Mww
Mww
mMw
.mM
)");
}

Image LargeShotSprite()
{
    return ParseGrid("large shot", 8, 8, R"(
..rR
.rRo
rRoY
rRYw
rRYw
rRoY
.rRo
..rR
)");
}

Image EmitterSprite()
{
    return ParseGrid("emitter", 16, 16, R"(
................
.....pPmmPp.....
...pPmMMMMmPp...
..pPMm....mMPp..
.pPm........mPp.
.PM....MM....MP.
pmM...MwwM...Mmp
PmM..MwwwwM..MmP
PmM..MwwwwM..MmP
pmM...MwwM...Mmp
.PM....MM....MP.
.pPm........mPp.
..pPMm....mMPp..
...pPmMMMMmPp...
.....pPmmPp.....
................
)");
}

Image SparkSprite(int kind)
{
    if (kind == 0)
    {
        return ParseGrid("spark 0", 8, 8, R"(
...y....
...Y....
..yYy...
yYYwYYy.
..yYy...
...Y....
...y....
........
)");
    }
    if (kind == 1)
    {
        return ParseGrid("spark 1", 8, 8, R"(
........
...o....
..oyo...
.oyYyo..
..oyo...
...o....
........
........
)");
    }
    return ParseGrid("spark 2", 8, 8, R"(
.c....c.
..C..C..
...ww...
...ww...
..C..C..
.c....c.
........
........
)");
}

} // namespace assets
