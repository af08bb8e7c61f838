#pragma once
// The pictures compiled into the editor, by resource path, and the pages the link buttons
// open.

#include <QString>

namespace tesk::resources {

/// Registers the compiled-in pictures; call once before loading any path below.
void init();

inline constexpr const char* kIcon = ":/tesk.png";

/// 84 x 63 pictures of the control panel's link buttons.
inline constexpr const char* kHomePageButton = ":/link/homepage.png";
inline constexpr const char* kBlogButton = ":/link/blog.png";
/// The pages the link buttons open, shipped with the program (see documentationFolder): the
/// manual, and the change log.
inline constexpr const char* kManualPage = "manual.html";
inline constexpr const char* kChangesPage = "changes.html";

/// 48 x 36 faces of the shape-type buttons: the folder, then the face name of the type's
/// table entry and ".png".
inline constexpr const char* kShapeTypeFaceFolder = ":/faces/";

/// 24 x 24 level badges of the 2-D editor: important (1), secondary (2), ordinary (3).
inline constexpr const char* kImportantBadge = ":/net/level1.png";
inline constexpr const char* kSecondaryBadge = ":/net/level2.png";
inline constexpr const char* kNormalBadge = ":/net/level3.png";
/// 32 x 32 scissors of the 2-D editor's divide mode, stored colour-inverted.
inline constexpr const char* kScissors = ":/net/scissors.png";

/// The resource path of a shape-type button's face.
inline QString shapeTypeFace(const char* face) {
    return QString::fromLatin1(kShapeTypeFaceFolder) + QString::fromLatin1(face) +
           QStringLiteral(".png");
}

} // namespace tesk::resources
