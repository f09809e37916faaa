#pragma once

class QWidget;

// Room for a window's title. The title bar shows the title with the
// application's name after it ("Delete Title — Pramel") between the window
// manager's buttons, and elides what does not fit ("Titel l…Pramel"); a
// small dialog is made at least as wide as its title needs.
namespace TitleRoom {

// The width the title bar needs for the window's title as it stands: the
// title and the application's name in a bold font, and the buttons on both
// sides of a centred title; no wider than four fifths of the screen.
int widthFor(const QWidget* window);

// Keeps the window at least that wide (and as wide as its own minimum), now
// and whenever its title or font changes. For a window whose layout sets its
// size, such as a fixed-size one, the layout has to make the room itself.
void keep(QWidget* window);

} // namespace TitleRoom
