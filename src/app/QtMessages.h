#pragma once
// Messages shown as modal message boxes over a parent window.

#include "Messages.h"

#include <QString>

class QWidget;

namespace tesk {

/// A text of the core in the user's language. The core speaks the designed Japanese; a text it
/// composed (a message, then a file's name or a reason on further lines) is translated by its
/// longest leading lines that have a translation, and the rest is kept.
QString shownMessage(const std::string& text);

class QtMessages : public Messages {
public:
    explicit QtMessages(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void inform(const std::string& text) override;
    bool okCancel(const std::string& text) override;
    bool yesNo(const std::string& text) override;
    SaveChoice saveDiscardCancel(const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace tesk
