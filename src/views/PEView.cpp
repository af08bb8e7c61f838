#include "PEView.h"

#include "CellFlags.h"
#include "Ctesk001Doc.h"
#include "PEToolDialog.h"
#include "SPMesh.h"
#include "TeskResources.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tesk {

namespace {
constexpr QColor kSegment(220, 220, 220);
constexpr QColor kHover(0, 255, 0);
constexpr QColor kPoint(160, 160, 160);
constexpr QColor kSelected(255, 0, 0);
constexpr QColor kDeletePreview(100, 100, 100);

QPen pen(const QColor& colour, qreal width, Qt::PenStyle style = Qt::SolidLine) {
    return QPen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
}

QPointF toPoint(NetPoint p) {
    return QPointF(p.x, p.y);
}

/// What a rebuild can change in the net: its dimensions and the levels of its badges.
std::vector<int32_t> netShape(const PENet& net) {
    std::vector<int32_t> shape = {net.points(), net.lines()};
    for (const LevelMarker& marker : net.markers) {
        shape.push_back(marker.level);
    }
    return shape;
}
} // namespace

PEView::PEView(Ctesk001Doc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_mouse(doc, m_net), m_toolBar(new PEToolDialog(this)),
      m_badges{QImage(QString::fromLatin1(resources::kNormalBadge)),
               QImage(QString::fromLatin1(resources::kImportantBadge)),
               QImage(QString::fromLatin1(resources::kSecondaryBadge))},
      m_scissors(QString::fromLatin1(resources::kScissors)) {
    m_scissors.invertPixels();
    setMouseTracking(true);
    m_toolBar->setGeometry(0, 0, width(), kModeBarHeight);
    m_toolBar->show();
    connect(m_toolBar, &PEToolDialog::selectChosen, this, [this] {
        m_mouse.chooseSelect();
        update();
    });
    connect(m_toolBar, &PEToolDialog::divideChosen, this, [this](bool add, bool remove) {
        m_mouse.chooseDivide(add, remove);
        update();
    });
    connect(m_toolBar, &PEToolDialog::addChosen, this, [this] {
        m_mouse.chooseAdd();
        update();
    });
    connect(m_toolBar, &PEToolDialog::deleteChosen, this, [this] {
        m_mouse.chooseDelete();
        update();
    });
    m_net.layout(width(), height());
    m_net.update(m_doc.mesh());
    m_doc.addListener(this, ListenerRank::PointEditor);
}

PEView::~PEView() {
    m_doc.removeListener(this);
}

void PEView::shapeRebuilt() {
    // A transform slider rebuilds on every step but moves only working points, which the net
    // does not show: drawing the whole net again each time would halve the frame rate of a
    // drag.
    const std::vector<int32_t> before = netShape(m_net);
    m_net.update(m_doc.mesh());
    repaintIf(netShape(m_net) != before);
}

void PEView::selectionChanged() {
    update();
}

void PEView::repaintIf(bool needed) {
    if (needed) {
        update();
    }
}

void PEView::resizeEvent(QResizeEvent*) {
    m_toolBar->setGeometry(0, 0, width(), kModeBarHeight);
    m_net.layout(width(), height());
}

void PEView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    repaintIf(m_mouse.move(at.x(), at.y()));
}

void PEView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        repaintIf(m_mouse.leftDown(at.x(), at.y()));
        // A message shown during the press (a sixth important badge) took the release with
        // it; a band left holding the pointer would follow it with no button down.
        if (m_mouse.captured() && !(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
            repaintIf(m_mouse.leftUp());
        }
    } else if (event->button() == Qt::RightButton) {
        repaintIf(m_mouse.rightDown());
    }
}

void PEView::mouseReleaseEvent(QMouseEvent* event) {
    // While the left button is down Qt sends every move and the release here, even outside
    // the window: the band's capture.
    if (event->button() == Qt::LeftButton) {
        repaintIf(m_mouse.leftUp());
    }
}

void PEView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click arrives as this event alone. Qt's default would pass
    // it on as a press and toggle the points back; a double click belongs to the viewer link.
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}

void PEView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_net.drawn()) {
        return;
    }
    QImage net(m_net.width(), m_net.height(), QImage::Format_RGB32);
    net.fill(Qt::white);
    {
        QPainter n(&net);
        n.setRenderHint(QPainter::Antialiasing);
        n.translate(-kNetLeft, -kNetTop);
        paintNet(n);
    }
    p.drawImage(kNetLeft, kNetTop, net);
    paintBadges(p);
}

