#include "ui/search/SearchPage.h"

#include "data/DataSet.h"
#include "data/DataSource.h"
#include "data/LikeMatcher.h"
#include "data/SqlValue.h"
#include "data/TextFolding.h"
#include "platform/Clipboard.h"
#include "platform/KeyboardLayout.h"
#include "platform/Messages.h"
#include "ui/main/CaptionFit.h"
#include "ui/main/ColourPair.h"
#include "ui/main/DataGrid.h"
#include "ui/main/DataGridModel.h"
#include "ui/main/DefaultButton.h"
#include "ui/main/FieldBinding.h"
#include "ui/main/PopupMenu.h"
#include "ui/main/RightToLeftText.h"
#include "ui/main/Theme.h"
#include "ui/main/ZoomKeys.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFontInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

// What a scope fixes: the table part of the statement, the columns searched, shown and listed.
struct SearchPage::Scope {
    QRadioButton *SearchPage::*radio;
    const char *from;
    const char *exactColumn;
    const char *partialColumn;
    const char *shownColumn;
    const char *gridColumn1;
    const char *gridColumn2; // empty: the column is hidden
};

namespace {

const char *const kQuranFrom = "From num left join main on num.id=main.id1";

// The scopes in the order the statement choice tries them.
const SearchPage::Scope *scopes()
{
    static const SearchPage::Scope table[] = {
        {&SearchPage::s1, "FROM main", "search", "search", "search", "Name2", ""},
        {&SearchPage::s2, "FROM main", "farsi", "farsi", "farsi", "Name2", ""},
        {&SearchPage::s3, kQuranFrom, "search1", "search1", "search1", "Name", "vers"},
        {&SearchPage::s4, kQuranFrom, "english", "English", "english", "Name", "vers"},
    };
    return table;
}
constexpr int kScopeCount = 4;

// Leading and trailing blanks and control characters removed.
QString trimmed(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from].unicode() <= ' ')
        ++from;
    while (to > from && text[to - 1].unicode() <= ' ')
        --to;
    return text.mid(from, to - from);
}

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

void SearchPage::TextAttributes::setColor(const QColor &color)
{
    QTextCursor cursor = m_view->textCursor();
    if (cursor.hasSelection()) {
        QTextCharFormat format;
        format.setForeground(color);
        cursor.mergeCharFormat(format);
    } else {
        m_view->setTextColor(color);
    }
}

