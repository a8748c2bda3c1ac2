#pragma once

#include <cstdint>
#include <string_view>
#include <typeindex>
#include <unordered_map>

namespace vg {

class EnemyBase;
class TaskManager;

// The digest of the state of play that a replay's check trail holds: 32-bit FNV-1a over these
// values, each as 4 little-endian bytes, in this order:
//   the random generator's position (its index in the current block and its next output);
//   for each player 0, 1: whether its ship is there, then x, y, score, lives, power, energy;
//   for each live enemy of the ground, ground-middle and air layers in update order: its kind
//   code, x, y, hit points;
//   for each live enemy bullet in update order: x, y.
// The same input from the same start gives the same digests; a departure of play changes them
// within a frame or two. Keeps the kind codes it has worked out, so make one and reuse it.
class PlayDigest {
  public:
    uint32_t operator()(const TaskManager& tasks);

    // An enemy kind's code in the digest: FNV-1a of its class name without namespaces ("Kite"),
    // the same in every build and with every compiler, unlike an address or a mangled name.
    static uint32_t kindCode(std::string_view className);
    // The class name of `enemy`'s kind without namespaces, as kindCode takes it.
    static std::string kindName(const EnemyBase& enemy);

  private:
    uint32_t codeOf(const EnemyBase& enemy);

    std::unordered_map<std::type_index, uint32_t> codes_;
};

}  // namespace vg
