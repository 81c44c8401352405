// The "Log" pane below the folder tree and the file list: what every connection said to its
// server and heard back, sent and received lines in colours of their own. It listens to the trace
// only while it is shown, so a hidden log costs nothing.
#pragma once

#include <QDockWidget>

class QTreeView;
class TraceLogModel;

class LogPane : public QDockWidget {
    Q_OBJECT
public:
    explicit LogPane(QWidget* parent = nullptr);
    ~LogPane() override;

    TraceLogModel* Model() const { return m_model; }
    QTreeView* View() const { return m_view; }
    // The selected lines, one a line, as a verbose script run prints them.
    QString SelectedText() const;
    void CopySelection() const;
    void Clear();

    // The colour of a line on a palette: sent lines and error replies stand out; other received
    // lines keep the palette's text colour. Light or dark, the colour stays readable on the base.
    static QColor LineColour(const QPalette& palette, bool sent, bool error);

private:
    TraceLogModel* m_model = nullptr;
    QTreeView* m_view = nullptr;
};
