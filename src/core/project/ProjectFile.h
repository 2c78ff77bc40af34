#pragma once

#include "app/Xml.h"

#include <QString>
#include <QStringList>

namespace swr {

struct AppState;

// The outcome of loading or saving a project file. message is what the error box shows
// when ok is false (file, where and why); notices are warnings to show even when the
// file was loaded (rows that were not loaded, for instance).
struct FileResult {
    bool ok = true;
    QString message;
    QStringList notices;
};

inline constexpr const char* Project_Comment = "SW_VERSION = 1.002";

// Loads a project file. A missing file is no error: missing is set and doc stays empty,
// so every value takes its default. A file that is not well-formed gives the error text.
// breaks says how line breaks inside attributes are read (see XmlBreaks).
FileResult Load_Project_Xml(const AppState& st, const QString& path, pugi::xml_document& doc,
                            bool* missing = nullptr, XmlBreaks breaks = XmlBreaks::Normalised);

// Writes a project file whose root element is already in doc: the comment
// "SW_VERSION = 1.002" is added after the root at document level, then the whole file is
// written to a temporary file and renamed over the old one.
FileResult Save_Project_Xml(const AppState& st, const QString& path, pugi::xml_document& doc);

} // namespace swr
