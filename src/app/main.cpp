// The editor: tesk [FILE.tsk] or tesk --screenshot PATH [FILE.tsk]

#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "GLView.h"
#include "QtMessages.h"
#include "TeskResources.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

using namespace tesk;

namespace {

// Saves the window once the preview has drawn its first frame, then quits.
void screenshotWhenDrawn(CTeskMainFrame& frame, const QString& path, int status) {
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        frame.preview(), &QOpenGLWidget::frameSwapped, &frame, [&frame, path, status, connection] {
            QObject::disconnect(*connection);
            QTimer::singleShot(200, &frame, [&frame, path, status] {
                const bool saved = frame.grab().save(path, "PNG");
                if (!saved) {
                    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                }
                QCoreApplication::exit(saved ? status : 2);
            });
        });
}

} // namespace

int main(int argc, char** argv) {
    GLView::setDefaultSurfaceFormat();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brenmold TESK"));
    QCoreApplication::setApplicationName(QStringLiteral("TESK ( Brenmold )"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("TESK ( Brenmold )"));
    resources::init();
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(resources::kIcon)));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sculpted prim editor"));
    parser.addHelpOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a PNG of the window once drawn, then exit."), QStringLiteral("PATH"));
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Project file to open."),
                                 QStringLiteral("[FILE.tsk]"));
    parser.process(app);

    // A screenshot run must never wait on a message box: its messages go to stderr.
    QtMessages boxes;
    StderrMessages printed;
    Messages& messages = parser.isSet(screenshot) ? static_cast<Messages&>(printed) : boxes;
    QtFileChooser chooser;
    Ctesk001Doc doc(messages, GLScene::shared(),
                    QCoreApplication::applicationDirPath().toStdString() + "/");
    CTeskMainFrame frame(doc, messages, chooser);
    boxes.setParent(&frame);

    const QRect available = frame.screen()->availableGeometry();
    frame.setGeometry(available);
    frame.showMaximized();
    frame.layoutPanes(available.width(), available.height());

    // Nothing is drawn before the event loop runs, so the file opens before the wait starts.
    const QStringList files = parser.positionalArguments();
    const bool opened =
        files.isEmpty() || frame.controlPanel()->openFile(files.front().toStdString());
    if (parser.isSet(screenshot)) {
        // The picture is still taken when the file cannot be used; the run then exits 2.
        screenshotWhenDrawn(frame, parser.value(screenshot), opened ? 0 : 2);
    }
    return QApplication::exec();
}
