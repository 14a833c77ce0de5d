#pragma once

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

// The topical index: for each of the 38 topics of the topic list, the rules that decide which
// verses it lists. Read from the topic file (see topics.txt for its format) and applied verse
// by verse while the text database is built.
class TopicIndex {
public:
    // A verse the topic must list, with where it is known from.
    struct MustHold {
        int verse = 0; // sura * 1000 + verse
        int line = 0;
        QString note;
    };
    struct Topic {
        QString code;
        QString caption;
        int line = 0;                          // where its block starts in the file
        std::vector<QRegularExpression> rules; // word and regex lines
        QSet<int> verses;                      // sura * 1000 + verse
        QSet<int> excluded;
        std::vector<MustHold> mustHold;
    };

    // The codes of the topic buttons in their order, and the caption of each.
    static const QStringList &codes();
    static QString captionOf(const QString &code);
    // The number of verses of each sura, sura 1 at index 0.
    static const std::vector<int> &suraVerseCounts();

    // Reads the topic file; raises an Error "path:line: what is wrong" on any defect.
    static TopicIndex read(const QString &path);

    // The codes of the verse's topics, separated by single blanks, in button order; empty when
    // the verse belongs to no topic. searchText is the verse's search form.
    QString codesFor(int sura, int verse, const QString &searchText) const;

    // The must-hold verses that the rules leave out, as lines "path:line: ..."; searchTexts as
    // for verseCounts.
    QStringList untaggedMustHold(const std::vector<QStringList> &searchTexts) const;
    // Raises an Error listing them when there is any.
    void checkMustHold(const std::vector<QStringList> &searchTexts) const;

    // The topics in button order.
    const std::vector<Topic> &topics() const { return m_topics; }

    // For each topic in button order, how many verses it lists; searchTexts[s][a] is the search
    // form of verse a + 1 of sura s + 1.
    std::vector<int> verseCounts(const std::vector<QStringList> &searchTexts) const;
    // Those counts as lines "code count caption", one per topic.
    QStringList countReport(const std::vector<QStringList> &searchTexts) const;

private:
    bool contains(const Topic &topic, int key, const QString &searchText) const;

    QString m_path;
    std::vector<Topic> m_topics;
};