SearchPage::SearchPage(DataSource *results, QWidget *parent)
    : QWidget(parent)
    , m_results(results)
{
    setObjectName(QStringLiteral("TabSheet3"));

    DBRichEdit1 = named(new HitTextView, "DBRichEdit1");
    DBRichEdit1->setReadOnly(true);
    DBRichEdit1->setAcceptRichText(false);
    DBRichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RightToLeftText::apply(DBRichEdit1);
    // The text goes in black with its hits red: on white, whatever the desktop's palette.
    ColourPair::setBase(DBRichEdit1, Qt::white, Qt::black);
    // The night and paper themes put their own ground and text there; the day theme, the pair.
    Theme::follow(this, [this] {
        Theme &theme = Theme::current();
        theme.paint(DBRichEdit1, QPalette::Base, Theme::PaneBase, Qt::white);
        theme.paintText(DBRichEdit1);
    });
    PopupMenu5 = named(new PopupMenu(this), "PopupMenu5");
    N3 = named(PopupMenu5->addAction(QStringLiteral("کپي")), "N3");
    DBRichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBRichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu5->popup(DBRichEdit1->viewport()->mapToGlobal(at));
    });
    connect(N3, &QAction::triggered, this, [this] { Messages::guard([this] { N3Click(); }); });

    DbAltGrid4 = named(new DataGrid(m_results, {QStringLiteral("name"), QStringLiteral("vers")},
                                    {QStringLiteral("name"), QStringLiteral("vers")}),
                       "DbAltGrid4");
    DbAltGrid4->setSelectionMode(QAbstractItemView::SingleSelection);
    DbAltGrid4->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DbAltGrid4->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Fixed);
    DbAltGrid4->horizontalHeader()->resizeSection(1, 50);
    DbAltGrid4->verticalHeader()->setDefaultSectionSize(DbAltGrid4->fontMetrics().height() + 6);

    auto *panel = new QWidget;
    CaptionFit::keepHeight(panel, 246);
    GroupBox5 = named(new QGroupBox(QStringLiteral("محيط جستجو"), panel), "GroupBox5");
    s3 = named(new QRadioButton(QStringLiteral("قرآن"), GroupBox5), "s3");
    s4 = named(new QRadioButton(QStringLiteral("ترجمه قرآن"), GroupBox5), "s4");
    s1 = named(new QRadioButton(QStringLiteral("نهج البلاغه"), GroupBox5), "s1");
    s2 = named(new QRadioButton(QStringLiteral("ترجمه تهج البلاغه"), GroupBox5), "s2");
    auto *radios = new QVBoxLayout(GroupBox5);
    for (QRadioButton *radio : {s3, s4, s1, s2})
        radios->addWidget(radio);
    s3->setChecked(true);
    b1 = named(new QCheckBox(QStringLiteral("جستجوي دقيق"), panel), "b1");
    Edit2 = named(new QLineEdit(QStringLiteral("الله"), panel), "Edit2");
    Label1 = named(new QLabel(QStringLiteral("نتايج جستجو:"), panel), "Label1");
    s51 = named(new QLabel(panel), "s51");
    BitBtn5 = named(new QPushButton(QStringLiteral("جستجو"), panel), "BitBtn5");
    auto *count = new QHBoxLayout;
    count->addWidget(Label1);
    count->addWidget(s51, 1);
    auto *controls = new QVBoxLayout(panel);
    controls->setContentsMargins(4, 4, 4, 4);
    controls->addWidget(GroupBox5);
    controls->addWidget(b1);
    controls->addWidget(Edit2);
    controls->addLayout(count);
    controls->addWidget(BitBtn5);

    auto *column = named(new QWidget, "Panel4");
    auto *columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->addWidget(DbAltGrid4, 1);
    columnLayout->addWidget(panel);

    // In the right-to-left page the splitter's first widget stands at the right: the text.
    Splitter2 = named(new QSplitter(Qt::Horizontal), "Splitter2");
    Splitter2->setHandleWidth(3);
    Splitter2->addWidget(DBRichEdit1);
    Splitter2->addWidget(column);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setSizes({583, 200});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter2);

    // The rest of a long text goes in once the window has painted its beginning: a zero timer
    // fires after the events already posted, the window's paint among them (a queued call
    // would come before it, and the reader would wait for the whole text's layout).
    m_rest = new QTimer(this);
    m_rest->setSingleShot(true);
    m_rest->setInterval(0);
    connect(m_rest, &QTimer::timeout, this, &SearchPage::appendRest);
    // The view's text is replaced only when it changes; every replacement is recoloured.
    m_text = new FieldBinding(
        DBRichEdit1, m_results, QStringLiteral("search1"), [this](const QString &text) {
            if (m_textIsOurs && m_shown == viewText(text) && !m_shown.isEmpty())
                return;
            showResultText(text);
        });
    // A search's first row is put in the view while the set reads the others beside it; the
    // binding then finds the view already showing it.
    connect(m_results, &DataSource::firstRowRead, this,
            [this](const QStringList &fields, const QStringList &values) {
                for (qsizetype at = 0; at < fields.size() && m_searched; ++at) {
                    if (fields[at].compare(m_text->field(), Qt::CaseInsensitive) == 0) {
                        showResultText(values[at]);
                        break;
                    }
                }
            });
    connect(m_results, &DataSource::currentChanged, this, [this] { Timer2Timer(); });
    Timer2Timer();
    // A change the page did not make (text put in the view from elsewhere) leaves no rest of
    // the page's text to follow.
    connect(DBRichEdit1->document(), &QTextDocument::contentsChange, this, [this] {
        if (!m_editing)
            m_textIsOurs = false;
    });

    // A scope is selected when its radio becomes checked, by a click, the arrow keys or a
    // screen reader's action alike.
    using Handler = void (SearchPage::*)();
    const std::pair<QRadioButton *, Handler> scopeRadios[] = {{s3, &SearchPage::s3Click},
                                                              {s4, &SearchPage::s4Click},
                                                              {s1, &SearchPage::s1Click},
                                                              {s2, &SearchPage::s2Click}};
    for (const auto &[radio, handler] : scopeRadios) {
        connect(radio, &QRadioButton::toggled, this, [this, handler = handler](bool checked) {
            if (checked)
                Messages::guard([this, handler] { (this->*handler)(); });
        });
    }
    connect(BitBtn5, &QPushButton::clicked, this,
            [this] { Messages::guard([this] { BitBtn5Click(); }); });
    Edit2->installEventFilter(this);
    DefaultButton::install(this, BitBtn5);
    // The zoom keys size the result text in points, from 8 to 30, for the rest of the run;
    // Ctrl+0 gives it back the window's font.
    new ZoomKeys(
        DBRichEdit1,
        [this](int steps) {
            QFont font = DBRichEdit1->font();
            const int points = qRound(QFontInfo(font).pointSizeF()); // the window's is in pixels
            font.setPointSize(std::clamp(points + steps, 8, 30));
            DBRichEdit1->setFont(font);
        },
        [this] { DBRichEdit1->setFont(QFont()); });
    // The result text is coloured anew in the theme's text and hit colours.
    connect(&Theme::current(), &Theme::changed, this, [this] {
        const QString shown = DBRichEdit1->toPlainText();
        recolour(&shown);
    });
}

