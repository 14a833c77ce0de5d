#include "bench/WholeProcess.h"

#include "app/PaintedExit.h"

#include <QByteArrayList>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

qint64 nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

} // namespace

WholeProcess::WholeProcess(const QString &program, const QString &workingDirectory,
                           const QByteArray &platform)
    : m_program(program)
    , m_workingDirectory(workingDirectory)
    , m_platform(platform)
{
}

WholeProcess::Start WholeProcess::run() const
{
    Start start;
    // The parent's environment, with the platform replaced and the exit after painting asked.
    QByteArrayList variables;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            variables << QByteArray(*e);
    }
    variables << "QT_QPA_PLATFORM=" + m_platform
              << QByteArray(PaintedExit::EnvironmentVariable) + "=1";
    std::vector<char *> envp;
    for (QByteArray &v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    QByteArray path = m_program.toLocal8Bit();
    char *argv[] = {path.data(), nullptr};
    const QByteArray dir = m_workingDirectory.toLocal8Bit();

    int fds[2];
    if (pipe(fds) != 0)
        return start;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addchdir_np(&actions, dir.constData());

    const qint64 begin = nowNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        return start;
    }
    QByteArray output;
    char buffer[256];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0)
            output.append(buffer, got);
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const qint64 end = nowNs();

    const int at = output.indexOf("painted ");
    if (at < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return start;
    const qint64 painted = output.mid(at + 8).trimmed().toLongLong();
    start.ok = painted > begin;
    start.paintedMs = double(painted - begin) / 1e6;
    start.exitMs = double(end - begin) / 1e6;
    start.peakMB = double(usage.ru_maxrss) / 1024.0;
    start.cpuMs = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                  double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    start.pageFaults = usage.ru_minflt + usage.ru_majflt;
    return start;
}
