#include "PECView.h"

#include "PECForm.h"
#include "PECToolDialog.h"

#include <QKeyEvent>
#include <QResizeEvent>
#include <QScrollArea>

namespace tesk {

PECView::PECView(Ctesk001Doc& doc, QWidget* parent)
    : QWidget(parent), m_editBar(new PECToolDialog(this)), m_scroll(new QScrollArea(this)),
      m_panel(new PECForm(doc)) {
    setObjectName(QStringLiteral("PECView"));
    // The pane below the 2-D editor is often lower than the panel: scroll rather than cut
    // the rotate sliders off.
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_panel);
    // The splitter above never squeezes the pane below the edit bar and the whole panel.
    setMinimumHeight(m_editBar->barHeight() + m_panel->minimumHeight());
    connect(m_editBar, &PECToolDialog::undoClicked, this, &PECView::undo);
    connect(m_editBar, &PECToolDialog::redoClicked, this, &PECView::redo);
    connect(m_editBar, &PECToolDialog::confirmClicked, this, &PECView::confirm);
    connect(m_editBar, &PECToolDialog::resetClicked, this, &PECView::reset);
}

void PECView::confirm() {
    m_panel->control().confirm();
}

void PECView::reset() {
    m_panel->control().reset();
}

void PECView::undo() {
    m_panel->control().undo();
}

void PECView::redo() {
    m_panel->control().redo();
}

void PECView::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size();
    const int bar = m_editBar->barHeight();
    m_editBar->setGeometry(0, 0, size.width(), bar);
    m_scroll->setGeometry(0, bar, size.width(), std::max(size.height() - bar, 0));
}

void PECView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        confirm();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tesk
