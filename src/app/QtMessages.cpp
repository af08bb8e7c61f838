#include "QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace tesk {

namespace {
QString title() {
    return QApplication::applicationDisplayName();
}
} // namespace

QString shownMessage(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    for (qsizetype end = whole.size(); end > 0;
         end = whole.lastIndexOf(QLatin1Char('\n'), end - 1)) {
        const QString head = whole.left(end);
        const QString translated =
            QCoreApplication::translate("Messages", head.toUtf8().constData());
        if (translated != head) {
            return translated + whole.mid(end);
        }
    }
    return whole;
}

void QtMessages::inform(const std::string& text) {
    QMessageBox::information(m_parent, title(), shownMessage(text));
}

bool QtMessages::okCancel(const std::string& text) {
    return QMessageBox::question(m_parent, title(), shownMessage(text),
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

SaveChoice QtMessages::saveDiscardCancel(const std::string& text) {
    const auto answer = QMessageBox::warning(
        m_parent, title(), shownMessage(text),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) {
        return SaveChoice::Save;
    }
    return answer == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

bool QtMessages::yesNo(const std::string& text) {
    return QMessageBox::question(m_parent, title(), shownMessage(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace tesk
