#include "base/FileWriter.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#endif

namespace swr {

namespace {

std::filesystem::path Native_Path(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

void Set_Reason(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
}

void Set_Reason(QString* reason, const std::error_code& ec)
{
    Set_Reason(reason, QString::fromLocal8Bit(ec.message()));
}

// Puts a folder's entries (names created, renamed or removed in it) on the disk, as far
// as the system lets a folder be flushed.
void Sync_Folder(const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    Q_UNUSED(path);
#endif
}

QString Parent_Folder(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

class System_Writer final : public IFile_Writer {
public:
    bool Open(QFile& f, QString* reason) override
    {
        // Unbuffered: a full disk is reported by the write that meets it.
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        Set_Reason(reason, f.errorString());
        return false;
    }

    bool Write(QFile& f, const QByteArray& data, QString* reason) override
    {
        if (f.write(data) == data.size())
            return true;
        Set_Reason(reason, f.errorString());
        return false;
    }

    bool Flush(QFile& f, QString* reason) override
    {
        if (!f.flush()) {
            Set_Reason(reason, f.errorString());
            f.close();
            return false;
        }
#if defined(Q_OS_UNIX)
        const int failed = ::fsync(f.handle());
#elif defined(Q_OS_WIN)
        const int failed = ::_commit(f.handle());
#else
        const int failed = 0;
#endif
        const int error = errno;
        f.close();
        if (failed != 0) {
            Set_Reason(reason, std::error_code(error, std::generic_category()));
            return false;
        }
        if (f.error() != QFileDevice::NoError) {
            Set_Reason(reason, f.errorString());
            return false;
        }
        return true;
    }

    bool Rename(const QString& from, const QString& to, QString* reason) override
    {
        if (QFileInfo(from).isDir())
            Sync_Folder(from);
        std::error_code ec;
        std::filesystem::rename(Native_Path(from), Native_Path(to), ec);
        if (ec) {
            Set_Reason(reason, ec);
            return false;
        }
        Sync_Folder(Parent_Folder(to));
        return true;
    }

    bool Make_Folder(const QString& path, QString* reason) override
    {
        std::error_code ec;
        if (std::filesystem::create_directory(Native_Path(path), ec))
            return true;
        Set_Reason(reason, ec ? ec : std::make_error_code(std::errc::file_exists));
        return false;
    }

    Swap Exchange_Folders(const QString& a, const QString& b, QString* reason) override
    {
#if defined(Q_OS_LINUX) && defined(RENAME_EXCHANGE)
        Sync_Folder(a);
        if (::renameat2(AT_FDCWD, QFile::encodeName(a).constData(), AT_FDCWD,
                        QFile::encodeName(b).constData(), RENAME_EXCHANGE)
            == 0) {
            Sync_Folder(Parent_Folder(b));
            return Swap::Done;
        }
        const int error = errno;
        // An old kernel, or a file system that cannot exchange names.
        if (error == ENOSYS || error == EINVAL || error == EOPNOTSUPP)
            return Swap::Unsupported;
        Set_Reason(reason, std::error_code(error, std::generic_category()));
        return Swap::Failed;
#else
        Q_UNUSED(a);
        Q_UNUSED(b);
        Q_UNUSED(reason);
        return Swap::Unsupported;
#endif
    }

    void Remove(const QString& path) override
    {
        std::error_code ec;
        std::filesystem::remove_all(Native_Path(path), ec);
    }
};

IFile_Writer* In_Use = nullptr;

} // namespace

IFile_Writer& System_File_Writer()
{
    static System_Writer writer;
    return writer;
}

IFile_Writer& File_Writer()
{
    return In_Use ? *In_Use : System_File_Writer();
}

Scoped_File_Writer::Scoped_File_Writer(IFile_Writer& writer) : previous_(In_Use)
{
    In_Use = &writer;
}

Scoped_File_Writer::~Scoped_File_Writer()
{
    In_Use = previous_;
}

} // namespace swr