DataSet *SearchPage::results() const
{
    return m_results->boundSet();
}

const SearchPage::Scope &SearchPage::selectedScope() const
{
    for (int i = 0; i < kScopeCount; ++i) {
        if ((this->*scopes()[i].radio)->isChecked())
            return scopes()[i];
    }
    return scopes()[2];
}

void SearchPage::selectScope(const Scope &scope)
{
    // The page empties: no search has listed what it shows next.
    m_searched.reset();
    results()->close();
    m_text->setField(QLatin1String(scope.shownColumn));
    const QString second = QLatin1String(scope.gridColumn2);
    DbAltGrid4->dataModel()->setFields({QLatin1String(scope.gridColumn1), second},
                                       {QLatin1String(scope.gridColumn1), second});
    DbAltGrid4->setColumnHidden(1, second.isEmpty());
    DbAltGrid4->horizontalHeader()->resizeSection(1, second.isEmpty() ? 0 : 50);
}

void SearchPage::s3Click()
{
    selectScope(scopes()[2]);
}

void SearchPage::s4Click()
{
    selectScope(scopes()[3]);
}

void SearchPage::s1Click()
{
    selectScope(scopes()[0]);
}

void SearchPage::s2Click()
{
    selectScope(scopes()[1]);
}

void SearchPage::BitBtn5Click()
{
    const Scope &scope = selectedScope();
    const QString typed = Edit2->text();
    const bool exact = b1->isChecked();
    const QString pattern = likePattern(typed, exact);
    QString where;
    if (exact) {
        // A whole word: blanks on both sides, the column's ends counting as blanks.
        where = QStringLiteral("WHERE  (' ' || %1 || ' ') like ")
                    .arg(QLatin1String(scope.exactColumn)) +
                SqlValue::quoted(pattern);
    } else {
        where = QStringLiteral("WHERE ( %1 like '").arg(QLatin1String(scope.partialColumn)) +
                SqlValue::insideQuotes(pattern) + QStringLiteral("') ");
    }
    m_searched = std::make_pair(typed, exact);
    DataSet *set = results();
    try {
        set->rebuild({QStringLiteral("SELECT * "), QLatin1String(scope.from), where});
    } catch (...) {
        // The first row may be in the view already; the set did not open.
        showResultText(QString());
        throw;
    }

    if (typed.isEmpty())
        Messages::showMessage(QStringLiteral("لطفا کلمه اي براي جستجو بنويسيد"), this);
    else if (DBRichEdit1->toPlainText().isEmpty())
        Messages::showMessage(QStringLiteral("چيزي يافت نشد "), this);
    else
        Messages::showMessage(
            QString::number(set->recordCount()) + QStringLiteral("مورد نتيجه داشت"), this);
}

