#include "FileChooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

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

std::optional<QString> QtFileChooser::openRecentFile(QWidget* parent, const QString& filter,
                                                     const QString& proposed,
                                                     const QStringList& recent) {
    QFileDialog dialog(parent, QString(), proposed, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The folders of the recent files, newest first: in the dialog's history list and its
    // side bar, so a recent project is two clicks away.
    QStringList folders;
    for (const QString& file : recent) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!folders.contains(folder)) {
            folders.append(folder);
        }
    }
    if (!folders.isEmpty()) {
        dialog.setHistory(folders);
        QList<QUrl> sidebar = dialog.sidebarUrls();
        for (const QString& folder : folders) {
            const QUrl url = QUrl::fromLocalFile(folder);
            if (!sidebar.contains(url)) {
                sidebar.append(url);
            }
        }
        dialog.setSidebarUrls(sidebar);
        if (proposed.isEmpty() || !QFileInfo(proposed).isAbsolute()) {
            dialog.setDirectory(folders.front());
            dialog.selectFile(QFileInfo(recent.front()).fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().front();
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> QtFileChooser::saveFileAs(QWidget* parent, const QString& filter,
                                                 const QString& proposed, QString& chosenFilter) {
    const QString path =
        QFileDialog::getSaveFileName(parent, QString(), proposed, filter, &chosenFilter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

} // namespace tesk
