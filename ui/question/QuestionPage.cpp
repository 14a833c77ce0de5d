#include "ui/question/QuestionPage.h"

#include "data/FieldBinding.h"
#include "ui/main/RightToLeftText.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

const QString QuestionPage::QuestionPrompt = QStringLiteral("سؤال خود را در اينجا بنويسيد");
const QString QuestionPage::MessagePrompt = QStringLiteral("پيام خود را در اينجا بنويسيد");

QuestionPage::QuestionPage(DataSource *verses, QWidget *parent)
    : QWidget(parent)
    , Body(new QPlainTextEdit(this))
    , DBMemo5(new QPlainTextEdit(this))
    , Memo1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TabSheet4"));
    Body->setObjectName(QStringLiteral("Body"));
    DBMemo5->setObjectName(QStringLiteral("DBMemo5"));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    for (QPlainTextEdit *edit : {Body, DBMemo5, Memo1})
        RightToLeftText::apply(edit);
    Body->setReadOnly(true);
    DBMemo5->setReadOnly(true);
    Body->setFixedHeight(163);
    DBMemo5->setFixedHeight(128);
    FieldBinding::bind(Body, verses, QStringLiteral("Arabic"));
    FieldBinding::bind(DBMemo5, verses, QStringLiteral("English"));
    Memo1->setPlainText(QuestionPrompt);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(Body);
    layout->addWidget(DBMemo5);
    layout->addWidget(Memo1, 1);
}

void QuestionPage::prepareForMessage()
{
    Body->hide();
    DBMemo5->hide();
    Memo1->setPlainText(MessagePrompt);
}

void QuestionPage::LoadSenderSettings()
{
}

void QuestionPage::SaveSenderSettings()
{
}
