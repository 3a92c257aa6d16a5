#pragma once

#include <QObject>

class Form;
class TitleWatch;

// The Shrink button (Command4): the floating toolbar takes the main window's place.
class Shrink : public QObject {
    Q_OBJECT
public:
    Shrink(Form& main, TitleWatch& watch);
    void click();

private:
    Form& m_main;
    TitleWatch& m_watch;
};
