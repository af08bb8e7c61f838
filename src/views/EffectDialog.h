#pragma once
// "エフェクトの管理": the modeless dialog in which the user builds the document's effect list
// from pictures, orders, switches and tunes the effects and converts their pictures. Every
// change goes to the document at once; there is no cancel.

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTableWidget;

namespace tesk {

class BitmapFrame;
class Ctesk001Doc;
class EffectRecord;
class ImageBuffer;

/// The file filters of the picture dialogs, in Qt form.
inline constexpr const char* kEffectPictureFilter =
    QT_TRANSLATE_NOOP("FileFilters", "画像ファイル(*.tga *.jpg *.bmp *.png);;"
                                     "All pictures (*.bmp *.tga *.png *.jpg *.jpeg);;"
                                     "全て(*)");
inline constexpr const char* kInvalidEffectTypeMessage =
    QT_TRANSLATE_NOOP("Messages", "エフェクトタイプに無効な値が設定されていました。");

class EffectDialog : public QDialog {
    Q_OBJECT
public:
    /// Asks for a picture file to open, starting in `folder`; nothing when the user cancels.
    using PictureChooser = std::function<std::optional<QString>(
        QWidget* parent, const QString& filter, const QString& folder)>;

    /// A window of its own over `parent`. Closing it with the close box destroys it; OK and
    /// Escape only hide it.
    EffectDialog(Ctesk001Doc& doc, PictureChooser chooser, QWidget* parent = nullptr);

    /// The row of the selected effect, or -1 unless exactly one row is selected.
    int selectedRow() const;

    // The commands of the dialog's buttons, for the buttons and for tests.
    void onAdd();
    void onChangeImage();
    void onMoveUp();
    void onMoveDown();
    void onDelete();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct StrengthControls {
        QLineEdit* edit;
        QSlider* slider;
        float EffectRecord::*field;
    };

    void buildControls();
    /// Rows anew from the document's list, keeping the selected row when it still exists.
    void refreshList();
    void selectRow(int row);
    /// Radios, type, strengths and picture of the selected effect.
    void showParameters();
    void setEnabledFlag(bool on);
    /// Swaps the selected effect with its neighbour above (-1) or below (+1); the selection
    /// follows it.
    void moveSelected(int step);
    void onTypeChosen(int index);
    void onSliderMoved(const StrengthControls& controls, int position);
    void onStrengthEdited(const StrengthControls& controls);
    void convertPicture(void (*operation)(ImageBuffer&));
    /// The selected record, or null unless exactly one row is selected.
    EffectRecord* selectedEffect();
    std::optional<std::string> choosePicture();

    Ctesk001Doc& m_doc;
    PictureChooser m_choosePicture;
    QTableWidget* m_list;
    BitmapFrame* m_picture;
    QRadioButton* m_on;
    QRadioButton* m_off;
    QComboBox* m_type;
    StrengthControls m_strengths[4];
    /// Set while the dialog writes a slider's value into its edit, so the edit leaves the
    /// slider alone.
    bool m_sliderUpdate = false;
    /// Set while the selected effect's values are written into the edits: showing them is
    /// not a change.
    bool m_showingParameters = false;
};

} // namespace tesk
