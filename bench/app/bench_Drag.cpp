// A slider dragged in the real main window: 200 mouse moves of the held thumb over the
// largest editable shape, all of it selected, each move waiting until the preview has drawn
// and swapped its new frame. Reports frames per second (goal: 60 or more). Run under
// xvfb-run -a -s "-screen 0 1280x800x24".

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
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace tesk;
using tesk::testing::sliderHandleCentre;

namespace {

constexpr int kSteps = 200;

struct NoFiles : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
};

struct RebuildCounter : DocumentListener {
    void shapeRebuilt() override { ++count; }
    int64_t count = 0;
};

void BM_DragInWindow(benchmark::State& state) {
    RecordingMessages messages;
    NoFiles chooser;
    GLScene scene;
    Ctesk001Doc doc(messages, "/");
    DocumentPreview preview(doc, scene);
    CTeskMainFrame frame(doc, preview, messages, chooser);
    frame.resize(1200, 760);
    frame.show();
    frame.layoutPanes(1200, 760);
    if (!QTest::qWaitForWindowExposed(&frame)) {
        state.SkipWithError("the window was not shown");
        return;
    }
    bench::loadLargestShape(doc, DIM_POLES_BSPLINE, 0);
    doc.setHandles(std::vector<uint32_t>(doc.handleCount(), CELL_SELECTED));
    RebuildCounter rebuilds;
    doc.addListener(&rebuilds);

    QSlider* slider =
        frame.transformPane()->panel()->slider(static_cast<TransformSlider>(state.range(0)));
    frame.transformPane()->panelArea()->ensureWidgetVisible(slider);
    QSignalSpy frames(frame.preview(), &QOpenGLWidget::frameSwapped);
    frames.wait(2000);
    const int span = slider->maximum() - slider->minimum();

    int64_t drawn = 0;
    for (auto _ : state) {
        QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier,
                          sliderHandleCentre(slider, slider->value()));
        for (int k = 0; k < kSteps; ++k) {
            const int value = slider->minimum() + span * k / kSteps;
            const int was = slider->value();
            const qsizetype before = frames.count();
            QTest::mouseMove(slider, sliderHandleCentre(slider, value));
            if (slider->value() == was) {
                continue; // the thumb did not reach another position: nothing to draw
            }
            if (frames.count() == before && !frames.wait(1000)) {
                state.SkipWithError("the preview drew no frame within a second");
                break;
            }
            ++drawn;
        }
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier,
                            sliderHandleCentre(slider, slider->value()));
        frames.wait(1000);
    }
    doc.removeListener(&rebuilds);
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(drawn), benchmark::Counter::kIsRate);
    state.counters["rebuilds"] = static_cast<double>(rebuilds.count);
    state.counters["frames"] = static_cast<double>(drawn);
}

BENCHMARK(BM_DragInWindow)
    ->ArgName("slider")
    ->Arg(SLIDER_MOVE_X)
    ->Arg(SLIDER_ROTATE_Y)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "needs an X display: xvfb-run -a -s \"-screen 0 1280x800x24\" %s\n",
                     argv[0]);
        return 2;
    }
    GLView::setDefaultSurfaceFormat();
    QApplication app(argc, argv);
    resources::init();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
