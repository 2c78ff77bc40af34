#pragma once

#include <QString>
#include <QStringView>

namespace swr {

// Trims the blanks and control characters (U+0000..U+0020) at both ends: how language
// files, addresses and the data checks' "trimmed" values are read.
QString Trim_Control(const QString& s);
QStringView Trim_Control_View(QStringView s);

// Decodes UTF-8 as it stands. A byte-order mark at the start is kept as a character of the
// text (QString::fromUtf8 drops it), so that a value read from a file is the value written.
QString Utf8_Text(const char* s, qsizetype n);
inline QString Utf8_Text(const char* s) { return Utf8_Text(s, s ? qsizetype(qstrlen(s)) : 0); }

} // namespace swr
