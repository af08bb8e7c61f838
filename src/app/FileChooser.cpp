#include "FileChooser.h"

#include <QFileDialog>

namespace tesk {

std::optional<QString> QtFileChooser::openFile(QWidget* parent, const QString& filter,
                                               const QString& proposed) {
    const QString path = QFileDialog::getOpenFileName(parent, QString(), proposed, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> QtFileChooser::saveFile(QWidget* parent, const QString& filter,
                                               const QString& proposed) {
    const QString path = QFileDialog::getSaveFileName(parent, QString(), proposed, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace tesk
