#pragma once

#include <QHash>
#include <QString>

class QWidget;
class FormTimer;

// Builds a window's controls from its layout file (assets/forms/*.json, compiled in as
// resources): names, captions, tool tips, colours, fonts and twips positions as designed.
struct FormLayout {
    QString caption;
    int width = 0;
    int height = 0;
    QHash<QString, QWidget*> controls;
    QHash<QString, FormTimer*> timers;

    static FormLayout build(QWidget* form, const QString& resource);
};

// Sets a control's position and size in twips, relative to its container.
void setControlGeometry(QWidget* control, int left, int top, int width, int height);
void setControlLeftTop(QWidget* control, int left, int top);
void setControlTop(QWidget* control, int top);
// Colour of a control's text.
void setTextColor(QWidget* control, int r, int g, int b);
