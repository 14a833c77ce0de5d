#include "ui/notes/NoteEditor.h"

#include "data/PersianDigits.h"
#include "platform/Error.h"
#include "platform/FileReplacement.h"
#include "platform/Messages.h"
#include "platform/SaveFileChooser.h"
#include "ui/main/RightToLeftText.h"
#include "ui/notes/ReaderData.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString originTitle(const ReaderNote &note)
{
    if (note.origin == ReaderNote::Imported)
        return QStringLiteral("يادداشت وارد شده: ");
    if (note.origin == ReaderNote::OtherWindow)
        return QStringLiteral("نسخه ديگر يادداشت: ");
    return QStringLiteral("يادداشت: ");
}

} // namespace

NoteEditor::NoteEditor(ReaderData *reader, const ReaderNote &note, QWidget *parent)
    : QDialog(parent)
    , Text(new QPlainTextEdit(this))
    , State(new QLabel(this))
    , SaveToFile(new QPushButton(QStringLiteral("ذخيره در پرونده..."), this))
    , OtherNotes(new QPushButton(this))
    , MergeNote(new QPushButton(QStringLiteral("افزودن به يادداشت خودم"), this))
    , m_data(reader)
    , m_note(note)
{
    setObjectName(QStringLiteral("NoteEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(originTitle(note) + note.ref.label());
    setLayoutDirection(Qt::RightToLeft);
    setModal(false);
    resize(420, 300);

    Text->setObjectName(QStringLiteral("NoteText"));
    Text->setAccessibleName(originTitle(note) + note.ref.label());
    RightToLeftText::apply(Text);
    // Lines wrap at the window's width: a note is read, not scrolled sideways.
    Text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text->installEventFilter(this);
    State->setObjectName(QStringLiteral("NoteState"));
    State->setWordWrap(true);
    SaveToFile->setObjectName(QStringLiteral("SaveToFile"));
    OtherNotes->setObjectName(QStringLiteral("OtherNotes"));
    MergeNote->setObjectName(QStringLiteral("MergeNote"));
    SaveToFile->hide();
    OtherNotes->hide();
    MergeNote->setVisible(isKept());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(OtherNotes);
    buttons->addWidget(MergeNote);
    buttons->addStretch(1);
    buttons->addWidget(SaveToFile);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text, 1);
    layout->addWidget(State);
    layout->addLayout(buttons);

    ReaderStore &store = reader->store();
    const std::optional<ReaderNote> stored =
        isKept() ? store.noteById(note.id) : store.note(note.ref);
    if (stored) {
        Text->setPlainText(stored->text);
        m_base = {stored->id, stored->revision, 0};
    } else if (isKept()) {
        // Gone since the list was read: a save brings the text back as a kept note.
        m_base = {note.id, note.revision, 0};
        State->setText(QStringLiteral("اين يادداشت ديگر در پرونده نيست."));
    }
    if (store.isReadOnly()) {
        State->setText(store.readOnlyReason());
        SaveToFile->show();
    }
    showOthers();

    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(SaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { saveNow(); });
    connect(Text, &QPlainTextEdit::textChanged, this, [this] { textEdited(); });
    connect(SaveToFile, &QPushButton::clicked, this, [this] { saveToFile(); });
    connect(OtherNotes, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { OtherNotesClick(); }); });
    connect(MergeNote, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { MergeNoteClick(); }); });
}

void NoteEditor::showOthers()
{
    if (isKept())
        return;
    size_t kept = 0;
    try {
        kept = m_data->store().keptNotes(m_note.ref).size();
    } catch (const Error &) {
    }
    OtherNotes->setText(
        QStringLiteral("يادداشت هاي ديگر اين متن (%1)").arg(PersianDigits::number(qint64(kept))));
    OtherNotes->setVisible(kept > 0);
}

void NoteEditor::OtherNotesClick()
{
    for (const ReaderNote &kept : m_data->store().keptNotes(m_note.ref))
        m_data->editKeptNote(kept, parentWidget());
}

