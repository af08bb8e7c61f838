#pragma once
// A file chooser for window tests: answers file dialogs from a script and records what was
// asked, so no test ever waits on a modal dialog.

#include "FileChooser.h"

#include <deque>
#include <optional>
#include <vector>

namespace tesk::testing {

struct ScriptedChooser : FileChooser {
    std::optional<QString> openFile(QWidget*, const QString& filter, const QString&) override {
        return answer("open " + filter);
    }
    std::optional<QString> openRecentFile(QWidget* parent, const QString& filter,
                                          const QString& proposed,
                                          const QStringList& recent) override {
        lastRecent = recent;
        return openFile(parent, filter, proposed);
    }
    std::optional<QString> saveFile(QWidget*, const QString& filter,
                                    const QString& proposed) override {
        lastProposed = proposed;
        return answer("save " + filter);
    }
    std::optional<QString> saveFileAs(QWidget* parent, const QString& filter,
                                      const QString& proposed, QString& chosenFilter) override {
        chosenFilter =
            filterAnswer.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : filterAnswer;
        return saveFile(parent, filter, proposed);
    }
    std::optional<QString> answer(const QString& what) {
        asked.push_back(what);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<QString>> answers;
    /// The filter entry a save dialog reports as chosen; empty: the first one.
    QString filterAnswer;
    std::vector<QString> asked;
    QString lastProposed;
    QStringList lastRecent;
};

} // namespace tesk::testing
