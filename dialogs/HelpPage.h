// The help page: an HTML manual shipped beside the program, opened in the desktop's browser at
// the topic of the window that asks.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

// Where the page is: in the program folder of the settings, beside the program, or in the
// installed data folder; empty when none has it.
QString HelpPagePath();

// The page's address at `topic` (an anchor such as "132"; empty for the top).
QUrl HelpTopicUrl(const QString& topic);

// Opens the page at `topic`; says so in a message box when the page is not installed.
void OpenHelpTopic(QWidget* owner, const QString& topic = {});
