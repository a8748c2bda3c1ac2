// Stand-ins so that the game links while the effects are being written: each effect ends in its
// first update and draws nothing. The effects work replaces this file with the real classes.
#include "effects/Explosions.h"
#include "effects/FloatingText.h"
#include "effects/Particles.h"
#include "effects/Rings.h"
#include "effects/ScreenEffects.h"

namespace vg {

Explosion::Explosion(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t k)
    : Effect(x, y, vx, vy), kind(k) {}
void Explosion::update() {
    end();
}
void Explosion::draw(DIB&) {}

VozerorExplosion::VozerorExplosion(int32_t x, int32_t y) : Effect(x, y), direction(0), turn(0) {}
void VozerorExplosion::update() {
    end();
}

BrokenPiece::BrokenPiece(int32_t x, int32_t y) : Effect(x, y) {}
void BrokenPiece::update() {
    end();
}
void BrokenPiece::draw(DIB&) {}

FireSpark::FireSpark(int32_t x, int32_t y) : Effect(x, y), trailX{}, trailY{}, trailSize{} {}
void FireSpark::update() {
    end();
}
void FireSpark::draw(DIB&) {}

Burn::Burn(int32_t x, int32_t y) : Effect(x, y) {}
void Burn::update() {
    end();
}
void Burn::draw(DIB&) {}

ShipExplosion::ShipExplosion(int32_t x, int32_t y) : Effect(x, y) {}
void ShipExplosion::update() {
    end();
}
void ShipExplosion::draw(DIB&) {}

ShipExplosionLight::ShipExplosionLight(int32_t x, int32_t y, int32_t v)
    : Effect(x, y), variant(v) {}
void ShipExplosionLight::update() {
    end();
}
void ShipExplosionLight::draw(DIB&) {}

RingEffect::RingEffect(int32_t x, int32_t y, int32_t l, int32_t s, int32_t v)
    : Effect(x, y), lifetime(l), finalSize(s), variant(v) {}
void RingEffect::update() {
    end();
}
void RingEffect::draw(DIB&) {}

RippleEffect::RippleEffect(int32_t x, int32_t y, int32_t s) : Effect(x, y), size(s) {}
void RippleEffect::update() {
    end();
}
void RippleEffect::draw(DIB&) {}

BoosterEffect::BoosterEffect(int32_t x, int32_t y, int32_t, int32_t) : Effect(x, y) {}
void BoosterEffect::update() {
    end();
}
void BoosterEffect::draw(DIB&) {}

GetEnergyEffect::GetEnergyEffect(int32_t x, int32_t y) : Effect(x, y) {}
void GetEnergyEffect::update() {
    end();
}
void GetEnergyEffect::draw(DIB&) {}

GetCrystalParticle::GetCrystalParticle(int32_t x, int32_t y, int32_t k) : Effect(x, y), kind(k) {}
void GetCrystalParticle::update() {
    end();
}
void GetCrystalParticle::draw(DIB&) {}

ChangeBulletEffect::ChangeBulletEffect(int32_t d, int32_t x, int32_t y, int32_t vx, int32_t vy)
    : Effect(x, y, vx, vy), wait(d) {}
void ChangeBulletEffect::update() {
    end();
}
void ChangeBulletEffect::draw(DIB&) {}

ItemEffect::ItemEffect(int32_t x, int32_t y) : Effect(x, y) {}
void ItemEffect::update() {
    end();
}
void ItemEffect::draw(DIB&) {}

NearKillFont::NearKillFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t l)
    : Effect(x, y, vx, vy), level(l) {}
void NearKillFont::update() {
    end();
}
void NearKillFont::draw(DIB&) {}

ChangeBulletNumFont::ChangeBulletNumFont(int32_t x, int32_t y, int32_t n)
    : Effect(x, y), count(n) {}
void ChangeBulletNumFont::update() {
    end();
}
void ChangeBulletNumFont::draw(DIB&) {}

GetCrystalFont::GetCrystalFont(int32_t x, int32_t y, int32_t v, int32_t k)
    : Effect(x, y), value(v), sizeKind(k) {}
void GetCrystalFont::update() {
    end();
}
void GetCrystalFont::draw(DIB&) {}

ItemFont::ItemFont(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t l)
    : Effect(x, y, vx, vy), label(l) {}
void ItemFont::update() {
    end();
}
void ItemFont::draw(DIB&) {}

Flash::Flash(int32_t d) : Effect(0, 0), duration(d), remaining(d) {}
void Flash::update() {
    end();
}
void Flash::draw(DIB&) {}

Blur::Blur(int32_t d) : Effect(0, 0), duration(d), remaining(d) {}
void Blur::update() {
    end();
}

Vibration::Vibration(int32_t a, int32_t d) : Effect(0, 0), amplitude(a), duration(d) {}
void Vibration::update() {
    end();
}

OpticalEffect::OpticalEffect(int32_t x, int32_t y) : Effect(x, y) {}
void OpticalEffect::update() {
    end();
}
void OpticalEffect::draw(DIB&) {}

}  // namespace vg
