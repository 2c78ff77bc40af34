#pragma once

#include "base/Xml.h"

#include <QString>
#include <QStringList>

#include <span>

namespace swr {

class Texts;

// The outcome of loading or saving a project file. message is what the error box shows
// when ok is false (file, where and why); notices are warnings to show even when the
// file was loaded (rows that were not loaded, for instance).
struct FileResult {
    bool ok = true;
    QString message;
    QStringList notices;

    static FileResult Failed(const QString& message) { return {false, message, {}}; }
};

inline constexpr const char* Project_Comment = "SW_VERSION = 1.002";

inline constexpr const char* ParGen_File_Name = "ParGen.xml";
inline constexpr const char* NMEA_Access_File_Name = "NMEA_0183_Set_Access.xml";
inline constexpr const char* MQTT_Topic_File_Name = "MQTT_Set_Topic.xml";

// The paths of the three project files of a configuration folder.
struct Project_Paths {
    QString File_ParGen;
    QString File_NMEA_Access;
    QString File_MQTT_Topic;
};
Project_Paths Project_Files_In(const QString& folder);

// True when a configuration name stays inside the projects folder: no ".." component,
// not absolute, no drive letter.
bool Name_Stays_Inside(const QString& name);

// Creates the folder of configuration name below Projects_Dir, one level, and its bin
// folder (a failure there is not reported). Returns 0, or the index of the error text:
// 107 an empty name, 106 the folder exists (unless existing_too, which takes it as it
// is), 105 a name that leaves the folder or a folder that cannot be created.
int Create_Configuration_Folder(const QString& Projects_Dir, const QString& name, bool existing_too = false);

// Loads a project file. A missing file is no error: missing is set and doc stays empty,
// so every value takes its default. A file that is not well-formed gives the error text.
// breaks says how line breaks inside attributes are read (see XmlBreaks).
FileResult Load_Project_Xml(const Texts& texts, const QString& path, pugi::xml_document& doc,
                            bool* missing = nullptr, XmlBreaks breaks = XmlBreaks::Normalised);

// Appends a "row" element to list with one attribute per name, its text from texts.
void Append_Row(pugi::xml_node list, std::span<const char* const> names, const QStringList& texts);

// Writes a project file whose root element is already in doc: the comment
// "SW_VERSION = 1.002" is added after the root at document level, then the whole file is
// written to a temporary file and renamed over the old one.
FileResult Save_Project_Xml(const Texts& texts, const QString& path, pugi::xml_document& doc);

} // namespace swr
