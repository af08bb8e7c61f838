#pragma once
// The mode bar across the top of the 2-D editor: select mode, divide mode, and the divide
// operation (add or delete), which shows only in divide mode.

#include <QWidget>

class QPushButton;

namespace tesk {

class PEToolDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 20;

    explicit PEToolDialog(QWidget* parent = nullptr);

    bool addChecked() const;
    bool deleteChecked() const;

signals:
    void selectChosen();
    /// Divide mode with the operation button that is checked.
    void divideChosen(bool addChecked, bool deleteChecked);
    void addChosen();
    void deleteChosen();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showOperations(bool shown);

    QPushButton* m_add;
    QPushButton* m_delete;
};

} // namespace tesk
