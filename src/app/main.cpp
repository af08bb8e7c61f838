// The editor: tesk [--lang ja|en] [FILE.tsk], tesk --screenshot PATH [FILE.tsk], tesk --help,
// tesk --version

#include "CTeskMainFrame.h"
#include "Ctesk001Doc.h"
#include "Ctesk001View.h"
#include "DocumentPreview.h"
#include "EditorCommandLine.h"
#include "EndingSignalWatch.h"
#include "FileChooser.h"
#include "FileIO.h"
#include "FileNames.h"
#include "GLScene.h"
#include "GLView.h"
#include "Installation.h"
#include "QtMessages.h"
#include "StandardOutput.h"
#include "TeskResources.h"
#include "UiLanguage.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace tesk;

namespace {

constexpr int kExitUnusable = 2;
constexpr int kExitUsage = 64;
constexpr const char* kNoDisplay = "tesk: no display: run it under a desktop or `xvfb-run`\n";

// Saves the window once the preview has drawn its first frame, then quits.
void screenshotWhenDrawn(CTeskMainFrame& frame, const std::string& path, int status) {
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(
        frame.preview(), &GLView::frameDrawn, &frame, [&frame, path, status, connection] {
            QObject::disconnect(*connection);
            QTimer::singleShot(200, &frame, [&frame, path, status] {
                // Encoded here and written by the program's own save, so the path is used
                // byte for byte and a half-written picture never replaces an old one.
                QByteArray png;
                QBuffer buffer(&png);
                const bool saved =
                    buffer.open(QIODevice::WriteOnly) && frame.grab().save(&buffer, "PNG") &&
                    writeFileAtomically(path, png.constData(), static_cast<size_t>(png.size()));
                if (!saved) {
                    std::fprintf(stderr, "cannot write %s\n", path.c_str());
                }
                QCoreApplication::exit(saved ? status : kExitUnusable);
            });
        });
}

void nameApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Brenmold TESK"));
    QCoreApplication::setApplicationName(QStringLiteral("TESK ( Brenmold )"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(programVersion()));
}

// The command line as --help prints it.
void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Sculpted prim editor"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(QString::fromLatin1(kScreenshotOption.name),
                                        QString::fromLatin1(kScreenshotOption.description),
                                        QString::fromLatin1(kScreenshotOption.valueName)));
    parser.addOption(QCommandLineOption(QString::fromLatin1(kTextureOption.name),
                                        QString::fromLatin1(kTextureOption.description),
                                        QString::fromLatin1(kTextureOption.valueName)));
    parser.addOption(QCommandLineOption(QString::fromLatin1(kLanguageOption.name),
                                        QString::fromLatin1(kLanguageOption.description),
                                        QString::fromLatin1(kLanguageOption.valueName)));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Project file to open."),
                                 QStringLiteral("[FILE.tsk]"));
}

// Help, version and usage errors are answered before the window system is opened, so that
// they also work without a display.
void answerWithoutWindow(const EditorCommandLine& line, char* program) {
    using Request = EditorCommandLine::Request;
    if (line.request == Request::Run) {
        return;
    }
    char help[] = "--help";
    char helpAll[] = "--help-all";
    char version[] = "--version";
    char* args[] = {program,
                    line.request == Request::HelpAll   ? helpAll
                    : line.request == Request::Version ? version
                                                       : help,
                    nullptr};
    int count = 2;
    QCoreApplication app(count, args);
    nameApplication();
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (line.request == Request::UsageError) {
        std::fprintf(stderr, "tesk: %s\n%s", line.problem.c_str(), qPrintable(parser.helpText()));
        std::exit(kExitUsage);
    }
    if (line.request == Request::Version) {
        // Qt's own answer names only the version; a packaged program also names its licence.
        std::printf("%s %s\n%s", qPrintable(QCoreApplication::applicationName()), programVersion(),
                    programLicence());
        std::exit(0);
    }
    parser.process(app); // prints and exits
}

bool windowSystemReachable(const EditorCommandLine& line) {
    const QByteArray platform = line.platform.empty() ? qgetenv("QT_QPA_PLATFORM")
                                                      : QByteArray::fromStdString(line.platform);
    return windowSystemNamed(platform.toStdString(),
                             line.displayGiven || !qEnvironmentVariableIsEmpty("DISPLAY"),
                             !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

// While the window system opens, a display that is named but cannot be reached ends the run
// with the reason instead of Qt's abort.
QtMessageHandler g_qtMessages = nullptr;
void exitWithoutWindowSystem(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    if (type != QtFatalMsg) {
        g_qtMessages(type, context, text);
        return;
    }
    std::fprintf(stderr, "%s\n%s", qPrintable(text), kNoDisplay);
    std::_Exit(kExitUnusable);
}

} // namespace

int main(int argc, char** argv) {
    guardStandardStreams("tesk");
    EditorCommandLine line = readEditorCommandLine(argc, argv);
    answerWithoutWindow(line, argv[0]);
    if (!windowSystemReachable(line)) {
        std::fputs(kNoDisplay, stderr);
        return kExitUnusable;
    }
    GLView::setDefaultSurfaceFormat();
    int qtArgc = static_cast<int>(line.qtArguments.size());
    line.qtArguments.push_back(nullptr);
    g_qtMessages = qInstallMessageHandler(exitWithoutWindowSystem);
    QApplication app(qtArgc, line.qtArguments.data());
    qInstallMessageHandler(g_qtMessages);
    const EndingSignalWatch endingSignals;
    nameApplication();
    resources::init();
    const UiLanguage language = line.language.empty() ? languageFor(QLocale::system().uiLanguages())
                                : line.language == "ja" ? UiLanguage::Japanese
                                                        : UiLanguage::English;
    if (!useLanguage(language)) {
        qWarning(language == UiLanguage::Japanese
                     ? "tesk: Qt's Japanese texts (qtbase_ja.qm, in qt6-translations-l10n) are "
                       "missing; its own dialogs stay English"
                     : "tesk: the English translation is missing; the texts stay Japanese");
    }
    QApplication::setWindowIcon(QIcon(QString::fromLatin1(resources::kIcon)));

    // A screenshot run must never wait on a message box: its messages go to stderr.
    QtMessages boxes;
    StderrMessages printed;
    Messages& messages = line.screenshot ? static_cast<Messages&>(printed) : boxes;
    QtFileChooser chooser;
    Ctesk001Doc doc(messages, systemFileName(QCoreApplication::applicationDirPath()) + "/");
    DocumentPreview preview(doc, GLScene::shared());
    CTeskMainFrame frame(doc, preview, messages, chooser);
    boxes.setParent(&frame);

    const QRect available = frame.screen()->availableGeometry();
    frame.setGeometry(available);
    frame.showMaximized();
    frame.layoutPanes(available.width(), available.height());

    // Nothing is drawn before the event loop runs, so the file opens before the wait starts.
    bool opened = line.file.empty() || frame.controlPanel()->openFile(line.file);
    if (line.texture && line.texturePath == kCheckerTextureName) {
        frame.preview()->showTexture(PreviewTextureKind::Checker);
    } else if (line.texture) {
        opened = preview.choosePicture(line.texturePath, messages) && opened;
        frame.preview()->showTexture(preview.texture());
    }
    if (line.screenshot) {
        // The picture is still taken when a file cannot be used; the run then exits 2.
        screenshotWhenDrawn(frame, line.screenshotPath, opened ? 0 : kExitUnusable);
    }
    return QApplication::exec();
}
