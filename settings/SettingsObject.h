#pragma once

#include "settings/StreamObject.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// A settings object that lives in a settings stream file: a name, the properties both kinds
// share (Tag, Ctl3D, HelpContext and the placement Left, Top) and those of its kind.
//
// Writing produces one line per property that differs from its default; reading applies the
// properties a stream names, in file order, and leaves all others as they are.
class SettingsObject {
public:
    virtual ~SettingsObject();

    virtual QString kindName() const = 0;

    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    bool ctl3D() const { return m_ctl3D; }
    void setCtl3D(bool ctl3D) { m_ctl3D = ctl3D; }
    int helpContext() const { return m_helpContext; }
    void setHelpContext(int helpContext) { m_helpContext = helpContext; }
    int left() const { return m_left; }
    void setLeft(int left) { m_left = left; }
    int top() const { return m_top; }
    void setTop(int top) { m_top = top; }

    // The object as written: header and the properties that differ from their defaults.
    StreamObject toStream() const;
    // The stream's text, as stored in the file.
    QByteArray toBytes() const;
    // Applies a stream's text to this object. The object takes the name in the header; then
    // each property is applied in file order. Raises Error at the first fault (syntax:
    // "<reason> on line <n>"; property: "Error reading <name>.<path>: <reason>"); whatever
    // was applied before it stays. Objects nested in the stream are not applied.
    void read(const QByteArray &bytes);

    // Writes the object to the file; raises "Cannot create file ..." on failure.
    void save(const QString &path) const;
    // Reads the file into the object; raises "Cannot open file ..." or an error of read().
    void load(const QString &path);

protected:
    SettingsObject(const QString &name, int left, int top);

    // A property reachable by a path; one with nested properties is a nested object.
    struct PropertyNode {
        QString name;
        int id;
        std::vector<PropertyNode> nested;
    };

    enum CommonProperty {
        TagProperty = 1,
        Ctl3DProperty,
        HelpContextProperty,
        LeftProperty,
        TopProperty,
        FirstOwnProperty
    };

    // The kind's property tree, common properties included (see commonProperties()).
    virtual const std::vector<PropertyNode> &properties() const = 0;
    // Sets the property with this id from the value; raises Error("Invalid property value")
    // when the value does not fit. Kinds handle their own ids and pass the rest on.
    virtual void setProperty(int id, const StreamValue &value);
    // Appends the kind's own properties, which stand between HelpContext and Left.
    virtual void writeOwnProperties(StreamObject &object) const = 0;
    // Runs when a stream's header has been read, before any of its properties is applied.
    virtual void beforeApply() {}

    static std::vector<PropertyNode> commonProperties();

    // Conversions of stream values to property types; each raises "Invalid property value".
    static qint32 toInteger(const StreamValue &value);
    static qint32 toColor(const StreamValue &value);
    static int toCharset(const StreamValue &value);
    static bool toBoolean(const StreamValue &value);
    static int toEnumeration(const StreamValue &value, const QStringList &names);
    static quint32 toSet(const StreamValue &value, const QStringList &names);
    static QString toText(const StreamValue &value);
    static QStringList toTextList(const StreamValue &value);

    // Values as written.
    static StreamValue colorValue(qint32 color);
    static StreamValue charsetValue(int charset);
    static StreamValue setValue(quint32 members, const QStringList &names);

private:
    void apply(const StreamObject::Property &property);

    QString m_name;
    int m_tag = 0;
    bool m_ctl3D = true;
    int m_helpContext = 0;
    int m_left;
    int m_top;
};
