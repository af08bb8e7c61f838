#pragma once
// The tool bar across the top of the 3-D preview: display mode, marker transparency, camera
// reset, the shape-type buttons and, right of them, the level-of-detail chooser.

#include "ShapeTypes.h"

#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QComboBox;
class QPushButton;
class QToolButton;

namespace tesk {

class RADIOFrame;

class GLToolDialog : public QWidget {
    Q_OBJECT
public:
    /// The height of the two designed rows; a narrow bar wraps the type buttons below them.
    static constexpr int kHeight = 40;

    explicit GLToolDialog(QWidget* parent = nullptr);

    /// Type buttons that do not fit beside each other go, a family at a time, to a further
    /// row: the bar is kHeight high when everything fits, a row higher for each wrap.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    /// Shows the button of a shape type as the chosen one; other values are ignored.
    void showType(int32_t type);
    /// The button of a shape type, or null.
    RADIOFrame* typeButton(int32_t type) const;
    /// Shows a level (an index into kLodLevels) as chosen, without emitting lodLevelChosen.
    void showLodLevel(int level);
    QComboBox* lodChooser() const { return m_lodChooser; }
    /// Checked while a texture lies on the shape; its menu chooses the checker or a picture.
    QToolButton* textureButton() const { return m_texture; }
    QAction* checkerAction() const { return m_checker; }
    QAction* pictureAction() const { return m_picture; }

signals:
    void drawModeChosen(int mode);
    /// true: markers show through the mesh ("ポイント 透過" checked).
    void markersThroughChanged(bool through);
    void cameraResetRequested();
    void typeChosen(int32_t type);
    void lodLevelChosen(int level);
    /// The texture button was switched (it shows the last texture chosen).
    void textureToggled(bool shown);
    void checkerChosen();
    void pictureRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Places the type buttons and the chooser for `width` (when `place`); returns the bar's
    /// height.
    int arrange(int width, bool place) const;

    std::array<RADIOFrame*, kShapeTypes.size()> m_typeButtons{};
    QComboBox* m_lodChooser;
    QToolButton* m_texture;
    QAction* m_checker;
    QAction* m_picture;
    QPoint m_typeOrigin;
};

} // namespace tesk
