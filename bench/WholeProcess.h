#pragma once

#include <QByteArray>
#include <QString>

// Starts a whole program as a reader would, with the environment that makes it end once its
// first window is painted (see PaintedExit), and times it from exec to that moment.
class WholeProcess {
public:
    struct Start {
        bool ok = false;
        double paintedMs = 0; // exec to the painted window
        double exitMs = 0;    // exec to the end of the process
        double peakMB = 0;    // the kernel's peak resident set of the child
        double cpuMs = 0;     // the child's user and system time, to its end
        long pageFaults = 0;  // the child's page faults (minor and major)
    };

    // The program runs in workingDirectory with this Qt platform plug-in.
    WholeProcess(const QString &program, const QString &workingDirectory,
                 const QByteArray &platform);

    Start run() const;
    const QString &program() const { return m_program; }

private:
    QString m_program;
    QString m_workingDirectory;
    QByteArray m_platform;
};
