#pragma once

class QPlainTextEdit;
class QTextEdit;

// Makes a text view read right to left with its lines aligned to the right, as every text
// view of the program's right-to-left windows does.
class RightToLeftText {
public:
    static void apply(QPlainTextEdit *edit);
    static void apply(QTextEdit *edit);
};
