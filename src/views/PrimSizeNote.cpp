#include "PrimSizeNote.h"

#include "Ctesk001Doc.h"
#include "SculptMapEncoder.h"

#include <QCoreApplication>
#include <QEvent>

namespace tesk {

namespace {
constexpr int kMargin = 6;
} // namespace

PrimSizeNote::PrimSizeNote(Ctesk001Doc& doc, QWidget* parent) : QLabel(parent), m_doc(doc) {
    setObjectName(QStringLiteral("primSize"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setStyleSheet(QStringLiteral("color: rgb(255, 255, 255); background: rgba(0, 0, 0, 140);"));
    setContentsMargins(4, 2, 4, 2);
    setToolTip(QCoreApplication::translate(
        "tesk::PrimSizeNote",
        "ワールドでプリムにこの大きさを与えてください: スカルプトマップはどの軸も同じ範囲に"
        "伸ばします"));
    hide();
    parent->installEventFilter(this);
    m_doc.addListener(this, ListenerRank::Preview);
    refresh();
}

PrimSizeNote::~PrimSizeNote() {
    m_doc.removeListener(this);
}

bool PrimSizeNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize) {
        place();
    }
    return QLabel::eventFilter(watched, event);
}

void PrimSizeNote::refresh() {
    if (!m_doc.hasSculptMap()) {
        hide();
        return;
    }
    setText(QCoreApplication::translate("tesk::PrimSizeNote", "プリムの大きさ: %1")
                .arg(QString::fromStdString(PrimSizeText(m_doc.mesh().halfExtent))));
    adjustSize();
    place();
    show();
}

void PrimSizeNote::place() {
    const QWidget* area = parentWidget();
    move(area->width() - width() - kMargin, area->height() - height() - kMargin);
}

} // namespace tesk
