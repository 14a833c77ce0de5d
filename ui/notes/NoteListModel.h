#pragma once

#include "reader/ReaderStore.h"

#include <QAbstractListModel>
#include <vector>

// The notes, each as its reference and the first words of its text, in the order of the
// texts; a filter of folded text narrows them to those whose reference or text holds it.
class NoteListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // How much of a note's text a row shows.
    static constexpr int OpeningLength = 80;

    explicit NoteListModel(QObject *parent = nullptr);

    void setNotes(std::vector<ReaderNote> notes);
    void setFilter(const QString &folded);
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
    mutable std::vector<QString> m_folded;
};
