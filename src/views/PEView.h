#pragma once
// The 2-D point editor: the shape as a schematic net of rows and point columns, with the two
// poles at top and bottom centre. Points are picked here by click, band and segment; lines and
// point columns are inserted and deleted in divide mode, and the level badges mark important
// lines and columns. The rules live in PENet and PEMouse; this widget paints and forwards.

#include "DocumentListener.h"
#include "PEMouse.h"
#include "PENet.h"

#include <QImage>
#include <QWidget>
#include <array>

namespace tesk {

class Ctesk001Doc;
class PEToolDialog;

class PEView : public QWidget, public DocumentListener {
    Q_OBJECT
public:
    explicit PEView(Ctesk001Doc& doc, QWidget* parent = nullptr);
    ~PEView() override;

    PEToolDialog* toolBar() const { return m_toolBar; }
    const PENet& net() const { return m_net; }
    const PEMouse& mouse() const { return m_mouse; }

    void shapeRebuilt() override;
    void selectionChanged() override;

signals:
    /// A left double click: the companion viewer hears of it.
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void paintNet(QPainter& p) const;
    void paintDividePreview(QPainter& p, size_t segment) const;
    void paintBadges(QPainter& p) const;
    void repaintIf(bool needed);

    Ctesk001Doc& m_doc;
    PENet m_net;
    PEMouse m_mouse;
    PEToolDialog* m_toolBar;
    /// Badges of levels 3, 1 and 2, and the scissors already colour-inverted.
    std::array<QImage, 3> m_badges;
    QImage m_scissors;
};

} // namespace tesk
