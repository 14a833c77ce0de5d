#include "mail/MailMessage.h"

#include <QFileInfo>

MailMessage::MailMessage(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("MailMessage"));
}

void MailMessage::clear()
{
    From = MailAddress();
    Recipients.clear();
    CCList.clear();
    BccList.clear();
    Subject.clear();
    Body.clear();
    MessageParts.clear();
    Priority = mpNormal;
    Date = QDateTime();
    ExtraHeaders.clear();
}

void MailMessage::addAttachment(const QString &path)
{
    MessageParts.append({path, QFileInfo(path).fileName()});
}
