#pragma once
// The program's pictures, compiled into the executable: the tree image list, the toolbar image
// list and the application icon.
#include <QIcon>
#include <QStringList>

// A picture of the tree image list (imlSmallIcons) by key, such as "closed" or "DietItem"; a null
// icon for an unknown key.
QIcon smallIcon(const QString& key);
// A picture of the toolbar image list (imlToolbarIcons) by key, such as "Person" or "Report", and
// the three edit pictures "Cut", "Copy" and "Paste"; a null icon for an unknown key.
QIcon toolbarIcon(const QString& key);
QIcon applicationIcon();

// The keys of the two image lists, in list order.
QStringList smallIconKeys();
QStringList toolbarIconKeys();
