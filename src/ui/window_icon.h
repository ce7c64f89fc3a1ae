// frmFlag's icon: a white flag with a blue cross whose upright bar stands left of centre,
// painted at start in 32 and 16 pixels from the few colours of a 16-colour palette.
#pragma once

#include <QIcon>
#include <QImage>

namespace tavrel {

QImage windowIconImage(int size);  // size 32 or 16
QIcon makeWindowIcon();

}  // namespace tavrel
