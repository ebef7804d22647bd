#include "hostlink/result_hand_over.h"

#include "hostlink/host_core.h"

namespace tabulon {

ResultHandOver::ResultHandOver(HostCore& core, QObject* parent) : QObject(parent), core_(core) {}

void ResultHandOver::start(const QString& text) {
    if (pending_)
        return;
    pending_ = true;
    core_.hkp_DataAddLater(QStringLiteral("MODE_OUTPUT"), QVariant::fromValue<qint16>(2), this,
                           [this, text](const HostAnswer& mode) {
                               // Without an answer here the text was never sent: not handed over.
                               if (!mode.ok())
                                   return finish(Outcome::NotHandedOver, mode.reason());
                               core_.hkp_DataAddLater(
                                   QStringLiteral("OUTPUT"), text, this, [this](const HostAnswer& output) {
                                       switch (output.kind()) {
                                       case HostAnswer::Kind::Done:
                                           return finish(Outcome::HandedOver, {});
                                       case HostAnswer::Kind::Failed:
                                           return finish(Outcome::NotHandedOver, output.reason());
                                       case HostAnswer::Kind::NoAnswer:
                                           return finish(Outcome::Unknown, output.reason());
                                       }
                                   });
                           });
}

void ResultHandOver::finish(Outcome outcome, const QString& reason) {
    pending_ = false;
    emit finished(outcome, reason);
}

} // namespace tabulon
