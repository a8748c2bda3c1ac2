#pragma once

#include <cstdint>
#include <span>

#include "AtlasCells.h"
#include "core/PlayField.h"
#include "enemy/EnemyBase.h"
#include "enemy/EnemyCommon.h"

namespace vg {

// What a kill is worth (the tiers of the content guide): the chain time and base score of the
// kill reward, the energy a laser kill costs, and what is added to the near-kill level for the
// energy drop.
struct KindReward {
    int32_t chainTime;
    int32_t baseScore;
    int32_t energyCost;
    int32_t energyBonus;
};

// The box a kind may roam, in whole pixels (a position on a bound is inside).
struct KindBounds {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// How a kind ends when its hit points run out.
enum class Destruction : uint8_t {
    // In one frame: reward, energy, a white-hot burst, the burning wreck for a ground kind
    // (`wreck`), the closing blast, sound 7.
    SmallCraft,
    // In one frame: reward, energy, destroy effects with 8 pieces, the closing blast, sound 7.
    Quick,
    // Bursting where it stands over a few frames (`bursts`).
    Bursts,
    // The kind's own sequence (destructionStep), one step a frame.
    Own,
};

// The bursts of Destruction::Bursts: at step 0 the kill reward, the first bursts and the sound;
// at the middle step the middle bursts; at twice it the last bursts, the energy drop, the
// closing blast (with its shock ring when `ring`), and the kind ends.
struct KindBursts {
    int32_t debris;  // pieces of every burst
    int32_t middleStep;
    int32_t sound;
    bool ring;
    std::span<const PixelOffset> first;
    std::span<const PixelOffset> middle;
    std::span<const PixelOffset> last;
};

// The picture a kind is drawn from.
enum class Sheet : uint8_t { Enemy, Stage };

// Everything about a kind that is a number: one constant table per kind, beside its class.
struct KindFigures {
    int32_t hitPoints;  // at creation, and the full value of the low-hit-point blink
    int32_t entryHold;  // frames the hit points are held at full, so it cannot die entering
    HitBox hitBox;
    KindBounds bounds;
    KindReward reward;
    Destruction destruction;
    bool wreck = false;  // SmallCraft: leaves a burning wreck
    KindBursts bursts{};
    // A destroyed kind that keeps moving (sinks, rides the ground) runs move() and the bounds
    // test before each destruction step; the others stand still.
    bool movesWhileDead = false;
    Sheet sheet = Sheet::Enemy;
    const atlas::Cell* sprite = nullptr;  // drawn at its anchor from the position
    const atlas::Cell* shadow = nullptr;  // an air kind's shadow picture
    ShadowPicture shadowPicture = ShadowPicture::Sprite;
};

// The base of the enemy kinds: the figures table and the standard frame, so that a kind writes
// only how it moves and fires. The frame, in this order:
//
//   destroyed and standing still: the next destruction step, nothing else
//   move()                         the kind's motion
//   out of its bounds:             leaveField(), the kind ends
//   destroyed (and moving):        the next destruction step, nothing else
//   beforeHits()                   what the kind does before it is struck (aim, flames)
//   the hit pass; hit points held at full for the entry frames
//   afterHits()                    what may take hit points outside the hit pass (time limit)
//   out of hit points:             the first destruction step (destroyed() at its start)
//   act()                          aim and fire
//   age + 1
//
// A kind whose rules give another order overrides update() and calls the same pieces.
class KindBase : public EnemyBase {
  public:
    KindBase(int32_t x, int32_t y, const KindFigures& figures);

    void update() override;
    // The shadow (where drawSprite draws it), then the sprite, red while the low-hit-point
    // blink is on, with the hit flash.
    void draw(DIB& surface) override;
    // An air kind's shadow from figures.shadow, frame shadowFrame().
    void drawShadow(DIB& surface) override;

    const KindFigures& figures() const { return figures_; }

    int32_t deathCounter = 0;
    int32_t nearKill = 0;  // the level the kill reward returned, for the later energy drop

  protected:
    virtual void move(System& system) = 0;
    virtual void beforeHits(System& system) { (void)system; }
    virtual void afterHits(System& system) { (void)system; }
    virtual void act(System& system) = 0;
    // The frame it leaves its bounds, before it ends.
    virtual void leaveField(System& system) { (void)system; }
    // The first step of its destruction, after the kill reward (a carrier leaves its item).
    virtual void destroyed(System& system) { (void)system; }
    // The next step of a Destruction::Own sequence.
    virtual void destructionStep(System& system) { (void)system; }

    // The next destruction step of the kind's style.
    void destructionFrame(System& system);
    // Whether the position lies beyond the figures' bounds.
    bool outsideItsBounds() const;
    // The sprite: figures.sprite, frame spriteFrame(), at its anchor.
    virtual void drawSprite(DIB& surface, const System& system, bool red);
    virtual int32_t spriteFrame() const { return 0; }
    virtual int32_t shadowFrame() const { return spriteFrame(); }
    const DIB& sheet(const System& system) const;

  private:
    const KindFigures& figures_;
};

}  // namespace vg
