#pragma once

#include <span>

namespace tarnix {

// Resource ids of the key tones and the click built into the program.
inline constexpr int KeyToneResources[] = {133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 146, 144};
inline constexpr int ClickToneResource = 147;

// The bytes of the program's WAVE resource with that id; empty when there is none.
std::span<const unsigned char> findWaveResource(int id);

}  // namespace tarnix
