// Every picture cell the effects and panels draw is in the built pictures, inside the picture,
// and has something drawn in every frame the code can pick; and the "OpticalEffect" option adds
// the lens to an enemy's destruction only when it is on.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AtlasCells.h"
#include "EffectWorld.h"
#include "core/TaskQuery.h"
#include "effects/ScreenEffects.h"
#include "enemy/EnemyBase.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {
namespace {

struct UsedCell {
    const char* name;
    const atlas::Image& image;
    const atlas::Cell& cell;
};

const std::vector<UsedCell>& usedCells() {
    namespace e = atlas::exp;
    namespace n = atlas::enemy;
    namespace i = atlas::item;
    namespace f = atlas::frame;
    static const std::vector<UsedCell> cells = {
        {"Explosion0", e::kImage, e::kExplosion0},
        {"Explosion1", e::kImage, e::kExplosion1},
        {"Smoke", e::kImage, e::kSmoke},
        {"ShipExplosion", e::kImage, e::kShipExplosion},
        {"Explosion6", e::kImage, e::kExplosion6},
        {"Explosion8", e::kImage, e::kExplosion8},
        {"PieceSmall", n::kImage, n::kPieceSmall},
        {"PieceLarge", n::kImage, n::kPieceLarge},
        {"FireSpark", n::kImage, n::kFireSpark},
        {"Burn", n::kImage, n::kBurn},
        {"Ring", n::kImage, n::kRing},
        {"Ripple", n::kImage, n::kRipple},
        {"Booster", n::kImage, n::kBooster},
        {"NearKill", n::kImage, n::kNearKill},
        {"Lens", n::kImage, n::kLens},
        {"EnergySpark", i::kImage, i::kEnergySpark},
        {"CrystalParticle", i::kImage, i::kCrystalParticle},
        {"ChangeBullet", i::kImage, i::kChangeBullet},
        {"CrystalDigits14", i::kImage, i::kCrystalDigits14},
        {"CrystalDigits16", i::kImage, i::kCrystalDigits16},
        {"CrystalDigits20", i::kImage, i::kCrystalDigits20},
        {"ItemBurst", i::kImage, i::kItemBurst},
        {"ItemLabel", i::kImage, i::kItemLabel},
        {"ExplosionLight", atlas::ship::kImage, atlas::ship::kExplosionLight},
        {"SidePanel", f::kImage, f::kSidePanel},
        {"LabelHighScore", f::kImage, f::kLabelHighScore},
        {"LabelScore", f::kImage, f::kLabelScore},
        {"LabelCrystal", f::kImage, f::kLabelCrystal},
        {"LabelMaxChain", f::kImage, f::kLabelMaxChain},
        {"Digits", f::kImage, f::kDigits},
        {"ShipIcon", f::kImage, f::kShipIcon},
        {"BombIcon", f::kImage, f::kBombIcon},
        {"SmallFont", f::kImage, f::kSmallFont},
        {"MenuFont", f::kImage, f::kMenuFont},
        {"AttractBanner", f::kImage, f::kAttractBanner},
        {"BossGaugeFrame", f::kImage, f::kBossGaugeFrame},
        {"BossGaugeBar", f::kImage, f::kBossGaugeBar},
        {"BossGaugeBack", f::kImage, f::kBossGaugeBack},
        {"ComboDigits", f::kImage, f::kComboDigits},
        {"ComboBarBack", f::kImage, f::kComboBarBack},
        {"ComboBarFill", f::kImage, f::kComboBarFill},
        {"ComboLabel", f::kImage, f::kComboLabel},
        {"EnergyGaugeBack", f::kImage, f::kEnergyGaugeBack},
        {"EnergyGaugeFill", f::kImage, f::kEnergyGaugeFill},
        {"EnergyLabel", f::kImage, f::kEnergyLabel},
    };
    return cells;
}

TEST(EffectArt, EveryCellDrawnIsInItsPictureWithSomethingInEachFrame) {
    const std::string package = std::string(VG_GAME_DIR) + "/data.pck";
    if (!std::filesystem::exists(package)) GTEST_SKIP() << "no " << package;
    PackageReader reader;
    ASSERT_TRUE(reader.openPackage(package.c_str()));
    TaskArena scratch(System::kScratchArenaCapacity);
    for (const UsedCell& used : usedCells()) {
        SCOPED_TRACE(used.name);
        DIB picture;
        ASSERT_TRUE(loadImage(used.image.file, reader, scratch, picture));
        ASSERT_EQ(picture.width, used.image.width);
        ASSERT_EQ(picture.height, used.image.height);
        const atlas::Cell& cell = used.cell;
        const uint32_t key = *picture.pixelAt(0, 0) & 0xFFFFFF;
        for (int32_t frame = 0; frame < cell.frames; ++frame) {
            const int32_t x0 = cell.frameX(frame), y0 = cell.frameY(frame);
            ASSERT_GE(x0, 0);
            ASSERT_GE(y0, 0);
            ASSERT_LE(x0 + cell.w, picture.width);
            ASSERT_LE(y0 + cell.h, picture.height);
            // The fonts' space character is empty by nature.
            if (frame == 0 &&
                (&cell == &atlas::frame::kSmallFont || &cell == &atlas::frame::kMenuFont)) {
                continue;
            }
            int inked = 0;
            for (int32_t y = y0; y < y0 + cell.h; ++y) {
                for (int32_t x = x0; x < x0 + cell.w; ++x) {
                    if ((*picture.pixelAt(x, y) & 0xFFFFFF) != key) ++inked;
                }
            }
            EXPECT_GT(inked, 0) << "frame " << frame << " is empty";
        }
    }
}

using LensOption = testing::EffectWorld;

TEST_F(LensOption, TheOptionAddsTheLensToAnEnemysDestruction) {
    for (uint8_t option : {0, 1}) {
        SCOPED_TRACE(static_cast<int>(option));
        system.config.opticalEffect = option;
        auto* enemy = system.spawnFront<EnemyBase>(layer::kAir, 100 << 16, 100 << 16);
        ASSERT_NE(enemy, nullptr);
        enemy->destroyEffects(enemy->x, enemy->y, 0, 0, 4);
        EXPECT_EQ(countInLayer<OpticalEffect>(system, layer::kEffect), option);
        system.endAll();
        system.updatePass();
    }
}

}  // namespace
}  // namespace vg
