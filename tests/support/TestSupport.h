#pragma once

#include "session/AppState.h"
#include "base/Messages.h"

#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace swr::test {

// Message boxes answered without a human: every text is recorded, questions take the
// queued answers (No when none is queued).
class RecordingMessages : public IMessages {
public:
    void Show_Error(const QString& text) override { errors.append(text); }
    void Show_Warning(const QString& text) override { warnings.append(text); }
    void Show_Info(const QString& text) override { infos.append(text); }
    bool Ask_Yes_No(const QString& text) override
    {
        questions.append(text);
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    QStringList errors, warnings, infos, questions;
    std::deque<bool> answers;
};

// A temporary program folder with a state started up over it.
struct ProgramFolder {
    QTemporaryDir dir;
    AppState st;
    RecordingMessages msg;
    QString path(const QString& rel) const;
    void write(const QString& rel, const QByteArray& data) const;
    QByteArray read(const QString& rel) const;
    void start(); // runs the start-up sequence over the folder
};

QByteArray Read_Test_Data(const QString& name);

} // namespace swr::test
