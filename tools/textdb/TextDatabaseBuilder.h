#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

// Builds the text database from the source texts. The file is written under a temporary name
// and renamed into place only when complete, so a failed build never leaves a partial file.
class TextDatabaseBuilder {
public:
    struct Options {
        QString sourceDir;
        QString output = QStringLiteral("1.db");
        QString translation = QStringLiteral("fa.makarem");
        // The topical index the verses' topic codes come from.
        QString topics = QStringLiteral(KEVRAN_DEFAULT_TOPIC_FILE);
        // When set, the notices of the Notices table are also written to this text file, each
        // under a line naming its source file, for a package's copyright file.
        QString notices = {};
    };
    struct Counts {
        int num = 0;
        int main = 0;
        int type = 0;
        int notices = 0;
        int translations = 0;
        // The translations of the sources left out, each with the reason.
        QStringList leftOut = {};
    };
    using Progress = std::function<void(const QString &)>;

    explicit TextDatabaseBuilder(Options options, Progress progress = {});

    // Raises an Error naming the file (and line) at fault.
    Counts build();

    static constexpr int VerseCount = 6236;
    // The clean text in the form the topic index matches: pause and sajda marks removed,
    // blanks collapsed.
    static QString searchForm(const QString &cleanVerse);
    // A translation whose file was cut: many verses piled up at one greatest length, most of
    // them ending inside a word. Answers how many verses stop inside a word at that length,
    // 0 for a whole text.
    static int cutVerses(const std::vector<QStringList> &suras);

private:
    void say(const QString &line) const;
    void writeNotices(const QString &path, const std::vector<std::pair<QString, QString>> &notices);

    Options m_options;
    Progress m_progress;
    QStringList m_leftOut;
};
