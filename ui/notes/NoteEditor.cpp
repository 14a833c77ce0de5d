#include "ui/notes/NoteEditor.h"

#include "platform/Error.h"
#include "platform/Messages.h"
#include "ui/main/RightToLeftText.h"
#include "ui/notes/ReaderData.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

NoteEditor::NoteEditor(ReaderData *reader, const ReaderRef &ref, QWidget *parent)
    : QDialog(parent)
    , Text(new QPlainTextEdit(this))
    , State(new QLabel(this))
    , m_data(reader)
    , m_ref(ref)
{
    setObjectName(QStringLiteral("NoteEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("يادداشت: ") + ref.label());
    setLayoutDirection(Qt::RightToLeft);
    setModal(false);
    resize(420, 300);

    Text->setObjectName(QStringLiteral("NoteText"));
    Text->setAccessibleName(QStringLiteral("يادداشت ") + ref.label());
    RightToLeftText::apply(Text);
    // Lines wrap at the window's width: a note is read, not scrolled sideways.
    Text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text->installEventFilter(this);
    State->setObjectName(QStringLiteral("NoteState"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text, 1);
    layout->addWidget(State);

    if (const auto note = reader->store().note(ref)) {
        Text->setPlainText(note->text);
        m_revision = note->revision;
    }
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(SaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, [this] { saveNow(); });
    connect(Text, &QPlainTextEdit::textChanged, this, [this] { textEdited(); });
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
        const auto saved = m_data->store().saveNote(m_ref, text, m_revision);
        m_revision = saved.revision;
        m_dirty = false;
        m_failed = false;
        State->setText(saved.keptOther
                           ? QStringLiteral("ذخيره شد؛ متني که برنامه ديگري نوشته بود کنار آن "
                                            "نگه داشته شد.")
                           : QStringLiteral("ذخيره شد."));
        m_data->noteSaved(m_ref, !text.isEmpty());
        return true;
    } catch (const Error &e) {
        State->setText(QStringLiteral("ذخيره نشد: ") + e.message());
        if (!m_failed || tell) {
            m_failed = true;
            Messages::showMessage(QStringLiteral("يادداشت ذخيره نشد: %1\nمتن در ويرايشگر مي ماند "
                                                 "و دوباره ذخيره مي شود.")
                                      .arg(e.message()),
                                  this);
        }
        return false;
    }
}

void NoteEditor::closeEvent(QCloseEvent *event)
{
    if (saveNow(true))
        event->accept();
    else
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
