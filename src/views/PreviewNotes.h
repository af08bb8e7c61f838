#pragma once
// The notes in the preview's corner, in the user's language: the level of detail shown, how an
// imported map was fitted, and what viewers would show otherwise than the editor does.

#include <QString>

namespace tesk {

struct CheckFinding;
struct MapFitResult;

/// "16 faces, as viewers build it" for a level of detail.
QString lodLevelNote(int faces);
/// The imported map's type and net, and how far its rebuild is from the picture.
QString importNote(const MapFitResult& fit);
/// A warning or an error of the map check, with its severity and what it is about; empty for
/// a finding that is fine.
QString findingNote(const CheckFinding& finding);

} // namespace tesk
