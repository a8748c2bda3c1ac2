#include "player/PlayerBase.h"

#include <algorithm>
#include <limits>

#include "core/GameSound.h"
#include "core/Layers.h"
#include "core/System.h"
#include "core/TaskQuery.h"
#include "render/Blit.h"
#include "sound/SoundBank.h"

namespace vg {

namespace {

// Lives and bombs stay within what a signed byte and the panels can show.
constexpr int8_t kMaxStock = 99;

// Score extends: one life each time the score passes these, in order.
constexpr int32_t kExtendScores[] = {20'000'000, 45'000'000, 150'000'000};

}  // namespace

PlayerBase::PlayerBase(uint8_t index)
    : x(index == 1 ? fixedFromInt(240) : 0),
      y(fixedFromInt(400)),
      speed(fixedFromInt(3)),
      playerIndex(index) {}

void PlayerBase::update() {}

void PlayerBase::draw(DIB& surface) {
    const System* sys = system();
    if (!sys) return;
    const int32_t sx = fixedToInt(x) + fixedToInt(sys->shakeOffsetX);
    const int32_t sy = fixedToInt(y) + fixedToInt(sys->shakeOffsetY);
    fillRect(&surface, sx + hitBox.left, sy + hitBox.top, hitBox.right - hitBox.left,
             hitBox.bottom - hitBox.top, 0xff0000, 0, 255);
}

void PlayerBase::bomb() {}

void PlayerBase::powerUp() {
    ++power;
    maxShots = static_cast<uint8_t>(maxShots + 2);
}

void PlayerBase::addBomb() {
    if (bombs < kMaxStock) ++bombs;
}

void PlayerBase::drawHitMark(DIB& surface) {
    (void)surface;
}

System* PlayerBase::system() const {
    return systemOf(*this);
}

PlayerBase* PlayerBase::find(const TaskManager& manager, int index) {
    PlayerBase* found = nullptr;
    forEachInLayer<PlayerBase>(manager, layer::kPlayer, [&](PlayerBase& player) {
        if (!found && player.playerIndex == index) found = &player;
    });
    return found;
}

void PlayerBase::addScore(int64_t amount) {
    const int64_t sum = static_cast<int64_t>(score) + amount;
    score = static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                     std::numeric_limits<int32_t>::max()));
    if (extendsGiven < std::size(kExtendScores) && score > kExtendScores[extendsGiven]) {
        if (lives < kMaxStock) ++lives;
        ++extendsGiven;
        if (System* sys = system()) playSound(*sys, SoundManager::kSoundExtend);
    }
}

void PlayerBase::addKill(int32_t chainTime, int32_t baseScore) {
    comboTimer =
        static_cast<int16_t>(std::clamp<int32_t>(comboTimer + chainTime, 0, kMaxComboTimer));
    if (combo < kMaxCombo) ++combo;
    maxCombo = std::max(maxCombo, combo);
    addScore(static_cast<int64_t>(baseScore) * combo + static_cast<int64_t>(crystals) * 10);
}

void PlayerBase::restoreFromRecord(const PlayerRecord& record) {
    lifeState = PlayerState::Waiting;
    stateTimer = 148;
    lives = static_cast<int8_t>(std::clamp<int>(record.lives, 0, kMaxStock));
    bombs = static_cast<int8_t>(std::clamp<int>(record.bombs, 0, kMaxStock));
    energy = static_cast<int16_t>(std::clamp<int32_t>(record.energy, 0, kMaxEnergy));
    score = record.score;
    // A stored level of 0 is every new game: power 0 with the ship's own shot cap. Otherwise
    // the level below it, raised by one power-up so that the shot cap follows.
    if (record.power > 0) {
        power = static_cast<uint8_t>(std::min<int>(record.power, 5) - 1);
        powerUp();
    }
    extendsGiven = score > 150'000'000 ? 3 : score > 45'000'000 ? 2 : score > 20'000'000 ? 1 : 0;
}

void PlayerBase::enterAutopilot(PlayerRecord& record) {
    lifeState = PlayerState::Autopilot;
    stateTimer = 0;
    record.shipType = shipType();
    record.lives = lives;
    record.power = power;
    record.bombs = static_cast<uint8_t>(bombs);
    record.energy = energy;
    record.score = score;
    record.finalScore = score;
}

uint8_t PlayerBase::buttons() const {
    const System* sys = system();
    return sys ? sys->keyRecords[playerIndex & 1].buttons : 0;
}

}  // namespace vg
