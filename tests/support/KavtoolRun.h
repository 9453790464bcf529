#pragma once
// Running the real kavtool on a program folder of a test, and filling such a folder with the
// shipped sample files.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kav {

struct TKavtoolRun {
    int Code;
    QString Out;
    QString Err;
};

// Runs Program --home Home Args in P (set up by the caller with its environment and folder).
inline TKavtoolRun RunKavtool(QProcess& P, const QString& Program, const QString& Home,
                              const QStringList& Args) {
    P.start(Program, QStringList{"--home", Home} + Args);
    if (!P.waitForFinished(60000))
        return {-1, {}, "timeout"};
    return {P.exitCode(), QString::fromUtf8(P.readAllStandardOutput()),
            QString::fromUtf8(P.readAllStandardError())};
}

inline TKavtoolRun RunKavtool(const QString& Program, const QString& Home,
                              const QStringList& Args) {
    QProcess P;
    return RunKavtool(P, Program, Home, Args);
}

// Copies SampleDir's Default/ and Language/ into Home; false when a file could not be copied.
inline bool CopySampleFolders(const QString& SampleDir, const QString& Home) {
    for (const char* Sub : {"Default", "Language"}) {
        QDir Source(SampleDir + "/" + Sub);
        QDir(Home).mkpath(Sub);
        for (const QString& Name : Source.entryList(QDir::Files))
            if (!QFile::copy(Source.filePath(Name), Home + "/" + Sub + "/" + Name))
                return false;
    }
    return true;
}

} // namespace kav
