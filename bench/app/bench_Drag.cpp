// A transform slider dragged in the real main window (run under xvfb-run): 200 mouse moves of
// the held thumb over the largest editable shape with every point selected, each move waiting
// until the window has shown the new frame. Reports frames per second (goal: 60 or more).

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

#include <QApplication>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tesk;
using tesk::testing::sliderHandleCentre;

namespace {

constexpr int kSteps = 200;

struct RebuildCounter : DocumentListener {
    void shapeRebuilt() override { ++count; }
    int64_t count = 0;
};

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
        QObject::connect(frame->preview(), &QOpenGLWidget::frameSwapped, [this] { ++framesShown; });
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
};

void BM_SliderDragFrames(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("needs an X display: run under xvfb-run");
        return;
    }
    static Editor e;
    if (!e.ready) {
        state.SkipWithError("the editor did not come up");
        return;
    }
    QSlider* slider =
        e.frame->transformPane()->panel()->slider(static_cast<TransformSlider>(state.range(0)));
    e.frame->transformPane()->panelArea()->ensureWidgetVisible(slider);
    const int span = slider->maximum() - slider->minimum();
    const int64_t rebuildsBefore = e.rebuilds.count;
    int64_t frames = 0;
    for (auto _ : state) {
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier,
                          sliderHandleCentre(slider, slider->value()));
        for (int k = 0; k < kSteps; ++k) {
            const int was = slider->value();
            const int before = e.framesShown;
            QTest::mouseMove(slider,
                             sliderHandleCentre(slider, slider->minimum() + span * k / kSteps));
            if (slider->value() != was) { // a move that reaches no new position draws nothing
                e.waitForFrame(before);
                ++frames;
            }
        }
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier,
                            sliderHandleCentre(slider, slider->value()));
        e.waitForFrame(e.framesShown);
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["rebuilds"] = static_cast<double>(e.rebuilds.count - rebuildsBefore);
    state.counters["view_w"] = e.frame->preview()->width();
    state.counters["view_h"] = e.frame->preview()->height();
}

} // namespace

// One iteration is a whole drag of 200 steps. Process CPU time counts the renderer's threads
// too: on a busy machine it shows the work, where the wall clock shows the wait for a share
// of the cores.
BENCHMARK(BM_SliderDragFrames)
    ->ArgName("slider")
    ->Arg(SLIDER_MOVE_X)
    ->Arg(SLIDER_ROTATE_Y)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
