#pragma once

#include "reader/ReaderStore.h"

#include <QAbstractListModel>
#include <QSet>
#include <vector>

// The notes, each as its reference and the first words of its text, in the order of the
// texts. A filter narrows them to those whose reference holds the folded text, or whose text
// held it when the store was asked.
class NoteListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // How much of a note's text a row shows.
    static constexpr int OpeningLength = 80;

    explicit NoteListModel(QObject *parent = nullptr);

    // The notes' heads will do (ReaderStore::noteHeads).
    void setNotes(std::vector<ReaderNote> notes);
    // textMatches: the ids of the notes whose whole text holds the filter.
    void setFilter(const QString &folded, const QSet<qint64> &textMatches);
    const ReaderNote *noteAt(const QModelIndex &index) const;
    int noteCount() const { return int(m_notes.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // A row's text: «البقرة ۲۵۵: first words», with the note's origin when it is not the
    // reader's own.
    static QString rowText(const ReaderNote &note);

private:
    void build();

    std::vector<ReaderNote> m_notes;
    std::vector<int> m_shown;
    QString m_filter;
    QSet<qint64> m_textMatches;
    mutable std::vector<QString> m_foldedLabels;
};
