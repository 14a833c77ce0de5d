#include "reader/ReaderStore.h"
#include "ui/notes/NoteEditor.h"
#include "ui/notes/ReaderData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <time.h>

namespace {

// What the children type: Persian with the zero-width non-joiner and Persian digits, Arabic
// with its marks, line breaks.
const QString kTyped = (QStringLiteral("آية الكرسي را مي‌خوانم ۲۵۵\n") +
                        QStringLiteral("اللَّهُ لَا إِلَٰهَ إِلَّا هُوَ ") + QStringLiteral("الْحَيُّ الْقَيُّومُ؛ "))
                           .repeated(12);
constexpr int kKeyIntervalMs = 12;

qint64 monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

ReaderRef refOf(const QString &which)
{
    return which == QLatin1String("verse") ? ReaderRef::ofVerse(2, 255) : ReaderRef::ofNahj(1, 27);
}

// The child: a note editor on the given store, typed into a character at a time, each key
// reported on standard output with the moment it was typed, until it is killed.
int typeUntilKilled(const QString &path, const QString &which)
{
    ReaderData data;
    data.setPath(path);
    ReaderNote own;
    own.ref = refOf(which);
    NoteEditor editor(&data, own);
    editor.show();
    int typed = 0;
    QTimer keys;
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (typed == kTyped.size()) {
            keys.stop();
            return;
        }
        editor.Text->moveCursor(QTextCursor::End);
        editor.Text->insertPlainText(kTyped.mid(typed++, 1));
        std::printf("%d %lld\n", typed, static_cast<long long>(monotonicMs()));
        std::fflush(stdout);
    });
    keys.start(kKeyIntervalMs);
    return QCoreApplication::exec();
}

} // namespace

// Notes typed into editors of programs killed at random moments: what was saved is always a
// beginning of what was typed, and holds everything typed more than a second before the kill.
// Two programs type on one reader.db at once.
class tst_NoteKill : public QObject {
    Q_OBJECT

private slots:
    void killedWhileTyping()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reader.db"));
        QRandomGenerator random(20261210);
        for (int round = 0; round < 6; ++round) {
            struct Child {
                QString which;
                QProcess process;
                qint64 lastTyped = 0;              // how many keys, by the kill
                QList<QPair<int, qint64>> moments; // key count, when typed
            };
            Child children[2];
            children[0].which = QStringLiteral("verse");
            children[1].which = QStringLiteral("sermon");
            for (Child &c : children) {
                c.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
                c.process.start(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("--type"), path, c.which});
                QVERIFY(c.process.waitForStarted());
            }
            const int delay = 300 + int(random.bounded(2200));
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < delay)
                children[0].process.waitForReadyRead(20);
            qint64 killedAt = 0;
            for (Child &c : children) {
                c.process.kill();
                killedAt = std::max(killedAt, monotonicMs());
                c.process.waitForFinished();
                for (const QByteArray &line : c.process.readAllStandardOutput().split('\n')) {
                    const QList<QByteArray> parts = line.split(' ');
                    if (parts.size() == 2)
                        c.moments.append({parts[0].toInt(), parts[1].toLongLong()});
                }
            }

            ReaderStore store;
            store.open(path);
            for (Child &c : children) {
                const std::optional<ReaderNote> note = store.note(refOf(c.which));
                const QString saved = note ? note->text : QString();
                int mustHave = 0;
                for (const auto &[count, at] : c.moments) {
                    if (at <= killedAt - 1000)
                        mustHave = count;
                }
                QVERIFY2(kTyped.startsWith(saved), qPrintable(c.which + ": " + saved));
                QVERIFY2(saved.size() >= mustHave,
                         qPrintable(QStringLiteral("%1 round %2: %3 of %4 keys typed a second "
                                                   "before the kill were saved")
                                        .arg(c.which)
                                        .arg(round)
                                        .arg(saved.size())
                                        .arg(mustHave)));
            }
            // Each round types from an empty note.
            std::vector<qint64> ids;
            for (const ReaderNote &n : store.notes())
                ids.push_back(n.id);
            store.removeNotes(ids);
        }
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--type") == 0)
        return typeUntilKilled(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    tst_NoteKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_notekill.moc"
