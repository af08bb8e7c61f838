#pragma once
// The edit bar across the top of the transform panel: "UNDO", "REDO", "確定" (confirm) and
// "リセット" (reset).

#include <QWidget>

namespace tesk {

class PECToolDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 20;

    explicit PECToolDialog(QWidget* parent = nullptr);

    /// kHeight, or more when the buttons (laid out in dialog units of the font found here)
    /// reach lower: the bar never cuts them off.
    int barHeight() const;

signals:
    void undoClicked();
    void redoClicked();
    void confirmClicked();
    void resetClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tesk
