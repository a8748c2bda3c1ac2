#include "screens/GameInit.h"

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "resources/Package.h"
#include "resources/Png.h"
#include "screens/Logo.h"
#include "screens/ScreenBase.h"

namespace vg {

void GameInit::update() {
    System* system = systemOf(*this);
    end();
    if (!system) return;
    loadSharedAssets(*system);
    system->spawnFront<Logo>(layer::kScreens);
}

void GameInit::loadSharedAssets(System& system) {
    menuMemory() = MenuMemory{};
    resetKeys(system);
    system.fieldView = 0;

    PackageReader reader;
    reader.openPackage("data.pck");
    auto load = [&](const char* name, int slot) {
        loadImage(name, reader, system.scratchArena, system.imageSlots[slot]);
    };
    // Loaded twice into the same slot, as the game always has; the second load replaces the
    // first with the same picture.
    load("bullet.png", kSlotBullet);
    load("bullet.png", kSlotBullet);
    load("ship.png", kSlotShip);
    load("item.png", kSlotItem);
    load("enemy.png", kSlotEnemy);
    load("exp.png", kSlotExplosion);
    load("frame.png", kSlotFrame);
    reader.closePackage();

    system.loadSaveData(system.saveFileName.c_str());
    loadSoundEffects(system);
    // Again after the effects exist, so they get the saved volume too.
    setMusicVolume(system, system.config.musicVolume);
    setSEVolume(system, system.config.seVolume);
}

}  // namespace vg
