#include "FuzzEntries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

// Every input kept under tests/data/fuzz/<reader>/ (seeds and inputs that once crashed or
// hung a fuzzer) goes through its reader again.
TEST(FuzzRegression, KeptInputsStillPass)
{
    int replayed = 0;
    for (int i = 0; i < swr::fuzz::Entry_Count; ++i) {
        const swr::fuzz::Entry& e = swr::fuzz::Entries[i];
        QDir dir(QStringLiteral(SWR_TEST_DATA_DIR "/fuzz/") + QLatin1String(e.name));
        for (const QString& name : dir.entryList(QDir::Files)) {
            QFile f(dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            SCOPED_TRACE(e.name + std::string("/") + name.toStdString());
            e.run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}
