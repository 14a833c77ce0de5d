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
    struct Topic {
        QString code;
        QString caption;
        int line = 0;                          // where its block starts in the file
        std::vector<QRegularExpression> rules; // word and regex lines
        QSet<int> verses;                      // sura * 1000 + verse
        QSet<int> excluded;
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

    // The topics in button order.
    const std::vector<Topic> &topics() const { return m_topics; }

    // For each topic in button order, how many verses it lists; searchTexts[s][a] is the search
    // form of verse a + 1 of sura s + 1.
    std::vector<int> verseCounts(const std::vector<QStringList> &searchTexts) const;
    // Those counts as lines "code count caption", one per topic.
    QStringList countReport(const std::vector<QStringList> &searchTexts) const;

private:
    bool contains(const Topic &topic, int key, const QString &searchText) const;

    std::vector<Topic> m_topics;
};
