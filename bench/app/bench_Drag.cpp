// Drags in the real main window (run under xvfb-run -s "-screen 0 1280x800x24"): a transform
// slider's thumb held and moved in 200 steps, and the camera turned by 200 mouse moves over
// the preview, on the largest editable shape with every point selected. Each move waits
// until the preview has drawn the new frame. Reports frames per second (goal: 60 or more) and
// the process CPU time per frame, all threads included: on a busy machine the wall clock
// shows the wait for a share of the cores, the CPU time the work. scripts/bench-drag runs it
// three times and prints the machine's load beside it.

#include "BenchShapes.h"
#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "GLView.h"
#include "Messages.h"
#include "PECForm.h"
#include "PECView.h"
#include "SliderHandle.h"
#include "TeskResources.h"

#include <GL/gl.h>
#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>
#include <string>

using namespace tesk;
using tesk::testing::sliderHandleCentre;

namespace {

constexpr int kSteps = 200;

struct RebuildCounter : DocumentListener {
    void shapeRebuilt() override { ++count; }
    int64_t count = 0;
};

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

/// The editor in a 1280 x 800 window, built once for every benchmark.
struct Editor {
    Editor() {
        GLView::setDefaultSurfaceFormat();
        app = std::make_unique<QApplication>(argc, argv);
        resources::init();
        doc = std::make_unique<Ctesk001Doc>(messages, "/");
        preview = std::make_unique<DocumentPreview>(*doc, scene);
        frame = std::make_unique<CTeskMainFrame>(*doc, *preview, messages, chooser);
        frame->resize(1280, 800);
        frame->show();
        frame->layoutPanes(1280, 800);
        ready = QTest::qWaitForWindowExposed(frame.get());
        bench::loadLargestShape(*doc, DIM_POLES_BSPLINE, 0);
        doc->setHandles(std::vector<uint32_t>(doc->handleCount(), CELL_SELECTED));
        doc->addListener(&rebuilds);
        QTest::qWait(200);
        QObject::connect(frame->preview(), &GLView::frameDrawn, [this] { ++framesShown; });
        // Named in every result, so a figure from a hardware driver is told apart.
        if (frame->preview()->makeCurrent()) {
            renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
            frame->preview()->doneCurrent();
        }
    }
    ~Editor() { doc->removeListener(&rebuilds); }

    /// Runs the event loop until the window has shown one more frame.
    void waitForFrame(int before) {
        while (framesShown == before) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

    int argc = 1;
    char name[6] = "bench";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    RecordingMessages messages;
    QtFileChooser chooser;
    GLScene scene;
    std::unique_ptr<Ctesk001Doc> doc;
    std::unique_ptr<DocumentPreview> preview;
    std::unique_ptr<CTeskMainFrame> frame;
    RebuildCounter rebuilds;
    bool ready = false;
    int framesShown = 0;
    std::string renderer = "no GL";
};

Editor* editor(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("needs an X display: run under xvfb-run");
        return nullptr;
    }
    static Editor shared;
    if (!shared.ready) {
        state.SkipWithError("the editor did not come up");
        return nullptr;
    }
    return &shared;
}

/// Frames per second over the wall clock, CPU milliseconds per frame and the view's size.
void reportFrames(benchmark::State& state, const GLView& view, int64_t frames, double cpuMs) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["cpu_ms_per_frame"] = frames > 0 ? cpuMs / static_cast<double>(frames) : 0.0;
    state.counters["view_w"] = view.width();
    state.counters["view_h"] = view.height();
}

void BM_SliderDragFrames(benchmark::State& state) {
    Editor* e = editor(state);
    if (e == nullptr) {
        return;
    }
    QSlider* slider =
        e->frame->transformPane()->panel()->slider(static_cast<TransformSlider>(state.range(0)));
    e->frame->transformPane()->panelArea()->ensureWidgetVisible(slider);
    const int span = slider->maximum() - slider->minimum();
    const int64_t rebuildsBefore = e->rebuilds.count;
    int64_t frames = 0;
    const double cpuBefore = processCpuMs();
    for (auto _ : state) {
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier,
                          sliderHandleCentre(slider, slider->value()));
        for (int k = 0; k < kSteps; ++k) {
            const int was = slider->value();
            const int before = e->framesShown;
            QTest::mouseMove(slider,
                             sliderHandleCentre(slider, slider->minimum() + span * k / kSteps));
            if (slider->value() != was) { // a move that reaches no new position draws nothing
                e->waitForFrame(before);
                ++frames;
            }
        }
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier,
                            sliderHandleCentre(slider, slider->value()));
        e->waitForFrame(e->framesShown);
    }
    reportFrames(state, *e->frame->preview(), frames, processCpuMs() - cpuBefore);
    state.SetLabel(e->renderer);
    state.counters["rebuilds"] = static_cast<double>(e->rebuilds.count - rebuildsBefore);
}

void BM_CameraDragFrames(benchmark::State& state) {
    Editor* e = editor(state);
    if (e == nullptr) {
        return;
    }
    GLView& view = *e->frame->preview();
    const auto send = [&view](QEvent::Type type, QPoint at, Qt::MouseButton button,
                              Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(view.mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    };
    const QPoint start(10, view.height() - 10); // background, below the shape
    int64_t frames = 0;
    const double cpuBefore = processCpuMs();
    for (auto _ : state) {
        send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        for (int k = 1; k <= kSteps; ++k) {
            const int before = e->framesShown;
            send(QEvent::MouseMove, start + QPoint(k, -k / 2), Qt::NoButton, Qt::LeftButton);
            e->waitForFrame(before);
            ++frames;
        }
        send(QEvent::MouseButtonRelease, start + QPoint(kSteps, -kSteps / 2), Qt::LeftButton,
             Qt::NoButton);
        e->waitForFrame(e->framesShown);
    }
    reportFrames(state, view, frames, processCpuMs() - cpuBefore);
    state.SetLabel(e->renderer);
}

} // namespace

// One repetition is one whole drag of 200 steps; the median of the three is the figure.
BENCHMARK(BM_SliderDragFrames)
    ->ArgName("slider")
    ->Arg(SLIDER_MOVE_X)
    ->Arg(SLIDER_ROTATE_Y)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_CameraDragFrames)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
