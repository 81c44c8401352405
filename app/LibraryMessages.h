// The FTP library's messages in the user's language. The library words them in English from
// its string table; a message is known again by its template, translated, and given its inserts
// back. A server's own reply, an insert, stays as the server sent it.
#pragma once

#include <QString>

// `text` in the user's language; a text that is no library template comes back unchanged.
QString TranslateLibraryMessage(const QString& text);
