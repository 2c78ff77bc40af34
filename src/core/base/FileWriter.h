#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace swr {

// The steps by which the program writes files: every file it writes goes through the
// writer in use, and on failure each step gives the system's reason. The system's own
// writer is used unless a Scoped_File_Writer puts another in its place (tests put one
// that fails at a chosen step).
class IFile_Writer {
public:
    enum class Swap { Done, Failed, Unsupported };

    virtual ~IFile_Writer() = default;
    // Creates the file f names for writing; a file of that name must not exist yet.
    virtual bool Open(QFile& f, QString* reason) = 0;
    virtual bool Write(QFile& f, const QByteArray& data, QString* reason) = 0;
    // Puts what was written on the disk itself and closes f.
    virtual bool Flush(QFile& f, QString* reason) = 0;
    // Renames a file or folder, replacing a file of the new name.
    virtual bool Rename(const QString& from, const QString& to, QString* reason) = 0;
    virtual bool Make_Folder(const QString& path, QString* reason) = 0;
    // Exchanges two folders in one step: each name then holds what the other held.
    // Unsupported where the system or its file system has no such step.
    virtual Swap Exchange_Folders(const QString& a, const QString& b, QString* reason) = 0;
    // Removes a file or a folder with everything in it, as far as it can.
    virtual void Remove(const QString& path) = 0;
};

// The writer in use, and the system's own.
IFile_Writer& File_Writer();
IFile_Writer& System_File_Writer();

// Puts a writer in use for its lifetime.
class Scoped_File_Writer {
public:
    explicit Scoped_File_Writer(IFile_Writer& writer);
    ~Scoped_File_Writer();
    Scoped_File_Writer(const Scoped_File_Writer&) = delete;
    Scoped_File_Writer& operator=(const Scoped_File_Writer&) = delete;

private:
    IFile_Writer* previous_;
};

} // namespace swr
