#pragma once

#include <QString>
#include <QStringView>

namespace swr {

// Trims the blanks and control characters (U+0000..U+0020) at both ends: how language
// files, addresses and the data checks' "trimmed" values are read.
QString Trim_Control(const QString& s);
QStringView Trim_Control_View(QStringView s);

} // namespace swr
