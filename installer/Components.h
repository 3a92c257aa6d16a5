#pragma once

#include <QList>
#include <QString>

// A runtime component the main program needs in the system directory.
struct Component {
    QString fileName;
    QString registrationCommand;
};

// The six components in the order they are copied.
const QList<Component>& componentsInCopyOrder();
// The same six in the order they are registered (the runtime itself first).
const QList<Component>& componentsInRegistrationOrder();

// The two executables of the installation marked for the compatibility layer, in order.
const QStringList& compatibilityExecutableNames();

// The command line that marks sourceDirectory + executableName for the compatibility layer
// of the current user.
QString compatibilityCommand(const QString& sourceDirectory, const QString& executableName);
