#include "ui/nahj/NahjPage.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "platform/Clipboard.h"
#include "platform/Messages.h"
#include "ui/main/ColourPair.h"
#include "ui/main/FieldBinding.h"
#include "ui/main/OwnFont.h"
#include "ui/main/PaneMenu.h"
#include "ui/main/RightToLeftText.h"
#include "ui/main/Theme.h"
#include "ui/main/ZoomKeys.h"
#include "ui/notes/NotePane.h"
#include "ui/notes/ReaderActions.h"
#include "ui/notes/ReaderData.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

NotePane *pane(const char *name, QWidget *parent)
{
    auto *edit = named(new NotePane(parent), name);
    edit->setReadOnly(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ColourPair::setBase(edit, Qt::white);
    // The caret moves through the text from the keyboard, as screen readers read it.
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return edit;
}

} // namespace

NahjPage::NahjPage(DataSource *book, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
{
    setObjectName(QStringLiteral("TabSheet2"));

    TreeView1 = named(new QTreeWidget, "TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setIndentation(19);
    TreeView1->setRootIsDecorated(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->installEventFilter(this);
    TreeView1->viewport()->installEventFilter(this);

    auto *panes = new QWidget;
    DBMemo4 = pane("DBMemo4", panes);
    DBMemo4->setFixedHeight(296);
    RightToLeftText::apply(DBMemo4);
    // The translation is Persian: read left to right, its full stops, numbers and brackets
    // would stand at the wrong ends of its lines.
    DBMemo3 = pane("DBMemo3", panes);
    RightToLeftText::apply(DBMemo3);
    QFont paneFont(QStringLiteral("Tahoma"));
    paneFont.setPixelSize(11); // 8 points
    OwnFont::set(DBMemo4, paneFont);
    OwnFont::set(DBMemo3, paneFont);
    auto *paneLayout = new QVBoxLayout(panes);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    paneLayout->setSpacing(0);
    paneLayout->addWidget(DBMemo4);
    paneLayout->addWidget(DBMemo3, 1);

    // The tree stands at the right edge; a teal splitter lets the reader widen it.
    Splitter1 = named(new QSplitter(Qt::Horizontal), "Splitter1");
    Splitter1->setHandleWidth(8);
    Splitter1->addWidget(TreeView1);
    Splitter1->addWidget(panes);
    Splitter1->setCollapsible(0, false);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({144, 600});
    QSplitterHandle *handle = Splitter1->handle(1);
    QPalette teal = handle->palette();
    teal.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    handle->setPalette(teal);
    handle->setAutoFillBackground(true);

    auto *strip = new QWidget;
    strip->setFixedHeight(55);
    Label2 = named(new QLabel(QStringLiteral("اندازه:"), strip), "Label2");
    TrackBar1 = named(new QSlider(Qt::Horizontal, strip), "TrackBar1");
    TrackBar1->setRange(8, 30);
    TrackBar1->setTickPosition(QSlider::NoTicks);
    TrackBar1->setValue(8);
    DBText4 = named(new QLabel(strip), "DBText4");
    TrackBar1->setFixedWidth(150);
    GroupBox6 = named(new QGroupBox(strip), "GroupBox6");
    RadioButton7 = named(new QRadioButton(QStringLiteral("ترجمه"), GroupBox6), "RadioButton7");
    RadioButton8 =
        named(new QRadioButton(QStringLiteral("متن و ترجمه"), GroupBox6), "RadioButton8");
    RadioButton8->setChecked(true);
    auto *radios = new QHBoxLayout(GroupBox6);
    radios->setContentsMargins(6, 2, 6, 2);
    radios->addWidget(RadioButton8);
    radios->addWidget(RadioButton7);

    // In the right-to-left page the first item of a row stands at the right: the caption is
    // read before its slider.
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(Label2);
    sizeRow->addWidget(TrackBar1);
    auto *left = new QVBoxLayout;
    left->setSpacing(2);
    left->addLayout(sizeRow);
    left->addWidget(DBText4);
    auto *stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(6, 2, 6, 2);
    stripLayout->addWidget(GroupBox6);
    stripLayout->addStretch(1);
    stripLayout->addLayout(left);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(strip);

    m_text = FieldBinding::bind(DBMemo4, m_book);
    m_translation = FieldBinding::bind(DBMemo3, m_book);
    m_title = FieldBinding::bind(DBText4, m_book);

    // The panes' own menu: the ordinary copy, and the text with the item's reference.
    PopupMenu7 = named(new PaneMenu(
                           QStringLiteral("کپي با نشاني"),
                           [this](QPlainTextEdit *pane) {
                               if (pane)
                                   copyItemWithReference(pane);
                           },
                           this),
                       "PopupMenu7");
    CopyBookText = named(PopupMenu7->copyAction(), "CopyBookText");
    CopyItemWithReference = named(PopupMenu7->commandAction(), "CopyItemWithReference");
    PopupMenu7->attach(DBMemo4);
    PopupMenu7->attach(DBMemo3);

    // The reader's own commands, hidden until the reader's data is attached.
    const ReaderActions reader = ReaderActions::install(
        this, {PopupMenu7}, {DBMemo4, DBMemo3}, [this] { AddBookmarkClick(); },
        [this] { EditNoteClick(); });
    AddBookmark = reader.addBookmark;
    EditNote = reader.editNote;

    connect(TrackBar1, &QSlider::valueChanged, this, [this] { TrackBar1Change(); });
    // Toggled, not clicked: a screen reader's action selects a radio without a click.
    connect(RadioButton7, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            RadioButton7Click();
    });
    connect(RadioButton8, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            RadioButton8Click();
    });
    Theme::follow(this, [this] { followTheme(); });
    new ZoomKeys(
        Splitter1, [this](int steps) { TrackBar1->setValue(TrackBar1->value() + steps); },
        [this] { TrackBar1->setValue(TrackBar1->minimum()); });
}

void NahjPage::followTheme()
{
    Theme &theme = Theme::current();
    for (QPlainTextEdit *edit : {DBMemo4, DBMemo3}) {
        theme.paint(edit, QPalette::Base, Theme::PaneBase, Qt::white);
        theme.paintText(edit);
    }
    theme.paint(Splitter1->handle(1), QPalette::Window, Theme::SplitterHandle,
                QColor(0x00, 0x80, 0x80));
}

void NahjPage::prepareContentsTree()
{
    TreeView1->setLayoutDirection(Qt::RightToLeft);
    TreeView1->clear();
}

void NahjPage::buildContentsTree(DataSet *book, DataSet *lookup)
{
    book->rebuild({QStringLiteral("SELECT Type AS Type,Name AS Name FROM Type")});
    const int sections = book->recordCount();
    const int type = book->requiredField(QStringLiteral("Type"));
    const int name = book->requiredField(QStringLiteral("Name"));
    const QString gap = QStringLiteral("    ");
    for (int i = 0; i < sections; ++i) {
        auto *section = new QTreeWidgetItem(TreeView1, QStringList(book->text(i, name)));
        // The tree shows titles only: the items' texts are read when an item is chosen.
        lookup->rebuild({QStringLiteral("SELECT Name2, Top FROM Main"),
                         QStringLiteral("WHERE Code = ") + book->text(i, type)});
        const int items = lookup->recordCount();
        const int title = lookup->requiredField(QStringLiteral("Name2"));
        const int top = lookup->requiredField(QStringLiteral("Top"));
        QList<QTreeWidgetItem *> children;
        children.reserve(items);
        for (int j = 0; j < items; ++j)
            children.append(new QTreeWidgetItem(
                QStringList(lookup->text(j, title) + gap + lookup->text(j, top))));
        // Added at once: the view's model takes one insertion instead of one per item.
        section->addChildren(children);
    }
    book->close();
    lookup->close();
}

void NahjPage::copyItemWithReference(QPlainTextEdit *pane)
{
    const DataSet *book = m_book->dataSet();
    const QString whole = pane->toPlainText();
    if (!book || book->isEmpty() || whole.isEmpty())
        return;
    const QTextCursor cursor = pane->textCursor();
    const QString text = cursor.hasSelection() ? cursor.selection().toPlainText() : whole;
    Clipboard::current().setText(text + QLatin1Char('\n') +
                                 QStringLiteral("(نهج البلاغه، %1)")
                                     .arg(book->fieldText(QStringLiteral("Name2")).trimmed()));
}

void NahjPage::bindPanes(bool bound)
{
    m_text->setField(bound ? QStringLiteral("arabic2") : QString());
    m_translation->setField(bound ? QStringLiteral("Farsi") : QString());
    m_title->setField(bound ? QStringLiteral("Name2") : QString());
}

void NahjPage::itemLookup()
{
    QTreeWidgetItem *node = TreeView1->currentItem();
    if (!node || !node->isSelected())
        return;
    bindPanes(false);
    QTreeWidgetItem *parent = node->parent();
    const int code = parent ? TreeView1->indexOfTopLevelItem(parent) + 1 : 0;
    const int id = (parent ? parent->indexOfChild(node) : TreeView1->indexOfTopLevelItem(node)) + 1;

    m_book->boundSet()->rebuild({QStringLiteral("SELECT * FROM Main"),
                                 QStringLiteral("WHERE Code = ") + QString::number(code),
                                 QStringLiteral("AND ID = ") + QString::number(id)});
    bindPanes(true);
}

void NahjPage::TrackBar1Change()
{
    OwnFont::setPointSize(DBMemo4, TrackBar1->value());
    OwnFont::setPointSize(DBMemo3, TrackBar1->value());
}

void NahjPage::RadioButton7Click()
{
    DBMemo4->hide();
    DBMemo3->show();
}

void NahjPage::RadioButton8Click()
{
    DBMemo4->show();
    DBMemo3->show();
}

bool NahjPage::eventFilter(QObject *watched, QEvent *event)
{
    // Key-down runs before the tree moves its selection, key-up after; a click after the press
    // has selected the node.
    const QEvent::Type type = event->type();
    if (watched == TreeView1 && type == QEvent::KeyPress)
        Messages::guard([this] { TreeView1KeyDown(); });
    else if (watched == TreeView1 && type == QEvent::KeyRelease)
        Messages::guard([this] { TreeView1KeyUp(); });
    else if (watched == TreeView1->viewport() && type == QEvent::MouseButtonRelease)
        Messages::guard([this] { TreeView1Click(); });
    return false;
}

void NahjPage::setReader(ReaderData *reader)
{
    m_reader = reader;
    AddBookmark->setVisible(reader != nullptr);
    EditNote->setVisible(reader != nullptr);
    if (!reader)
        return;
    connect(reader, &ReaderData::notesChanged, this, [this] { showNoteMarks(); });
    connect(m_book, &DataSource::reset, this, [this] { showNoteMarks(); });
    showNoteMarks();
}

std::optional<ReaderRef> NahjPage::shownItem() const
{
    const DataSet *book = m_book->dataSet();
    if (!book || book->isEmpty() || book->currentRow() < 0)
        return std::nullopt;
    const int code = book->fieldIndex(QStringLiteral("Code"));
    const int id = book->fieldIndex(QStringLiteral("ID"));
    if (code < 0 || id < 0)
        return std::nullopt;
    const int row = book->currentRow();
    const QString codeText = book->text(row, code);
    if (codeText.isEmpty())
        return std::nullopt;
    const ReaderRef ref = ReaderRef::ofNahj(codeText.toInt(), book->text(row, id).toInt());
    return ref.isWellFormed() ? std::optional<ReaderRef>(ref) : std::nullopt;
}

void NahjPage::showNoteMarks()
{
    const std::optional<ReaderRef> item = shownItem();
    const bool noted = m_reader && m_reader->isOpen() && item && m_reader->hasNote(*item);
    DBMemo4->setNoted(noted);
    DBMemo3->setNoted(noted);
}

void NahjPage::showItem(int code, int id)
{
    // Code 0 is looked up through the sections' own nodes (the preface is the first one's);
    // an item is a child of its section's node.
    QTreeWidgetItem *node = nullptr;
    if (code == 0)
        node = TreeView1->topLevelItem(id - 1);
    else if (QTreeWidgetItem *section = TreeView1->topLevelItem(code - 1))
        node = section->child(id - 1);
    if (!node)
        throw Error(QStringLiteral("اين بخش در نهج البلاغه يافت نشد"));
    TreeView1->setCurrentItem(node);
    node->setSelected(true);
    TreeView1->scrollToItem(node);
    itemLookup();
}

void NahjPage::AddBookmarkClick()
{
    if (!m_reader)
        return;
    if (const std::optional<ReaderRef> item = shownItem())
        m_reader->addBookmarks({*item});
}

void NahjPage::EditNoteClick()
{
    if (!m_reader)
        return;
    if (const std::optional<ReaderRef> item = shownItem())
        m_reader->editNote(*item, window());
}
