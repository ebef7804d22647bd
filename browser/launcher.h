#pragma once

#include <functional>

#include <QString>

namespace tabulon {

// Opens an address with the desktop's handler, without waiting for it. The
// result code comes later: 0 when it opened, otherwise a failure code.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual void open(const QString& address, std::function<void(int code)> done) = 0;
};

// The failure code that the messages name apart from the others.
inline constexpr int kNoAssociation = 31;

} // namespace tabulon
