#pragma once

#include <QString>

class Connection;

// The notices of the sources of the texts, kept verbatim in the text database.
class Notices {
public:
    // The notice of the source file `source`; empty when the database holds none.
    static QString text(Connection *connection, const QString &source);
};
