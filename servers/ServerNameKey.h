#pragma once

#include <QString>

// QSettings reserves '/' and '\' in keys as group separators, yet a server name may
// hold any character. Those two and the escape character '%' become "%2F", "%5C" and
// "%25"; every other name is its own key. (QSettings then percent-encodes spaces and
// non-ASCII characters in the file by itself and decodes them on reading.)
QString EscapeServerName(const QString& name);

// The inverse; a '%' not followed by one of the three escapes is taken literally, so
// keys written by hand still read as what they show.
QString UnescapeServerName(const QString& key);
