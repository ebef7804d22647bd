#pragma once

#include <functional>
#include <utility>

#include <QString>
#include <QVariant>

class QObject;

namespace tabulon {

// How a call on the host's core ended: ok(), or the reason it did not work.
class [[nodiscard]] HostAnswer {
public:
    enum class Kind {
        Done,
        Failed,   // the host refused it or never got it
        NoAnswer, // no answer in time: the host may still have taken it
    };

    HostAnswer() = default;
    static HostAnswer failed(QString reason) { return {Kind::Failed, std::move(reason)}; }
    static HostAnswer noAnswer(QString reason) { return {Kind::NoAnswer, std::move(reason)}; }

    bool ok() const { return kind_ == Kind::Done; }
    Kind kind() const { return kind_; }
    // Empty when ok().
    const QString& reason() const { return reason_; }

private:
    HostAnswer(Kind kind, QString reason) : kind_(kind), reason_(std::move(reason)) {}

    Kind kind_ = Kind::Done;
    QString reason_;
};

// The host editor's plug-in core: it collects key-value pairs.
class HostCore {
public:
    using Answered = std::function<void(const HostAnswer&)>;

    virtual ~HostCore() = default;

    // `value` holds a QString or a qint16.
    virtual HostAnswer hkp_DataAdd(const QString& key, const QVariant& value) = 0;
    virtual HostAnswer hkp_DataAddInt(const QString& key, qint16 value) = 0;
    virtual HostAnswer hkp_DataSetGlobalSuffix(const QString& suffix) = 0;

    // hkp_DataAdd without waiting for the host: `answered` runs later from the
    // event loop, and not at all once `context` is gone.
    virtual void hkp_DataAddLater(const QString& key, const QVariant& value, QObject* context,
                                  Answered answered) = 0;
};

} // namespace tabulon
