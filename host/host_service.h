#pragma once

#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

class QDBusVariant;

namespace tabulon::host {

// One call as it arrived.
struct Call {
    QString method;
    QString key;  // with the global suffix; empty for the suffix call
    QString type; // "string" or "int16"
    QVariant value;
};

// One line for a call: method, key, type and value separated by tabs, with
// backslashes, tabs and line breaks escaped so that one call is one line.
QString formatCall(const Call& call);
QString escape(const QString& text);

// The plug-in core object a host editor offers its plug-ins: it keeps the
// key-value pairs it is given, each key with the global suffix while one is set.
// A value of hkp_DataAdd that is neither a string nor a 16-bit integer is
// refused with InvalidArgs and kept nowhere.
class HostService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "htmlkit.HTMLKitPluginsCore")
public:
    using QObject::QObject;

    const QList<Call>& data() const { return data_; }

public slots:
    void hkp_DataAdd(const QString& key, const QDBusVariant& value);
    void hkp_DataAddInt(const QString& key, qint16 value);
    void hkp_DataSetGlobalSuffix(const QString& suffix);

signals:
    void called(const tabulon::host::Call& call);

private:
    void record(const QString& method, const QString& key, const QVariant& value);

    QString suffix_;
    QList<Call> data_;
};

} // namespace tabulon::host