SearchPage::TextAttributes SearchPage::CurrText()
{
    return TextAttributes(DBRichEdit1);
}

void SearchPage::DBRichEdit1Change()
{
    recolour(nullptr);
}

void SearchPage::showResultText(const QString &text)
{
    recolour(&text);
}

namespace {

// Where the beginning of a long text that goes into the view at once ends: about what a view
// shows past the first hit, after a blank that a letter follows, where the pieces end.
qsizetype headOf(const QString &text, qsizetype firstHitEnd)
{
    constexpr qsizetype Shown = 4096;
    qsizetype cut = std::max(Shown, firstHitEnd + Shown);
    if (cut >= text.size())
        return text.size();
    while (cut < text.size() && !(text[cut - 1] == u' ' && text[cut].isLetter()))
        ++cut;
    return cut;
}

} // namespace

QString SearchPage::viewText(const QString &text)
{
    // The view makes one paragraph end of a carriage return and line feed.
    return text.contains(QLatin1Char('\r'))
               ? QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
               : text;
}

std::vector<SearchPage::Hit> SearchPage::hitsIn(const QString &shown) const
{
    return m_searched ? hitsOf(shown, m_searched->first, m_searched->second)
                      : hitsOf(shown, Edit2->text(), b1->isChecked());
}

void SearchPage::appendRest()
{
    if (!m_textIsOurs || m_inView >= m_shown.size())
        return;
    QTextCharFormat black;
    black.setForeground(Theme::current().color(Theme::BodyText, Qt::black));
    QTextCursor end(DBRichEdit1->document());
    end.movePosition(QTextCursor::End);
    m_editing = true;
    end.beginEditBlock();
    HitTextView::insertInPieces(end, m_shown.mid(m_inView), black);
    end.endEditBlock();
    m_editing = false;
    m_inView = m_shown.size();
}

// Replaces the view's text by *text, in black, when text is given; then colours the hits of
// the last search (or, before any, of the search box's term) red. The view draws the hits over
// the text, so the letters are shaped and joined exactly as without colouring, and no
// selection is left. A long text goes in as its beginning, past the first hit by what a view
// shows, and the rest follows once the window has painted: laying out all of a long item
// before the page is painted took twice as long as the search itself.
void SearchPage::recolour(const QString *text)
{
    const Theme &theme = Theme::current();
    const QColor textColour = theme.color(Theme::BodyText, Qt::black);
    if (text) {
        m_shown = viewText(*text);
        m_hits = hitsIn(m_shown);
        m_inView = headOf(m_shown, m_hits.empty() ? 0 : m_hits.front().to);
        QTextCharFormat black;
        black.setForeground(textColour);
        QTextCursor editor(DBRichEdit1->document());
        m_editing = true;
        editor.beginEditBlock();
        editor.select(QTextCursor::Document);
        editor.removeSelectedText();
        HitTextView::insertInPieces(editor, m_shown.left(m_inView), black);
        editor.endEditBlock();
        m_editing = false;
        m_textIsOurs = true;
        if (m_inView < m_shown.size())
            m_rest->start();
        else
            m_rest->stop();
    } else {
        appendRest();
        m_shown = DBRichEdit1->toPlainText();
        m_inView = m_shown.size();
        m_hits = hitsIn(m_shown);
    }
    DBRichEdit1->setHits(m_hits, theme.color(Theme::HitText, Qt::red), textColour);

    // The caret rests at the first hit, or at the start, and the view shows it.
    QTextCursor caret(DBRichEdit1->document());
    caret.setPosition(m_hits.empty() ? 0 : int(m_hits.front().from));
    DBRichEdit1->setTextCursor(caret);
    DBRichEdit1->ensureCursorVisible();
    if (m_shown.isEmpty())
        CurrText().setColor(textColour);
}

