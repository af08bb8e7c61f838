#pragma once
// The size to give the prim, shown in a corner of the preview while the shape is edited: the
// map stretches every axis over its whole range, and only this size puts the proportions back.

#include "DocumentListener.h"

#include <QLabel>

namespace tesk {

class Ctesk001Doc;

class PrimSizeNote : public QLabel, public DocumentListener {
public:
    /// Sits in the lower right corner of `parent` and follows its size.
    PrimSizeNote(Ctesk001Doc& doc, QWidget* parent);
    ~PrimSizeNote() override;

    void shapeRebuilt() override { refresh(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void place();

    Ctesk001Doc& m_doc;
};

} // namespace tesk
