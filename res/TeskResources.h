#pragma once
// The pictures compiled into the editor, by resource path, and the pages the link buttons
// open.

namespace tesk::resources {

/// Registers the compiled-in pictures; call once before loading any path below.
void init();

inline constexpr const char* kIcon = ":/tesk.png";

/// 84 x 63 pictures of the control panel's link buttons.
inline constexpr const char* kHomePageButton = ":/link/homepage.png";
inline constexpr const char* kBlogButton = ":/link/blog.png";
/// The maker's pages are not known to this build; these reserved names stand in for them.
inline constexpr const char* kHomePageAddress = "https://brenmold.example/";
inline constexpr const char* kBlogAddress = "https://brenmold.example/blog/";

/// 48 x 36 faces of the nine shape-type buttons in ring order ("L [1]" .. "PS [4]").
inline constexpr const char* kShapeTypeFaces[9] = {
    ":/faces/L1.png", ":/faces/L2.png",  ":/faces/S1.png",  ":/faces/S2.png",  ":/faces/S3.png",
    ":/faces/S4.png", ":/faces/PL1.png", ":/faces/PS2.png", ":/faces/PS4.png",
};

} // namespace tesk::resources
