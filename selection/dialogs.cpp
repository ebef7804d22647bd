#include "selection/dialogs.h"

namespace tabulon {

QStringList SelectFilesFilterLabels() {
    return {QStringLiteral("All files (*.*)"), QStringLiteral("Graphics (*.jpg;*.gif;*.bmp)")};
}

} // namespace tabulon
