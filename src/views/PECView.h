#pragma once
// The transform pane below the 2-D editor: the edit bar across its top and the transform
// panel under it. Return confirms while the focus is in the pane.

#include <QWidget>

class QScrollArea;

namespace tesk {

class Ctesk001Doc;
class PECForm;
class PECToolDialog;

class PECView : public QWidget {
    Q_OBJECT
public:
    explicit PECView(Ctesk001Doc& doc, QWidget* parent = nullptr);

    PECToolDialog* editBar() const { return m_editBar; }
    PECForm* panel() const { return m_panel; }
    QScrollArea* panelArea() const { return m_scroll; }

    // The edit bar's commands, also reached by the main window's keyboard shortcuts.
    void confirm();
    void reset();
    void undo();
    void redo();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PECToolDialog* m_editBar;
    QScrollArea* m_scroll;
    PECForm* m_panel;
};

} // namespace tesk
