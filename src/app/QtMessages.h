#pragma once
// Messages shown as modal message boxes over a parent window.

#include "Messages.h"

class QWidget;

namespace tesk {

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
