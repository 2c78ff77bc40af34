#include "TestSupport.h"

#include "session/Startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace swr::test {

QString ProgramFolder::path(const QString& rel) const
{
    return QDir::cleanPath(dir.path() + QLatin1Char('/') + rel);
}

void ProgramFolder::write(const QString& rel, const QByteArray& data) const
{
    const QString p = path(rel);
    QDir().mkpath(QFileInfo(p).path());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray ProgramFolder::read(const QString& rel) const
{
    QFile f(path(rel));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void ProgramFolder::start()
{
    Start_Up(st, dir.path(), msg);
}

QByteArray Read_Test_Data(const QString& name)
{
    QFile f(QStringLiteral(SWR_TEST_DATA_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing test data");
    return f.readAll();
}

} // namespace swr::test
