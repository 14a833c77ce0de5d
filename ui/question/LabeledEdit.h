#pragma once

#include <QLineEdit>

class QLabel;

// A one-line entry box with its caption label above it. The label follows the box: it is
// placed 3 pixels above it, as wide as the box, and shown and hidden with it.
class LabeledEdit : public QLineEdit {
    Q_OBJECT
public:
    static constexpr int LabelSpacing = 3;

    LabeledEdit(const QString &name, const QString &caption, QWidget *parent);

    void setVisible(bool visible) override;

    QLabel *EditLabel;

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeLabel();
};
