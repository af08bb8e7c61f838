#pragma once
// The control panel at the left of the main window: project, sculpt-map, effect and viewer
// commands, the sculpt-map picture and the link buttons.

#include "DocumentListener.h"
#include "SculptImageWriter.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <string>

class QPushButton;

namespace tesk {

class BitmapFrame;
class Ctesk001Doc;
class EffectDialog;
class FileChooser;
class HPJumpFrame;
class Messages;

// Texts the panel shows through Messages, which looks them up under "Messages".
inline constexpr const char* kReplaceShapeQuestion =
    QT_TRANSLATE_NOOP("Messages", "現在の形状は削除されます。\nよろしいですか？");
inline constexpr const char* kUnsavedChangesQuestion =
    QT_TRANSLATE_NOOP("Messages", "形状が変更されています。\n変更を保存しますか？");
inline constexpr const char* kNothingToSaveMessage = QT_TRANSLATE_NOOP(
    "Messages", "保存する形状がありません。\n「新規」か「形状読込」で形状を作ってください。");
inline constexpr const char* kFolderDropMessage = QT_TRANSLATE_NOOP(
    "Messages", "フォルダは開けません。\n形状ファイル (*.tsk) をドロップしてください。");
inline constexpr const char* kOtherFilesMessage =
    QT_TRANSLATE_NOOP("Messages", "最初のファイルだけを開きました。次のファイルは開いていません:");

// File dialog filters, shown through fileFilter().
inline constexpr const char* kProjectFilter =
    QT_TRANSLATE_NOOP("FileFilters", "tesk file (*.tsk);;All Files (*)");
/// "形状読込" also opens sculpt maps made elsewhere, as new shapes fitted to them.
inline constexpr const char* kLoadFilter = QT_TRANSLATE_NOOP(
    "FileFilters", "tesk file (*.tsk);;sculpt map (*.bmp *.png *.tga);;All Files (*)");
inline constexpr const char* kBitmapFilter =
    QT_TRANSLATE_NOOP("FileFilters", "Bitmap (*.bmp);;PNG (*.png);;TGA (*.tga);;All Files (*)");

class Ctesk001View : public QWidget, public DocumentListener {
    Q_OBJECT
public:
    /// Asks for the export flips; the editor shows the "Export Option" dialog.
    using ExportOptionAsker = std::function<ExportFlips(QWidget*)>;

    Ctesk001View(Ctesk001Doc& doc, Messages& messages, FileChooser& chooser,
                 QWidget* parent = nullptr);
    ~Ctesk001View() override;

    void setExportOptionAsker(ExportOptionAsker asker) { m_askExportOptions = std::move(asker); }

    // The commands of the panel's buttons.
    void onNew();
    /// True when the shape was written.
    bool onSave();
    void onLoad();
    void onExport();
    /// Before work would be lost (New, Load, a drop, closing): with unsaved changes asks to
    /// save, discard or cancel. True when the caller may go on: nothing to lose, discarded,
    /// or saved. A save that is cancelled or fails keeps everything as it is.
    bool maySetShapeAside();
    /// A project is loaded, a picture imported (with a busy cursor during the fit).
    bool loadOrImport(const std::string& path);
    /// Opens the effect dialog, or brings it to the front when it is open.
    void onEffects();
    /// Opens the manual, as the "Home Page" button does (F1).
    void openManual();
    /// Loads `path` (made absolute) for the command line and drops: a folder is refused
    /// before anything is asked; unsaved work is asked about; a picture is imported as a new
    /// shape fitted to it. True when it was loaded.
    bool openFile(const std::string& path);

    /// Shows the document's current sculpt map in the picture button.
    void showSculptMap();
    void shapeRebuilt() override { showSculptMap(); }
    BitmapFrame* sculptPicture() const { return m_picture; }
    /// The effect dialog while it exists; null before the first use and once it is closed.
    EffectDialog* effectDialog() const;
    /// "Viewer 連動": pressed in while the companion viewer is fed.
    QPushButton* linkButton() const { return m_linkButton; }

protected:
    /// Keeps where the effect dialog was when it went away.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Asks before New or Load: about unsaved work when there is some, else the designed
    /// question.
    bool mayReplaceShape();

    Ctesk001Doc& m_doc;
    Messages& m_messages;
    FileChooser& m_chooser;
    ExportOptionAsker m_askExportOptions;
    BitmapFrame* m_picture;
    /// Cleared by itself when the dialog's close box destroys it.
    QPointer<EffectDialog> m_effectDialog;
    /// Where the user last left the effect dialog, so that it comes back there.
    std::optional<QPoint> m_effectDialogPlace;
    QPushButton* m_linkButton;
};

} // namespace tesk
