#pragma once

#include <QString>
#include <QVariant>

namespace tabulon {

// The host editor's plug-in core: it collects key-value pairs. A call answers
// with an empty text when it worked, or with the reason it did not.
class HostCore {
public:
    virtual ~HostCore() = default;

    // `value` holds a QString or a qint16.
    virtual QString hkp_DataAdd(const QString& key, const QVariant& value) = 0;
    virtual QString hkp_DataAddInt(const QString& key, qint16 value) = 0;
    virtual QString hkp_DataSetGlobalSuffix(const QString& suffix) = 0;
};

} // namespace tabulon
