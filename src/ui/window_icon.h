// The windows' icon: a white flag with a blue cross whose upright bar stands left of centre, drawn
// pixel by pixel in 16 and 32 pixels (data/icons; the same files are installed for desktops).
#pragma once

#include <QIcon>

namespace tavrel {

QIcon makeWindowIcon();

}  // namespace tavrel