QString SearchPage::likePattern(const QString &typed, bool exact)
{
    if (exact)
        return QStringLiteral("% ") + trimmed(typed) + QStringLiteral(" %");
    return QLatin1Char('%') + typed + QLatin1Char('%');
}

std::vector<SearchPage::Hit> SearchPage::hitsOf(const QString &shown, const QString &typed,
                                                bool exact)
{
    std::vector<Hit> hits;
    if (trimmed(typed).isEmpty())
        return hits;
    // The exact search matches the column with a blank at each end, and so is the text here.
    const qsizetype shift = exact ? 1 : 0;
    const QString searched = exact ? QLatin1Char(' ') + shown + QLatin1Char(' ') : shown;
    const auto boundary = [&](qsizetype i) { return TextFolding::isBoundary(shown[i].unicode()); };
    const auto ignored = [&](qsizetype i) {
        return TextFolding::fold(shown[i].unicode()) == TextFolding::Ignored;
    };
    for (const LikeMatcher::Match &match : LikeMatcher(likePattern(typed, exact)).find(searched)) {
        qsizetype from = std::clamp<qsizetype>(match.from - shift, 0, shown.size());
        qsizetype to = std::clamp<qsizetype>(match.to - shift, 0, shown.size());
        if (to <= from)
            continue;
        // The marks on the last letter belong to the hit.
        while (to < shown.size() && ignored(to) && !boundary(to))
            ++to;
        // A hit in a vocalised word colours the whole word, marks included.
        qsizetype wordFrom = from, wordTo = to;
        while (wordFrom > 0 && !boundary(wordFrom - 1))
            --wordFrom;
        while (wordTo < shown.size() && !boundary(wordTo))
            ++wordTo;
        for (qsizetype i = wordFrom; i < wordTo; ++i) {
            if (TextFolding::isMark(shown[i].unicode())) {
                from = wordFrom;
                to = wordTo;
                break;
            }
        }
        if (!hits.empty() && from < hits.back().to) // two hits in one vocalised word
            hits.back().to = std::max(hits.back().to, to);
        else
            hits.push_back({from, to});
    }
    return hits;
}

void SearchPage::Timer2Timer()
{
    const DataSet *set = m_results->dataSet();
    const bool shown = set && set->isActive() && !DBRichEdit1->toPlainText().isEmpty();
    const QString count = shown ? QString::number(set->recordCount()) : QStringLiteral("0");
    if (s51->text() != count)
        s51->setText(count);
}

void SearchPage::N3Click()
{
    // The reader's own selection, else the last coloured hit, else the whole text.
    appendRest();
    const QTextCursor cursor = DBRichEdit1->textCursor();
    const QString shown = DBRichEdit1->toPlainText();
    QString selected;
    if (cursor.hasSelection())
        selected = cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    else if (!m_hits.empty())
        selected = shown.mid(m_hits.back().from, m_hits.back().to - m_hits.back().from);
    else
        selected = shown;
    if (!selected.isEmpty())
        Clipboard::current().setText(selected);
}

void SearchPage::Edit2Enter()
{
    KeyboardLayout::current().activate(KeyboardLayout::Persian);
}

void SearchPage::Edit2Click()
{
    Edit2->selectAll();
}

bool SearchPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit2 && event->type() == QEvent::FocusIn)
        Messages::guard([this] { Edit2Enter(); });
    else if (watched == Edit2 && event->type() == QEvent::MouseButtonRelease)
        Messages::guard([this] { Edit2Click(); });
    return false;
}
