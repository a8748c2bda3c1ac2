// Golden screenshots of the panels, the boss gauge, a join, the stage result and every effect,
// taken through the headless host with the real pictures and compared by hash. The pictures are
// also written to <build>/effects_shots for looking at. Set VG_UPDATE_GOLDEN=1 to store the
// current hashes after a deliberate change of the drawing or of the art.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "StillShip.h"
#include "app/HeadlessHost.h"
#include "bench/BossFinale.h"
#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/System.h"
#include "effects/BlackFrame.h"
#include "effects/BossShieldFrame.h"
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "effects/Rings.h"
#include "effects/ScreenEffects.h"
#include "enemy/Bullet.h"
#include "panels/ComboFrame.h"
#include "panels/LaserFrame.h"
#include "panels/OutFrame.h"
#include "panels/Result.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "tests/support/GoldenPictures.h"

namespace vg {
namespace {

using testing::StillShip;

const char* const kHashFile = VG_SOURCE_DIR "/tests/effects/golden_effects.hash";

// The field's ground for these pictures: a dusk gradient with darker squares, so that added,
// subtracted and translucent drawing all show.
class Backdrop : public Task {
  public:
    void draw(DIB& surface) override {
        for (int32_t y = 0; y < surface.height; y += 4) {
            const uint32_t k = static_cast<uint32_t>(y) * 48 / 384;
            fillRect(&surface, 0, y, surface.width, 4, 0x182838 + k * 0x010101, 0, 128);
        }
        for (int32_t y = 0; y < surface.height; y += 64) {
            for (int32_t x = (y / 64 % 2) * 40; x < surface.width; x += 80) {
                fillRect(&surface, x, y, 40, 64, 0x080808, Subtract, 128);
            }
        }
    }
};

class GoldenEffects : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string package = std::string(VG_GAME_DIR) + "/data.pck";
        if (!std::filesystem::exists(package)) GTEST_SKIP() << "no " << package;
        gameRandom().randomSeed(GameRandom::kDefaultSeed);
        host = std::make_unique<HeadlessHost>(KeyScript{}, false, "");
        PackageReader reader;
        ASSERT_TRUE(reader.openPackage(package.c_str()));
        const std::pair<const char*, int> pictures[] = {
            {"bullet.png", kSlotBullet}, {"ship.png", kSlotShip},     {"item.png", kSlotItem},
            {"enemy.png", kSlotEnemy},   {"exp.png", kSlotExplosion}, {"frame.png", kSlotFrame}};
        for (const auto& [name, slot] : pictures) {
            ASSERT_TRUE(loadImage(name, reader, sys().scratchArena, sys().imageSlots[slot]))
                << name;
        }
        sys().fieldView = 1;
        sys().inStage = 1;
        sys().stageStarted = 1;
        sys().difficulty = 1;
        sys().spawnFront<Backdrop>(layer::kStageControl);
    }

    System& sys() { return host->system(); }

    // The usual frame tasks and two players: player 0 flies TYPE-B with a ten-digit score,
    // player 1 TYPE-A2 with none.
    void stageWithTwoPlayers(bool second = true) {
        sys().spawnFront<BlackFrame>(layer::kFrame);
        sys().spawnFront<ComboFrame>(layer::kFrame);
        sys().spawnFront<LaserFrame>(layer::kFrame);
        sys().spawnFront<OutFrame>(layer::kOutFrame);
        auto* first = sys().spawnFront<StillShip>(layer::kPlayer, uint8_t{0}, uint8_t{1});
        first->x = 160 << 16;
        first->y = 300 << 16;
        first->score = 1234567890;
        first->crystals = 600;
        first->maxCombo = 35;
        first->combo = 12;
        first->comboTimer = 100;
        first->energy = 50;
        first->lives = 3;
        first->bombs = 2;
        first->extendsGiven = 3;  // the score extends are behind it
        sys().scoreTable.at(1, 1, 0).score = 8765432;
        if (!second) return;
        auto* other = sys().spawnFront<StillShip>(layer::kPlayer, uint8_t{1}, uint8_t{2});
        other->x = 250 << 16;
        other->y = 320 << 16;
        other->score = 0;
        other->energy = 20;
        other->lives = 2;
        other->bombs = 3;
    }

    // Runs until `frame` has been drawn, then stores the screen under `name`.
    void shoot(const std::string& name, uint32_t frames) {
        host->run(frames);
        record(name);
    }
    // Each picture is a test of its own: an update merges its hash into the shared file.
    void record(const std::string& name) {
        testing::GoldenPictures pictures(kHashFile,
                                         std::filesystem::path(VG_BINARY_DIR) / "effects_shots",
                                         testing::GoldenPictures::Update::MergeIntoFile);
        pictures.take(name, host->screen());
        pictures.check();
    }

    // An effect that is `age` old when the next frame draws it.
    template <class T, class... Args>
    T* aged(int layer, int32_t age, Args... args) {
        T* effect = sys().spawnBack<T>(layer, args...);
        if (effect) effect->age = age - 1;
        return effect;
    }

    std::unique_ptr<HeadlessHost> host;
};

constexpr int32_t px(int32_t pixels) {
    return pixels << 16;
}

