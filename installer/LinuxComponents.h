#pragma once

#include "ComponentProbe.h"

#include <QString>

struct LinuxSettings {
    QString officeProgramDir; // where the main program starts its offices from
    QString dataFolder;       // the user's data folder, the only place the checks may write
};

// The runtime components the main program calls on Linux, each checked by what the program
// does with it: the office answering over its pipe, the Calc and Impress modules it loads
// workbooks and slide shows into, the help viewer it starts, the sound output its wave
// player opens, a font for its Chinese texts, and the X11 display its windows live on.
ComponentProbes linuxComponentProbes(const LinuxSettings& settings);

// ${XDG_DATA_HOME:-$HOME/.local/share}/vexlo, the same folder the launcher lays out.
QString userDataFolder();

// Whether an architecture name as QSysInfo::currentCpuArchitecture() gives it is 64-bit.
bool isSixtyFourBitArchitecture(const QString& architecture);
