#pragma once

#include <QImage>

// The picture the main window shows, centred, while no roster is open.
QImage PanelPicture();
