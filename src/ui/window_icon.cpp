#include "window_icon.h"

namespace tavrel {

QIcon makeWindowIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/16.png"));
    icon.addFile(QStringLiteral(":/icons/32.png"));
    return icon;
}

}  // namespace tavrel