TEST_F(GoldenEffects, PanelsOfTwoPlayersWithTenDigitsAndASingleZero) {
    stageWithTwoPlayers();
    host->run(99);
    // The replay mark, drawn without a further frame step (no replay data behind it).
    sys().replay.playingBack = 1;
    sys().draw(host->screen());
    record("panels");
}

TEST_F(GoldenEffects, BossGaugeShowingAndTheChainMovedBelowIt) {
    stageWithTwoPlayers();
    auto* gauge = sys().spawnFront<BossShieldFrame>(layer::kFrame, 5000);
    gauge->setValue(3100);
    shoot("boss_gauge", 100);
}

TEST_F(GoldenEffects, ASecondPlayerChoosingTheVariantShip) {
    stageWithTwoPlayers(false);
    sys().config.clearMarks[1] = 0x03;
    host->run(40);
    auto* out = OutFrame::find(sys());
    ASSERT_NE(out, nullptr);
    out->joiningPlayer = 1;
    out->joinChoice = 3;
    shoot("join", 60);
    EXPECT_EQ(out->joiningPlayer, 1);
}

TEST_F(GoldenEffects, StageResultAfterTheBonus) {
    stageWithTwoPlayers();
    auto* result = sys().spawnFront<Result>(layer::kFrame);
    shoot("result", 130);
    EXPECT_EQ(result->bonus[0], 35 * 1000 + 3 * 100000 + 600 * 500);
}

TEST_F(GoldenEffects, EveryExplosionKindAtItsMidpoint) {
    const int fx = 4;  // field x = screen x + 4 at the default scroll
    aged<Explosion>(layer::kEffect, 15, px(48 + fx), px(70), 0, 0, 0);
    aged<Explosion>(layer::kEffect, 15, px(120 + fx), px(70), 0, 0, 1);
    aged<Explosion>(layer::kEffect, 30, px(192 + fx), px(70), 0, 0, 2);
    aged<Explosion>(layer::kEffect, 15, px(48 + fx), px(170), 0, 0, 3);
    aged<Explosion>(layer::kEffect, 15, px(120 + fx), px(170), 0, 0, 6);
    aged<Explosion>(layer::kEffect, 15, px(192 + fx), px(170), 0, 0, 8);
    aged<ShipExplosion>(layer::kEffect, 22, px(120 + fx), px(290));
    shoot("explosions", 1);
}

TEST_F(GoldenEffects, EveryOtherEffectMidway) {
    aged<RingEffect>(layer::kEffect, 8, px(64), px(70), 16, 112, 0);
    aged<RingEffect>(layer::kEffect, 8, px(184), px(70), 16, 112, 2);
    aged<RippleEffect>(layer::kRipple, 32, px(124), px(180), 160);
    for (int level = 1; level <= 4; ++level) {
        aged<NearKillFont>(layer::kEffect, 16, px(44 + 52 * (level - 1)), px(150), 0, 0, level);
    }
    aged<GetCrystalFont>(layer::kEffect, 32, px(20), px(200), 7, 1);
    aged<GetCrystalFont>(layer::kEffect, 32, px(80), px(200), 512, 2);
    aged<GetCrystalFont>(layer::kEffect, 32, px(160), px(200), 1024, 3);
    for (int label = 0; label < 4; ++label) {
        aged<ItemFont>(layer::kEffect, 15, px(64 + 120 * (label % 2)), px(230 + 16 * (label / 2)),
                       0, 0, label);
    }
    aged<ChangeBulletNumFont>(layer::kEffect, 90, px(124), px(275), 24);
    aged<ItemEffect>(layer::kEffect, 7, px(60), px(320));
    aged<ChangeBulletEffect>(layer::kBulletChange, 16, 0, px(130), px(320), 0, 0);
    aged<BoosterEffect>(layer::kEffect, 5, px(180), px(310), 0, 90 << 16);
    aged<GetEnergyEffect>(layer::kEffect, 16, px(200), px(330));
    aged<GetCrystalParticle>(layer::kEffect, 16, px(210), px(320), 1);
    for (int i = 0; i < 6; ++i) sys().spawnBack<BrokenPiece>(layer::kEffect, px(180), px(345));
    for (int i = 0; i < 6; ++i) sys().spawnBack<FireSpark>(layer::kEffect, px(220), px(345));
    shoot("effects", 5);
}

TEST_F(GoldenEffects, ABossBlowingUpOverItsBullets) {
    for (int i = 0; i < 120; ++i) {
        fireAngled(sys(), px(12 + (i * 37) % 232), px(40 + (i * 53) % 320), 90 << 16, 0,
                   static_cast<uint8_t>(i % 7), -1);
    }
    bench::spawnBossFinale(sys(), px(124), px(150));
    shoot("boss_finale", 12);
}

TEST_F(GoldenEffects, AShipBlowingUp) {
    // As a ship dies: the light, the blast, a ring and debris, a few frames in.
    sys().spawnFront<ShipExplosionLight>(layer::kEffect, px(124), px(300), 0);
    sys().spawnFront<ShipExplosion>(layer::kEffect, px(124), px(300));
    sys().spawnFront<RingEffect>(layer::kEffect, px(124), px(300), 16, 512, 0);
    for (int i = 0; i < 32; ++i) sys().spawnFront<BrokenPiece>(layer::kEffect, px(124), px(300));
    shoot("ship_explosion", 4);
}

}  // namespace
}  // namespace vg
