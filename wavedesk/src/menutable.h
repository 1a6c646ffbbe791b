// menutable.h - the menus of the forms as tables, and the builder that turns a table into
// QMenus and QActions. Every menu and item is a QAction whose objectName is its idm_ name, so
// hidden items exist (setVisible(false)) and can still be found and triggered by name.
#pragma once

#include <QString>
#include <span>

class QMenuBar;
class QMenu;
class QAction;
class QObject;

namespace wavedesk {

struct MenuEntry {
    const char *name;     // idm_ name: objectName of the QAction (and of the QMenu of a top menu)
    const char *caption;  // text shown, UTF-8
    bool top;             // a top menu of the menu bar; the items that follow belong to it
    bool visible;
    bool checkable;  // a check mark that the item toggles itself when chosen
    bool checked;    // initial check mark
};

// The menu bar of Form1 in menu order.
std::span<const MenuEntry> form1MenuTable();

// Adds the menus of `table` to `bar`, in table order. Items before the first top menu are
// ignored. Returns the number of actions created (top menus included).
int buildMenuBar(QMenuBar *bar, std::span<const MenuEntry> table);

}  // namespace wavedesk
