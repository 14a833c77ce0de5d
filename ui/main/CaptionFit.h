#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps the captions of controls placed at fixed positions readable in any window font. At
// the font they were designed for the controls keep their places; where a caption needs more
// room its control widens to the right and the controls to its right on the same line move
// along, a taller caption makes its control taller, and group boxes grow with what they hold.
// When the font shrinks again they go back.
class CaptionFit : public QObject {
    Q_OBJECT
public:
    // Fits the children of a container now and whenever its font changes. Labels that show
    // data rather than a caption keep their width.
    static void install(QWidget *container, const QList<QWidget *> &dataLabels = {});

    // Keeps the controls of a container fitted with install() at their distance from its right
    // edge, as a right-to-left page reads, when it is wider than designWidth; the container is
    // never narrower than that width (or than its grown captions need).
    static void anchorRight(QWidget *container, int designWidth);

    // Keeps a widget at a fixed height, or at the height its caption or its layout's content
    // needs in its font where that is more.
    static void keepHeight(QWidget *widget, int height);

    // Fits the children of a container as placed at their design geometry; answers the size
    // the container needs.
    QSize fit(QWidget *container);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CaptionFit(QWidget *container);
    QRect design(QWidget *widget);
    void fitHeight(QWidget *widget);

    QHash<QWidget *, QRect> m_design;
    QList<QWidget *> m_dataLabels;
    bool m_fitting = false;
    int m_height = 0;      // the height kept, 0 when fitting a container's children
    int m_anchorWidth = 0; // the design width a container's controls keep their right margin in
};
