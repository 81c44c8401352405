// The frame's splitter: the folder tree on the left, the file list on the right. A wheel turn
// that reaches the splitter itself (over the handle, or passed up by a pane) goes to the pane
// under the cursor.
#pragma once

#include <QSplitter>

class CFtpSplitterWnd : public QSplitter {
    Q_OBJECT
public:
    explicit CFtpSplitterWnd(QWidget* parent = nullptr);

    // Column 0 holds the tree, column 1 the file list.
    void SetPanes(QWidget* tree, QWidget* fileList);
    QWidget* Pane(int column) const { return widget(column); }

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    // A pane that ignores the turn passes it back up here; it then ends.
    bool m_forwarding = false;
};
