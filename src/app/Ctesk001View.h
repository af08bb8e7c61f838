#pragma once
// The control panel at the left of the main window: project, sculpt-map and viewer commands,
// the sculpt-map picture and the link buttons.

#include "SculptImageWriter.h"

#include <QWidget>
#include <functional>
#include <string>

class QPushButton;

namespace tesk {

class BitmapFrame;
class Ctesk001Doc;
class FileChooser;
class HPJumpFrame;
class Messages;

inline constexpr const char* kReplaceShapeQuestion = "現在の形状は削除されます。\nよろしいですか？";
inline constexpr const char* kProjectFilter = "tesk file (*.tsk);;All Files (*)";
inline constexpr const char* kBitmapFilter = "Bitmap (*.bmp);;All Files (*)";
inline constexpr const char* kNoSculptMapMessage = "書き出すスカルプトマップがありません。";

class Ctesk001View : public QWidget {
    Q_OBJECT
public:
    /// Asks for the export flips; the editor shows the "Export Option" dialog.
    using ExportOptionAsker = std::function<ExportFlips(QWidget*)>;

    Ctesk001View(Ctesk001Doc& doc, Messages& messages, FileChooser& chooser,
                 QWidget* parent = nullptr);

    void setExportOptionAsker(ExportOptionAsker asker) { m_askExportOptions = std::move(asker); }

    /// Set at start and by New; cleared by every successful save or load.
    int isNewShape = 1;

    // The commands of the panel's buttons.
    void onNew();
    void onSave();
    void onLoad();
    void onExport();
    /// Loads `path` after the confirmation that Load asks (only when a shape would be lost):
    /// files named on the command line or dropped on the window. True when it was loaded.
    bool openFile(const std::string& path);

    /// Shows the document's current sculpt map in the picture button.
    void showSculptMap();
    BitmapFrame* sculptPicture() const { return m_picture; }

private:
    Ctesk001Doc& m_doc;
    Messages& m_messages;
    FileChooser& m_chooser;
    ExportOptionAsker m_askExportOptions;
    BitmapFrame* m_picture;
};

} // namespace tesk
