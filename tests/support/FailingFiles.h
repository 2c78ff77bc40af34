#pragma once

#include "base/FileWriter.h"

#include <QFile>
#include <QString>

namespace swr::test {

// The steps of the file writer a fake can fail at. Swap is the exchange of two folders.
enum class File_Step { Open, Write, Flush, Rename, Make_Folder, Swap };

inline const char* Step_Name(File_Step s)
{
    static const char* const names[] = {"open", "write", "flush", "rename", "make folder", "swap"};
    return names[int(s)];
}

// While it lives, the program writes its files through this writer: the system's own
// steps, except that the chosen step fails with the chosen reason for every path that
// contains `only` (every path when it is empty). A failed write writes half of its data
// first, as a disk that fills up would. Without Swap_Supported the system appears to have
// no folder exchange; with Keep_Leftovers nothing is removed, as when the program is
// stopped before it cleans up.
class Failing_Files : public IFile_Writer {
public:
    Failing_Files(File_Step step, QString reason, QString only = {})
        : step_(step), reason_(std::move(reason)), only_(std::move(only))
    {
    }

    bool Swap_Supported = true;
    bool Keep_Leftovers = false;
    int failures = 0; // how many times the chosen step failed

    bool Open(QFile& f, QString* reason) override
    {
        return !Fails(File_Step::Open, f.fileName(), reason) && real_.Open(f, reason);
    }
    bool Write(QFile& f, const QByteArray& data, QString* reason) override
    {
        if (Fails(File_Step::Write, f.fileName(), reason)) {
            real_.Write(f, data.left(data.size() / 2), nullptr);
            return false;
        }
        return real_.Write(f, data, reason);
    }
    bool Flush(QFile& f, QString* reason) override
    {
        if (Fails(File_Step::Flush, f.fileName(), reason)) {
            f.close();
            return false;
        }
        return real_.Flush(f, reason);
    }
    bool Rename(const QString& from, const QString& to, QString* reason) override
    {
        return !Fails(File_Step::Rename, from, reason) && real_.Rename(from, to, reason);
    }
    bool Make_Folder(const QString& path, QString* reason) override
    {
        return !Fails(File_Step::Make_Folder, path, reason) && real_.Make_Folder(path, reason);
    }
    Swap Exchange_Folders(const QString& a, const QString& b, QString* reason) override
    {
        if (!Swap_Supported)
            return Swap::Unsupported;
        if (Fails(File_Step::Swap, a, reason))
            return Swap::Failed;
        return real_.Exchange_Folders(a, b, reason);
    }
    void Remove(const QString& path) override
    {
        if (!Keep_Leftovers)
            real_.Remove(path);
    }

private:
    bool Fails(File_Step step, const QString& path, QString* reason)
    {
        if (step != step_ || (!only_.isEmpty() && !path.contains(only_)))
            return false;
        ++failures;
        if (reason)
            *reason = reason_;
        return true;
    }

    File_Step step_;
    QString reason_;
    QString only_;
    IFile_Writer& real_ = System_File_Writer();
    Scoped_File_Writer in_use_{*this};
};

} // namespace swr::test
