#pragma once

#include <QObject>

class MainWindow;

namespace draws {

// The main window's "抽签" (Command5): while the user's presentation program is open
// (and no instruction presentation of ours is showing) the user is asked to close it
// first; then the draw launcher takes the main window's place.
class DrawButton : public QObject {
    Q_OBJECT
public:
    static void attach(MainWindow& window);

    void clicked();

private:
    explicit DrawButton(MainWindow& window);
    MainWindow& m_window;
};

} // namespace draws
