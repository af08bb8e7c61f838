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

SaveChoice QtMessages::saveDiscardCancel(const std::string& text) {
    const auto answer = QMessageBox::warning(
        m_parent, title(), QString::fromStdString(text),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) {
        return SaveChoice::Save;
    }
    return answer == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

bool QtMessages::yesNo(const std::string& text) {
    return QMessageBox::question(m_parent, title(), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace tesk
