#include "ui/notes/NoteListModel.h"

#include "data/TextFolding.h"

NoteListModel::NoteListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

QString NoteListModel::rowText(const ReaderNote &note)
{
    QString opening = note.text.left(OpeningLength).simplified();
    if (note.text.size() > OpeningLength)
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
    m_folded.clear();
    build();
    endResetModel();
}

void NoteListModel::setFilter(const QString &folded)
{
    if (folded == m_filter)
        return;
    beginResetModel();
    m_filter = folded;
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
    if (m_folded.empty()) {
        m_folded.reserve(m_notes.size());
        for (const ReaderNote &n : m_notes)
            m_folded.push_back(TextFolding::fold(n.ref.label() + QLatin1Char(' ') + n.text));
    }
    for (size_t i = 0; i < m_notes.size(); ++i) {
        if (m_folded[i].contains(m_filter))
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
        return note->text.left(1000);
    return QVariant();
}
