#pragma once

#include "mail/AddressList.h"
#include "mail/HeaderList.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>

// One attached file: its path and its name without the folder.
struct MessagePart {
    QString path;
    QString fileName;
};

// A mail message as the question page composes it; MessageWriter turns it into lines. The
// fields are plain members, set directly.
class MailMessage : public QObject {
    Q_OBJECT
public:
    enum MessagePriority { mpHighest, mpHigh, mpNormal, mpLow, mpLowest };
    Q_ENUM(MessagePriority)

    explicit MailMessage(QObject *parent = nullptr);

    // Empties every field, back to the state of a new message.
    void clear();
    // Adds a file, named by its path, as an attachment.
    void addAttachment(const QString &path);

    MailAddress From;
    AddressList Recipients;
    AddressList CCList;
    AddressList BccList;
    QString Subject;
    // The body's lines; a line break inside an entry starts a new line.
    QStringList Body;
    QList<MessagePart> MessageParts;
    MessagePriority Priority = mpNormal;
    // The date; an invalid one stands for the moment the header is written.
    QDateTime Date;
    // Fields added after the generated ones, as given.
    HeaderList ExtraHeaders;
};
