// The program's own pictures, drawn in code: the window icon (a loudspeaker
// sending sound into a room corner) and the start-up picture.
#pragma once

#include <QIcon>
#include <QImage>

namespace tav {

QImage iconImage(int size);
QIcon applicationIcon();
QImage startupPicture();

}  // namespace tav
