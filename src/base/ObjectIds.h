#pragma once
// The one process-wide counter behind the ids of images and preview meshes.

namespace tesk {

/// Returns the next id: 0 on the first call, then 1, 2, ...
int nextObjectId();

} // namespace tesk
