#pragma once
// An offscreen GL context for the GL tests: a single-buffered GLX pbuffer on the X display,
// with no window and no Qt.

#include <memory>
#include <string>

namespace tesk::test {

class GlxContext {
public:
    GlxContext(int width, int height);
    ~GlxContext();
    GlxContext(const GlxContext&) = delete;
    GlxContext& operator=(const GlxContext&) = delete;

    /// False when no X display could be opened: the caller skips.
    bool hasDisplay() const { return displayOpened; }
    /// True when the context is current on the pbuffer.
    bool isCurrent() const { return current; }
    const std::string& error() const { return failure; }

private:
    struct Handles;
    std::unique_ptr<Handles> handles;
    bool displayOpened = false;
    bool current = false;
    std::string failure;
};

} // namespace tesk::test
