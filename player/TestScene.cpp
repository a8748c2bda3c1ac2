#include "player/TestScene.h"

#include "core/GameRandom.h"
#include "core/Layers.h"
#include "core/System.h"
#include "enemy/EnemyBase.h"
#include "enemy/ShadowRender.h"
#include "player/Pickups.h"
#include "player/PlayerCollision.h"
#include "player/PlayerShadowRender.h"
#include "player/Ships.h"
#include "render/Blit.h"
#include "resources/ImageSlots.h"
#include "resources/Package.h"
#include "resources/Png.h"

namespace vg {

namespace {

// The empty field: a plain colour with grid lines every 32 field pixels, so a screenshot shows
// where the field scroll stands.
class TestBackground : public Task {
  public:
    explicit TestBackground(uint32_t colour) : colour_(colour) {}

    void draw(DIB& surface) override {
        const System* sys = systemOf(*this);
        if (!sys) return;
        fillRect(&surface, 0, 0, surface.width, surface.height, colour_, 0, 128);
        for (int32_t fieldX = 0; fieldX <= 272; fieldX += 32) {
            fillRect(&surface, screenX(*sys, fixedFromInt(fieldX)), 0, 1, surface.height, 0x101010,
                     Add, 255);
        }
        for (int32_t row = 0; row < surface.height; row += 32) {
            fillRect(&surface, 0, row, surface.width, 1, 0x101010, Add, 255);
        }
    }

  private:
    uint32_t colour_;
};

void loadPlayImages(System& system) {
    struct Picture {
        const char* name;
        int slot;
    };
    static constexpr Picture kPictures[] = {
        {"bullet.png", kSlotBullet}, {"ship.png", kSlotShip},     {"item.png", kSlotItem},
        {"enemy.png", kSlotEnemy},   {"exp.png", kSlotExplosion}, {"frame.png", kSlotFrame},
    };
    PackageReader reader;
    // A missing package is not an error: loadImage then looks for the loose file.
    reader.openPackage("data.pck");
    for (const Picture& picture : kPictures) {
        if (system.imageSlots[picture.slot].empty()) {
            loadImage(picture.name, reader, system.scratchArena, system.imageSlots[picture.slot]);
        }
    }
    reader.closePackage();
}

}  // namespace

int startTestScene(System& system, int shipType0, int shipType1, const TestSceneOptions& options) {
    system.endAll();
    if (options.loadImages) loadPlayImages(system);
    system.fieldView = 1;
    system.fieldScroll = fixedFromInt(16);
    system.shakeOffsetX = 0;
    system.shakeOffsetY = 0;
    gameRandom().randomSeed(GameRandom::kDefaultSeed);
    resetEnemySerials();

    system.spawnBack<TestBackground>(layer::kBack, options.background);
    system.spawnBack<ShadowRender>(layer::kShadow);
    system.spawnBack<ItemShadowRender>(layer::kShadow);
    system.spawnBack<PlayerShadowRender>(layer::kShadow);
    system.spawnBack<PlayerCollision>(layer::kPlayerCollision);

    int made = 0;
    const int types[2] = {shipType0, shipType1};
    for (uint8_t index = 0; index < 2; ++index) {
        PlayerRecord& record = system.playerRecord[index];
        record = PlayerRecord{};
        if (types[index] < 0 || types[index] > 3) continue;
        auto* ship =
            static_cast<ShipBase*>(createShip(system, static_cast<uint8_t>(types[index]), index));
        if (!ship) continue;
        ++made;
        record.lives = ship->lives;
        record.bombs = static_cast<uint8_t>(ship->bombs);
        record.energy = ship->energy;
        switch (options.start) {
            case TestStart::Ready:
                ship->lifeState = PlayerState::Normal;
                ship->stateTimer = 0;
                ship->moveTo(fixedFromInt(index ? 160 : 80), fixedFromInt(250));
                break;
            case TestStart::Entering:
                break;
            case TestStart::Waiting:
                ship->lifeState = PlayerState::Waiting;
                ship->stateTimer = 148;
                break;
        }
    }
    return made;
}

}  // namespace vg
