#pragma once

#include <QObject>
#include <QString>

namespace tabulon {

class HostCore;

// Hands a result to the host editor: the output mode 2, then the text, each
// call answered before the next is sent. Nothing waits: the outcome comes
// from the event loop, so the window stays responsive while the host is slow.
class ResultHandOver : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        HandedOver,
        NotHandedOver, // with the reason
        Unknown,       // the text went out but its answer did not come back
    };
    Q_ENUM(Outcome)

    ResultHandOver(HostCore& core, QObject* parent);

    // Starts a hand-over; `finished` follows. Ignored while one is pending.
    void start(const QString& text);

signals:
    void finished(tabulon::ResultHandOver::Outcome outcome, const QString& reason);

private:
    void finish(Outcome outcome, const QString& reason);

    HostCore& core_;
    bool pending_ = false;
};

} // namespace tabulon
