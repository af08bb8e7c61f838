#pragma once
// What the programs know about their own installation: their version, and where the sample
// effect pictures and the manual are.

#include <filesystem>

namespace tesk {

/// The project's version, as CMake's project() states it ("0.0.5.1").
const char* programVersion();

/// The folder the effect picture dialog starts in, for a program whose executable is in
/// `programDir`: `effect/` beside the executable when that folder exists (a build tree, or a
/// copy laid out as designed), else `../share/tesk/effect/` relative to it when that exists
/// (an installed package). When neither exists, the one beside the executable.
std::filesystem::path effectPictureFolder(const std::filesystem::path& programDir);

/// The folder of the manual and change log pages: `doc/` beside the executable when it exists
/// (a build tree), else `../share/doc/tesk/` when that exists (an installed package), else the
/// one beside the executable.
std::filesystem::path documentationFolder(const std::filesystem::path& programDir);

} // namespace tesk
