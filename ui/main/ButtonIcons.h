#pragma once

#include <QIcon>

// The pictures of the page buttons, drawn rather than shipped.
class ButtonIcons {
public:
    static QIcon greenArrowLeft();
    static QIcon greenArrowRight();
    static QIcon magnifier();
};
