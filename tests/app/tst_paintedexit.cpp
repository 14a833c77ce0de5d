// The benchmark's whole-process runs: the program, asked through the environment, ends by
// itself once its launcher is painted and says when; without the variable it keeps running.

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <ctime>

class tst_PaintedExit : public QObject {
    Q_OBJECT

    static QProcessEnvironment environment(bool ask)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (ask)
            env.insert(QStringLiteral("KEVRAN_EXIT_AFTER_PAINT"), QStringLiteral("1"));
        else
            env.remove(QStringLiteral("KEVRAN_EXIT_AFTER_PAINT"));
        return env;
    }

    static qint64 monotonicNs()
    {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec;
    }

private slots:
    void endsOncePainted_data()
    {
        QTest::addColumn<QString>("program");
        QTest::newRow("program") << QStringLiteral(KEVRAN_PROGRAM);
        QTest::newRow("reference window") << QStringLiteral(KEVRAN_REFERENCE);
    }

    void endsOncePainted()
    {
        QFETCH(QString, program);
        QProcess process;
        process.setProcessEnvironment(environment(true));
        process.setWorkingDirectory(QFileInfo(QStringLiteral(KEVRAN_TEST_DATABASE)).absolutePath());
        const qint64 before = monotonicNs();
        process.start(program, {});
        QVERIFY(process.waitForFinished(60000));
        const qint64 after = monotonicNs();
        const QString out = QString::fromLatin1(process.readAllStandardOutput());
        const QString why = out + QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitStatus() == QProcess::NormalExit, qPrintable(why));
        QVERIFY2(process.exitCode() == 0, qPrintable(why));
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^painted (\\d+)\\n$")).match(out);
        QVERIFY2(match.hasMatch(), qPrintable(out));
        const qint64 painted = match.captured(1).toLongLong();
        QVERIFY(painted > before && painted < after);
    }

    void keepsRunningUnlessAsked()
    {
        QProcess process;
        process.setProcessEnvironment(environment(false));
        process.setWorkingDirectory(QFileInfo(QStringLiteral(KEVRAN_TEST_DATABASE)).absolutePath());
        process.start(QStringLiteral(KEVRAN_PROGRAM), {});
        QVERIFY(process.waitForStarted());
        QVERIFY(!process.waitForFinished(1500));
        process.kill();
        process.waitForFinished();
        QVERIFY(process.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_PaintedExit)
#include "tst_paintedexit.moc"