void PEView::paintNet(QPainter& p) const {
    for (const NetSegment& s : m_net.segments) {
        const bool hovered = (s.flags & CELL_HOVER) != 0;
        p.setPen(hovered ? pen(kHover, 6) : pen(kSegment, 8));
        p.drawLine(s.x1, s.y1, s.x2, s.y2);
    }
    if (m_mouse.banding()) {
        const NetRect band = m_mouse.band();
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(band.left + 0.5, band.top + 0.5, band.right - band.left - 1,
                          band.bottom - band.top - 1));
    }

    const auto flags = m_doc.handles();
    for (size_t k = 0; k < m_net.cells.size(); ++k) {
        const uint32_t f = k < flags.size() ? flags[k] : 0u;
        const NetRect& r = m_net.cells[k].rect;
        const QPointF centre(r.centreX(), r.centreY());
        const bool lit = (f & (CELL_HOVER | CELL_IN_BAND)) != 0;
        p.setPen(lit ? pen(kHover, 3) : pen(kPoint, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(centre, kNodeSize / 2.0, kNodeSize / 2.0);
        if ((f & CELL_SELECTED) != 0) {
            p.setPen(pen(kSelected, 2, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(centre, 3, 3);
        }
    }

    const int segment = m_net.hoveredSegment();
    if (segment < 0) {
        return;
    }
    paintDividePreview(p, static_cast<size_t>(segment));
    if (m_mouse.dividing()) {
        const NetPoint mid = m_net.midpoint(static_cast<size_t>(segment));
        p.drawImage(mid.x - kScissorsSize / 2, mid.y - kScissorsSize / 2, m_scissors);
    }
}

void PEView::paintDividePreview(QPainter& p, size_t segment) const {
    const bool ring = segment < m_net.ringSegmentCount();
    const NetPoint mid = m_net.midpoint(segment);
    const auto points = static_cast<size_t>(m_net.points());
    const QPointF corner(kNetLeft, kNetTop);
    p.setBrush(Qt::NoBrush);
    if (m_mouse.mode() == MODE_DIVIDE_ADD) {
        // Where the new column (across a ring) or the new line (across a column) would go.
        p.setPen(pen(kSelected, 2, Qt::DashLine));
        if (ring) {
            p.drawLine(mid.x, kNetTop, mid.x, kNetTop + m_net.height());
        } else {
            p.drawLine(kNetLeft, mid.y, kNetLeft + m_net.width(), mid.y);
        }
    } else if (m_mouse.mode() == MODE_DIVIDE_DELETE) {
        // What would go: the segment's whole line, or its whole point column.
        p.setPen(pen(kDeletePreview, 2, Qt::DashLine));
        if (ring) {
            const int row = static_cast<int>(segment / points) + 1;
            const NetPoint first = m_net.node(row, 0);
            const NetPoint last = m_net.node(row, m_net.points() - 1);
            p.drawLine(toPoint(first) + corner,
                       QPointF(last.x + m_net.columnPitch(), last.y) + corner);
        } else {
            const int column = static_cast<int>((segment - m_net.ringSegmentCount()) % points);
            QPainterPath path(toPoint(m_net.topPole()) + corner);
            for (int row = 1; row < m_net.lines() - 1; ++row) {
                path.lineTo(toPoint(m_net.node(row, column)) + corner);
            }
            path.lineTo(QPointF(m_net.width() / 2 + kNodeSize / 2, m_net.height() - 8) + corner);
            p.drawPath(path);
        }
    }
}

void PEView::paintBadges(QPainter& p) const {
    const int w = width();
    const int h = height();
    QRegion strips(0, kModeBarHeight, w, kBadgeSize);
    strips += QRect(w - kBadgeSize, kModeBarHeight, kBadgeSize, h - kModeBarHeight);
    p.setClipRegion(strips);
    for (const LevelMarker& marker : m_net.markers) {
        const QImage* badge = nullptr;
        if (marker.level == LEVEL_NORMAL) {
            badge = &m_badges[0];
        } else if (marker.level == LEVEL_IMPORTANT) {
            badge = &m_badges[1];
        } else if (marker.level == LEVEL_SECONDARY) {
            badge = &m_badges[2];
        }
        if (badge != nullptr) {
            p.drawImage(marker.rect.left, marker.rect.top, *badge);
        }
    }
    p.setClipping(false);
}

} // namespace tesk
