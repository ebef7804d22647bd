#pragma once

#include <functional>

#include <QString>
#include <QVariant>

class QObject;

namespace tabulon {

// How a call that was not waited for ended.
struct CallAnswer {
    enum class Kind {
        Done,
        Failed,   // the host refused it or never got it
        NoAnswer, // no answer in time: the host may still have taken it
    };
    Kind kind = Kind::Done;
    QString reason; // for Failed and NoAnswer
};

// The host editor's plug-in core: it collects key-value pairs. A call answers
// with an empty text when it worked, or with the reason it did not.
class HostCore {
public:
    using Answered = std::function<void(const CallAnswer&)>;

    virtual ~HostCore() = default;

    // `value` holds a QString or a qint16.
    virtual QString hkp_DataAdd(const QString& key, const QVariant& value) = 0;
    virtual QString hkp_DataAddInt(const QString& key, qint16 value) = 0;
    virtual QString hkp_DataSetGlobalSuffix(const QString& suffix) = 0;

    // hkp_DataAdd without waiting for the host: `answered` runs later from the
    // event loop, and not at all once `context` is gone.
    virtual void hkp_DataAddLater(const QString& key, const QVariant& value, QObject* context,
                                  Answered answered) = 0;
};

} // namespace tabulon
