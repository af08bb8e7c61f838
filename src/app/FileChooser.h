#pragma once
// File dialogs behind an interface, so tests answer them from a script instead of blocking.

#include <QString>
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
};

/// The system's file dialogs.
class QtFileChooser : public FileChooser {
public:
    std::optional<QString> openFile(QWidget* parent, const QString& filter,
                                    const QString& proposed) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& filter,
                                    const QString& proposed) override;
};

} // namespace tesk
