// The 3-D preview under the pointer in the real main window (run under xvfb-run): one frame of
// a camera drag as the event loop paints, composes and shows it; the same window's frame when
// only another pane repaints, which is what the window's composition costs by itself; and one
// pick (pick pass drawn and read back whole).

#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "GLView.h"
#include "Messages.h"
#include "TeskResources.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>

using namespace tesk;

namespace {

/// The editor on the sphere example in a 1280 x 800 window, built once for every benchmark.
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
        ready = QTest::qWaitForWindowExposed(frame.get()) &&
                doc->loadProject(TESK_SOURCE_DIR "/examples/sphere.tsk");
        QTest::qWait(200);
        QObject::connect(&view(), &GLView::frameDrawn, [this] { ++framesShown; });
    }

    GLView& view() { return *frame->preview(); }

    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), QPointF(view().mapToGlobal(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&view(), &event);
    }

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
    bool ready = false;
    int framesShown = 0;
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

void reportFrames(benchmark::State& state, const GLView& view) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["view_w"] = view.width();
    state.counters["view_h"] = view.height();
}

void BM_CameraDragFrame(benchmark::State& state) {
    Editor* e = editor(state);
    if (e == nullptr) {
        return;
    }
    GLView& view = e->view();
    const QPoint start(10, view.height() - 10); // background, below the shape
    e->send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPoint at = start + QPoint(step % 300, -(step % 100));
        ++step;
        const int before = e->framesShown;
        e->send(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
        e->waitForFrame(before);
    }
    e->send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    reportFrames(state, view);
}

void BM_WindowFrameWithoutPreviewPaint(benchmark::State& state) {
    Editor* e = editor(state);
    if (e == nullptr) {
        return;
    }
    // The panel's paints stand for the frames: the preview draws none here.
    struct PaintCount : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
        int count = 0;
    } paints;
    QWidget* panel = e->frame->controlPanel();
    panel->installEventFilter(&paints);
    for (auto _ : state) {
        const int before = paints.count;
        panel->update();
        while (paints.count == before) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    panel->removeEventFilter(&paints);
    reportFrames(state, e->view());
}

void BM_Pick(benchmark::State& state) {
    Editor* e = editor(state);
    if (e == nullptr) {
        return;
    }
    GLView& view = e->view();
    for (auto _ : state) {
        view.readPickImage();
    }
    state.counters["view_w"] = view.width();
    state.counters["view_h"] = view.height();
}

} // namespace

// Process CPU time counts the renderer's threads too: with a busy machine it shows the work,
// where the wall clock shows the wait for a share of the cores.
BENCHMARK(BM_CameraDragFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_WindowFrameWithoutPreviewPaint)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
