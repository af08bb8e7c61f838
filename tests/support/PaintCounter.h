#pragma once
// Counts the paint events widgets receive, through an event filter on the application, for
// tests that check what a change repaints.

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QWidget>

namespace tesk::testing {

class PaintCounter : public QObject {
public:
    PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    int count(const QWidget* widget) const { return m_counts.value(widget); }
    /// The paints of `widget` and of every widget inside it.
    int countWithin(const QWidget* widget) const {
        int total = 0;
        for (auto it = m_counts.begin(); it != m_counts.end(); ++it) {
            if (it.key() == widget || widget->isAncestorOf(it.key())) {
                total += it.value();
            }
        }
        return total;
    }
    QList<const QWidget*> painted() const { return m_counts.keys(); }
    void reset() { m_counts.clear(); }

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && object->isWidgetType()) {
            const auto* widget = static_cast<const QWidget*>(object);
            if (!m_counts.contains(widget)) {
                connect(widget, &QObject::destroyed, this,
                        [this, widget] { m_counts.remove(widget); });
            }
            ++m_counts[widget];
        }
        return false;
    }

private:
    QHash<const QWidget*, int> m_counts;
};

} // namespace tesk::testing
