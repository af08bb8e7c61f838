#include "GlxContext.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace tesk::test {

namespace {

bool xErrorSeen = false;

int recordXError(Display*, XErrorEvent*) {
    xErrorSeen = true;
    return 0;
}

} // namespace

struct GlxContext::Handles {
    Display* display = nullptr;
    GLXPbuffer pbuffer = 0;
    GLXContext context = nullptr;
};

GlxContext::GlxContext(int width, int height) : handles(std::make_unique<Handles>()) {
    Handles& h = *handles;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        failure = "DISPLAY is not set";
        return;
    }
    // Xvfb now and then refuses a connection made right after another one closed.
    for (int attempt = 0; attempt < 20 && h.display == nullptr; ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        h.display = XOpenDisplay(nullptr);
    }
    if (h.display == nullptr) {
        failure = std::string("cannot open display ") + name;
        return;
    }
    displayOpened = true;
    int major = 0;
    int minor = 0;
    if (!glXQueryVersion(h.display, &major, &minor) || major < 1 || (major == 1 && minor < 3)) {
        failure = "GLX 1.3 is not available";
        return;
    }
    const int configAttributes[] = {GLX_DRAWABLE_TYPE,
                                    GLX_PBUFFER_BIT,
                                    GLX_RENDER_TYPE,
                                    GLX_RGBA_BIT,
                                    GLX_RED_SIZE,
                                    8,
                                    GLX_GREEN_SIZE,
                                    8,
                                    GLX_BLUE_SIZE,
                                    8,
                                    GLX_DEPTH_SIZE,
                                    24,
                                    GLX_DOUBLEBUFFER,
                                    False,
                                    GLX_SAMPLE_BUFFERS,
                                    0,
                                    None};
    int configCount = 0;
    GLXFBConfig* configs =
        glXChooseFBConfig(h.display, DefaultScreen(h.display), configAttributes, &configCount);
    if (configs == nullptr || configCount == 0) {
        failure = "no GLX pbuffer configuration";
        return;
    }
    const GLXFBConfig config = configs[0];
    XFree(configs);

    // Xlib's default handler would end the process on a refused request.
    const auto previous = XSetErrorHandler(recordXError);
    xErrorSeen = false;
    const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, None};
    h.pbuffer = glXCreatePbuffer(h.display, config, pbufferAttributes);
    h.context = glXCreateNewContext(h.display, config, GLX_RGBA_TYPE, nullptr, True);
    XSync(h.display, False);
    XSetErrorHandler(previous);
    if (xErrorSeen || h.pbuffer == 0 || h.context == nullptr) {
        failure = "the GLX pbuffer or context could not be created";
        return;
    }
    current = glXMakeContextCurrent(h.display, h.pbuffer, h.pbuffer, h.context);
    if (!current) {
        failure = "the GLX context could not be made current";
    }
}

GlxContext::~GlxContext() {
    Handles& h = *handles;
    if (h.display == nullptr) {
        return;
    }
    if (current) {
        glXMakeContextCurrent(h.display, None, None, nullptr);
    }
    if (h.context != nullptr) {
        glXDestroyContext(h.display, h.context);
    }
    if (h.pbuffer != 0) {
        glXDestroyPbuffer(h.display, h.pbuffer);
    }
    XCloseDisplay(h.display);
}

} // namespace tesk::test
