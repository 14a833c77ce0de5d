#include "ui/notes/NoteListModel.h"

#include "data/TextFolding.h"

#include <QTextBoundaryFinder>

NoteListModel::NoteListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

QString NoteListModel::rowText(const ReaderNote &note)
{
    // Cut between characters as the reader sees them: never inside a pair of surrogates, a
    // letter with its marks, or an emoji sequence.
    qsizetype end = note.text.size();
    if (end > OpeningLength) {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, note.text);
        graphemes.setPosition(OpeningLength);
        end = graphemes.isAtBoundary() ? OpeningLength : graphemes.toPreviousBoundary();
    }
    QString opening = note.text.left(end).simplified();
    if (note.cut || end < note.text.size())
        opening += QStringLiteral("…");
    QString text = note.ref.label() + QStringLiteral(": ") + opening;
    if (note.origin == ReaderNote::Imported)
        text += QStringLiteral(" (وارد شده)");
    else if (note.origin == ReaderNote::OtherWindow)
        text += QStringLiteral(" (نسخه ديگر)");
    return text;
}

void NoteListModel::setNotes(std::vector<ReaderNote> notes)
{
    beginResetModel();
    m_notes = std::move(notes);
    m_foldedLabels.clear();
    build();
    endResetModel();
}

void NoteListModel::setFilter(const QString &folded, const QSet<qint64> &textMatches)
{
    if (folded == m_filter && textMatches == m_textMatches)
        return;
    beginResetModel();
    m_filter = folded;
    m_textMatches = textMatches;
    build();
    endResetModel();
}

void NoteListModel::build()
{
    m_shown.clear();
    if (m_filter.isEmpty()) {
        m_shown.resize(m_notes.size());
        for (size_t i = 0; i < m_notes.size(); ++i)
            m_shown[i] = int(i);
        return;
    }
    if (m_foldedLabels.empty()) {
        m_foldedLabels.reserve(m_notes.size());
        for (const ReaderNote &n : m_notes)
            m_foldedLabels.push_back(TextFolding::fold(n.ref.label()));
    }
    for (size_t i = 0; i < m_notes.size(); ++i) {
        if (m_textMatches.contains(m_notes[i].id) || m_foldedLabels[i].contains(m_filter))
            m_shown.push_back(int(i));
    }
}

const ReaderNote *NoteListModel::noteAt(const QModelIndex &index) const
{
    if (!index.isValid() || size_t(index.row()) >= m_shown.size())
        return nullptr;
    return &m_notes[size_t(m_shown[size_t(index.row())])];
}

int NoteListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant NoteListModel::data(const QModelIndex &index, int role) const
{
    const ReaderNote *note = noteAt(index);
    if (!note)
        return QVariant();
    if (role == Qt::DisplayRole)
        return rowText(*note);
    if (role == Qt::ToolTipRole)
        return note->text;
    return QVariant();
}
