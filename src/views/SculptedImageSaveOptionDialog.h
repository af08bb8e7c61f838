#pragma once
// The "Export Option" dialog: asks which of the X, Y and Z flips to apply to the exported
// sculpt map.

#include "SculptImageWriter.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace tesk {

class SculptedImageSaveOptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit SculptedImageSaveOptionDialog(QWidget* parent = nullptr);

    /// The flags set by OK; closing the dialog any other way leaves them all off.
    const ExportFlips& flips() const { return m_flips; }
    bool flipX() const { return m_flips.x; }
    bool flipY() const { return m_flips.y; }
    bool flipZ() const { return m_flips.z; }

    /// Ticks the boxes as the user would, so tests need no modal loop.
    void setChecks(const ExportFlips& checks);

    /// OK: each flag becomes true exactly when its box is ticked, then the dialog closes.
    void accept() override;

    /// Shows the dialog modally over `parent` and returns its flags.
    static ExportFlips ask(QWidget* parent);

private:
    QCheckBox* m_flipXBox;
    QCheckBox* m_flipYBox;
    QCheckBox* m_flipZBox;
    QPushButton* m_okButton;
    ExportFlips m_flips;
};

} // namespace tesk