void NoteEditor::MergeNoteClick()
{
    if (!saveNow(true))
        return;
    const ReaderRemoval merged = m_data->store().mergeNote(m_base.id != 0 ? m_base.id : m_note.id);
    m_dirty = false;
    m_data->noteSaved(m_note.ref);
    m_data->removedHere(merged);
    QWidget *parent = parentWidget();
    const ReaderRef ref = m_note.ref;
    close();
    m_data->editNote(ref, parent);
}

void NoteEditor::textEdited()
{
    m_dirty = true;
    // Not restarted by each key: while the reader types on, a save still comes every
    // SaveDelayMs, so a killed program loses less than that of the typing.
    if (!m_saveTimer.isActive())
        m_saveTimer.start();
}

bool NoteEditor::saveNow(bool tell)
{
    m_saveTimer.stop();
    if (!m_dirty)
        return true;
    const QString text = Text->toPlainText();
    try {
        ReaderStore &store = m_data->store();
        const ReaderStore::NoteSave saved =
            isKept() ? store.saveKeptNote(m_note.id, m_note.ref, text, m_base)
                     : store.saveNote(m_note.ref, text, m_base);
        m_base = saved.base();
        if (isKept() && saved.id != 0)
            m_note.id = saved.id;
        m_dirty = false;
        m_failure.clear();
        SaveToFile->setVisible(store.isReadOnly());
        State->setText(saved.keptOther
                           ? QStringLiteral("ذخيره شد؛ متني که پنجره ديگري نوشته بود کنار آن "
                                            "نگه داشته شد.")
                           : QStringLiteral("ذخيره شد."));
        m_data->noteSaved(m_note.ref);
        if (saved.keptOther)
            showOthers();
        return true;
    } catch (const Error &e) {
        failed(e.message(), tell);
        return false;
    }
}

void NoteEditor::failed(const QString &why, bool tell)
{
    const bool first = m_failure.isEmpty();
    m_failure = why;
    State->setText(QStringLiteral("ذخيره نشد: ") + why);
    SaveToFile->show();
    if (first && !tell)
        Messages::showMessage(QStringLiteral("يادداشت ذخيره نشد: %1\nمتن در ويرايشگر مي ماند و با "
                                             "تغيير بعدي دوباره ذخيره مي شود؛ «ذخيره در "
                                             "پرونده...» آن را در پرونده اي جدا نگه مي دارد.")
                                  .arg(why),
                              this);
}

bool NoteEditor::saveToFile()
{
    const QString start = QDir::home().filePath(QStringLiteral("note-%1-%2-%3.txt")
                                                    .arg(m_note.ref.kind)
                                                    .arg(m_note.ref.number)
                                                    .arg(m_note.ref.verse));
    const QString path =
        SaveFileChooser::current().chooseFileToSave(this, start, QStringLiteral("متن (*.txt)"));
    if (path.isEmpty())
        return false;
    const QString reason = FileReplacement::write(path, Text->toPlainText().toUtf8());
    if (!reason.isEmpty()) {
        Messages::showError(
            QStringLiteral("پرونده «%1» نوشته نشد: %2").arg(QDir::toNativeSeparators(path), reason),
            this);
        return false;
    }
    State->setText(
        QStringLiteral("متن در پرونده «%1» نوشته شد.").arg(QDir::toNativeSeparators(path)));
    return true;
}

void NoteEditor::closeEvent(QCloseEvent *event)
{
    if (saveNow(true)) {
        event->accept();
        return;
    }
    // The text could not be saved: the reader decides, and is never left unable to close.
    const QStringList choices{QStringLiteral("ذخيره در پرونده..."),
                              QStringLiteral("بستن و رها کردن متن"),
                              QStringLiteral("ماندن در ويرايشگر")};
    const int chosen = Messages::choose(
        QStringLiteral("يادداشت «%1» ذخيره نشد: %2\nمتن آن را در پرونده اي جدا نگه مي داريد؟")
            .arg(m_note.ref.label(), m_failure),
        choices, this);
    if ((chosen == 0 && saveToFile()) || chosen == 1) {
        m_dirty = false;
        event->accept();
        return;
    }
    event->ignore();
}

void NoteEditor::reject()
{
    close();
}

bool NoteEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text && event->type() == QEvent::FocusOut)
        saveNow();
    return QDialog::eventFilter(watched, event);
}
