// The editor: tesk [FILE.tsk], tesk --screenshot PATH [FILE.tsk], tesk --help, tesk --version

#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "EndingSignalWatch.h"
#include "FileChooser.h"
#include "GLScene.h"
#include "GLView.h"
#include "Installation.h"
#include "QtMessages.h"
#include "TeskResources.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string_view>

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

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Brenmold TESK"));
    QCoreApplication::setApplicationName(QStringLiteral("TESK ( Brenmold )"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(programVersion()));
}

// The command line the editor understands; --help prints it. Returns the screenshot option.
QCommandLineOption describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Sculpted prim editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a PNG of the window once drawn, then exit."),
                                  QStringLiteral("PATH"));
    parser.addOption(screenshot);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Project file to open."),
                                 QStringLiteral("[FILE.tsk]"));
    return screenshot;
}

// Help and version are answered before the window system is opened, so that they also work
// without a display.
void answerHelpOrVersion(int argc, char** argv) {
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        asked = asked || arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" ||
                arg == "-v" || arg == "--version";
    }
    if (asked) {
        QCoreApplication app(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(app); // prints and exits
    }
}

} // namespace

int main(int argc, char** argv) {
    answerHelpOrVersion(argc, argv);
    GLView::setDefaultSurfaceFormat();
    QApplication app(argc, argv);
    const EndingSignalWatch endingSignals;
    nameApplication();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("TESK ( Brenmold )"));
    resources::init();
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(resources::kIcon)));

    QCommandLineParser parser;
    const QCommandLineOption screenshot = describeCommandLine(parser);
    parser.process(app);

    // A screenshot run must never wait on a message box: its messages go to stderr.
    QtMessages boxes;
    StderrMessages printed;
    Messages& messages = parser.isSet(screenshot) ? static_cast<Messages&>(printed) : boxes;
    QtFileChooser chooser;
    Ctesk001Doc doc(messages, QCoreApplication::applicationDirPath().toStdString() + "/");
    DocumentPreview preview(doc, GLScene::shared());
    CTeskMainFrame frame(doc, preview, messages, chooser);
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
