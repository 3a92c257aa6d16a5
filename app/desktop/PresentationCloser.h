#pragma once

#include <QObject>

class Form;

// Double-click on the hint line Label9: closes the presentation the file player opened,
// then the main window returns to its short layout.
class PresentationCloser : public QObject {
    Q_OBJECT
public:
    explicit PresentationCloser(Form& main);
    void closeOpenPresentation();

private:
    Form& m_main;
};
