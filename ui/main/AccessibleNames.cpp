#include "ui/main/AccessibleNames.h"

#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

namespace {

// By the controls' object names.
const struct {
    const char *object;
    const char16_t *name;
} kNames[] = {
    // The main window.
    {"PageControl1", u"صفحه هاي برنامه"},
    // The Quran page.
    {"DBMemo1", u"متن عربي آيه"},
    {"DBMemo2", u"ترجمه آيه"},
    {"DbAltGrid3", u"فهرست آيات با متن و ترجمه"},
    {"ListBox5", u"فهرست سوره ها"},
    {"PageControl2", u"فهرست سوره ها و فهرست موضوعي"},
    {"TrackBar3", u"اندازه قلم آيات"},
    {"Edit1", u"کلمه جستجوي سريع"},
    {"chapter", u"شماره سوره"},
    {"verse", u"شماره آيه"},
    {"GotoBox", u"برو به آيه، مانند بقره ۲۵۵"},
    // The Nahj page.
    {"TreeView1", u"فهرست نهج البلاغه"},
    {"DBMemo4", u"متن عربي نهج البلاغه"},
    {"DBMemo3", u"ترجمه فارسي نهج البلاغه"},
    {"TrackBar1", u"اندازه قلم نهج البلاغه"},
    // The search page.
    {"DBRichEdit1", u"متن نتيجه جستجو"},
    {"DbAltGrid4", u"نتايج جستجو"},
    {"Edit2", u"کلمه جستجو"},
    // The question page.
    {"Memo3", u"راهنماي ارسال سؤال"},
    {"StatusMemo", u"گزارش ارسال"},
    {"Body", u"متن عربي آيه"},
    {"DBMemo5", u"ترجمه آيه"},
    {"Memo1", u"متن پيام"},
    {"btnAttachment", u"انتخاب فايل پيوست"},
    // The display settings page.
    {"TranslationBox", u"ترجمه قرآن"},
    // The about page.
    {"Memo2", u"درباره نرم افزار"},
};

void name(QWidget *widget)
{
    if (!widget->accessibleName().isEmpty() || widget->objectName().isEmpty())
        return;
    const QString object = widget->objectName();
    for (const auto &known : kNames) {
        if (object != QLatin1String(known.object))
            continue;
        const QString spoken = QString::fromUtf16(known.name);
        widget->setAccessibleName(spoken);
        // A tab control is reached through its row of tabs.
        if (auto *tabs = qobject_cast<QTabWidget *>(widget)) {
            if (tabs->tabBar()->accessibleName().isEmpty())
                tabs->tabBar()->setAccessibleName(spoken);
        }
        return;
    }
}

} // namespace

void AccessibleNames::apply(QWidget *root)
{
    name(root);
    for (QWidget *widget : root->findChildren<QWidget *>())
        name(widget);
}
