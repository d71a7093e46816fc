#pragma once

namespace tarnix {

// The version the About box shows and the update check sends.
inline constexpr char kProgramVersion[] = "0.9.2.0";

}  // namespace tarnix
