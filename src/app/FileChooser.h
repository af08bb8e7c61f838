#pragma once
// File dialogs behind an interface, so tests answer them from a script instead of blocking.

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace tesk {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    /// The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& filter,
                                            const QString& proposed) = 0;
    /// The chosen path (the dialog has asked before overwriting), or nothing on cancel.
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& filter,
                                            const QString& proposed) = 0;
    /// openFile offering `recent` files (absolute paths, newest first) to go back to.
    virtual std::optional<QString> openRecentFile(QWidget* parent, const QString& filter,
                                                  const QString& proposed,
                                                  const QStringList& /*recent*/) {
        return openFile(parent, filter, proposed);
    }
    /// saveFile that also tells which of the filter's entries was chosen (the first one when
    /// the dialog cannot say).
    virtual std::optional<QString> saveFileAs(QWidget* parent, const QString& filter,
                                              const QString& proposed, QString& chosenFilter) {
        chosenFilter = filter.section(QStringLiteral(";;"), 0, 0);
        return saveFile(parent, filter, proposed);
    }
};

/// The system's file dialogs.
class QtFileChooser : public FileChooser {
public:
    std::optional<QString> openFile(QWidget* parent, const QString& filter,
                                    const QString& proposed) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& filter,
                                    const QString& proposed) override;
    std::optional<QString> openRecentFile(QWidget* parent, const QString& filter,
                                          const QString& proposed,
                                          const QStringList& recent) override;
    std::optional<QString> saveFileAs(QWidget* parent, const QString& filter,
                                      const QString& proposed, QString& chosenFilter) override;
};

} // namespace tesk
