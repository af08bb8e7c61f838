#include "QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace tesk {

namespace {
QString title() {
    return QApplication::applicationDisplayName();
}
} // namespace

void QtMessages::inform(const std::string& text) {
    QMessageBox::information(m_parent, title(), QString::fromStdString(text));
}

bool QtMessages::okCancel(const std::string& text) {
    return QMessageBox::question(m_parent, title(), QString::fromStdString(text),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

bool QtMessages::yesNo(const std::string& text) {
    return QMessageBox::question(m_parent, title(), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace tesk
