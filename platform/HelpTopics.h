#pragma once

#include <QString>

class QWidget;

// The help topic of the connection string editor.
inline constexpr int ConnectionStringHelpContext = 27270;

// The page of a help topic as HTML, or empty when there is no such topic.
QString helpTopicHtml(int helpContext);

// Shows the topic in a help window that parent owns, reusing one that is open.
// Returns the window, or nullptr (showing nothing) for an unknown topic.
QWidget* ShowHelpTopic(QWidget* parent, int helpContext);
