#pragma once
// The control panel at the left of the main window: project, sculpt-map, effect and viewer
// commands, the sculpt-map picture and the link buttons.

#include "DocumentListener.h"
#include "SculptImageWriter.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

class QPushButton;

namespace tesk {

class BitmapFrame;
class Ctesk001Doc;
class EffectDialog;
class FileChooser;
class HPJumpFrame;
class Messages;

inline constexpr const char* kReplaceShapeQuestion = "現在の形状は削除されます。\nよろしいですか？";
inline constexpr const char* kProjectFilter = "tesk file (*.tsk);;All Files (*)";
inline constexpr const char* kBitmapFilter = "Bitmap (*.bmp);;All Files (*)";

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
    void onSave();
    void onLoad();
    void onExport();
    /// Opens the effect dialog, or brings it to the front when it is open.
    void onEffects();
    /// Loads `path` after the confirmation that Load asks (only when a shape would be lost):
    /// files named on the command line or dropped on the window. True when it was loaded.
    bool openFile(const std::string& path);

    /// Shows the document's current sculpt map in the picture button.
    void showSculptMap();
    void shapeRebuilt() override { showSculptMap(); }
    BitmapFrame* sculptPicture() const { return m_picture; }
    /// The effect dialog while it exists; null before the first use and once it is closed.
    EffectDialog* effectDialog() const;
    /// "Viewer 連動": pressed in while the companion viewer is fed.
    QPushButton* linkButton() const { return m_linkButton; }

private:
    Ctesk001Doc& m_doc;
    Messages& m_messages;
    FileChooser& m_chooser;
    ExportOptionAsker m_askExportOptions;
    BitmapFrame* m_picture;
    /// Cleared by itself when the dialog's close box destroys it.
    QPointer<EffectDialog> m_effectDialog;
    QPushButton* m_linkButton;
};

} // namespace tesk
