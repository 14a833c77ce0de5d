#pragma once

#include <QWidget>

class DataSource;
class QPlainTextEdit;

// The question page: the current verse and the reader's question to the makers.
class QuestionPage : public QWidget {
    Q_OBJECT
public:
    static const QString QuestionPrompt;
    static const QString MessagePrompt;

    QuestionPage(DataSource *verses, QWidget *parent = nullptr);

    // Prepares the page for a message that is not about a verse.
    void prepareForMessage();

    // The reader's name and e-mail address, kept between runs.
    void LoadSenderSettings();
    void SaveSenderSettings();

    QPlainTextEdit *Body;    // the verse's Arabic text
    QPlainTextEdit *DBMemo5; // the verse's translation
    QPlainTextEdit *Memo1;   // the question memo
};
